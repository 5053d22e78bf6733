// Reading an iCalendar text back with libical, for the tests of the writer and of the
// terminal program's --ics.
#pragma once

#include "calendar/civil_date.h"

#include <ctime>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <memory>
#include <sstream>
#include <string>

namespace sorvane::testing {

using Component = std::unique_ptr<icalcomponent, void (*)(icalcomponent*)>;

inline Component parse(const std::string& text) {
    return Component(icalparser_parse_string(text.c_str()), icalcomponent_free);
}

struct ParsedEvent {
    std::string summary;
    std::string description;
    icaltimetype start{};
    icaltimetype end{};
    bool hasEnd = false;
    int stampCount = 0;
};

inline std::map<std::string, ParsedEvent> eventsByUid(icalcomponent* calendar) {
    std::map<std::string, ParsedEvent> events;
    for (icalcomponent* ev = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
         ev != nullptr; ev = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        const std::string uid = icalcomponent_get_uid(ev);
        EXPECT_EQ(events.count(uid), 0u) << "duplicate UID " << uid;
        ParsedEvent& e = events[uid];
        e.summary = icalcomponent_get_summary(ev);
        const char* description = icalcomponent_get_description(ev);
        e.description = description != nullptr ? description : "";
        e.start = icalcomponent_get_dtstart(ev);
        icalproperty* end = icalcomponent_get_first_property(ev, ICAL_DTEND_PROPERTY);
        e.hasEnd = end != nullptr;
        if (end != nullptr) {
            e.end = icalproperty_get_dtend(end);
        }
        e.stampCount = icalcomponent_count_properties(ev, ICAL_DTSTAMP_PROPERTY);
    }
    return events;
}

// Seconds since 1970 of a JST minute, computed apart from the writer.
inline std::time_t jstToUnix(const CivilDate& d, int hour, int minute) {
    std::tm tm{};
    tm.tm_year = d.year - 1900;
    tm.tm_mon = d.month - 1;
    tm.tm_mday = d.day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
#ifdef _WIN32
    return ::_mkgmtime(&tm) - 9 * 3600; // Windows' name of timegm
#else
    return ::timegm(&tm) - 9 * 3600;
#endif
}

// The text without its DTSTAMP lines.
inline std::string withoutStamps(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    std::string out;
    while (std::getline(in, line)) {
        if (line.rfind("DTSTAMP:", 0) != 0) {
            out += line + "\n";
        }
    }
    return out;
}

} // namespace sorvane::testing
