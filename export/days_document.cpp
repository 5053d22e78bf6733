#include "export/days_document.h"

#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace sorvane::exports {

namespace {

std::string hourMinute(int hour, int minute) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%02d:%02d", hour, minute);
    return buf;
}

std::string jstTime(const CivilDate& date, int hour, int minute) {
    return isoDateText(date) + "T" + hourMinute(hour, minute) + "+09:00";
}

const char* phaseKey(lunisolar::Phase phase) {
    switch (phase) {
    case lunisolar::Phase::New:
        return "new";
    case lunisolar::Phase::FirstQuarter:
        return "firstQuarter";
    case lunisolar::Phase::Full:
        return "full";
    case lunisolar::Phase::LastQuarter:
        return "lastQuarter";
    }
    throw std::logic_error("days document: a phase of no known kind");
}

} // namespace

std::string daysReport(const std::vector<almanac::DayEntry>& days) {
    std::string out;
    for (const almanac::DayEntry& d : days) {
        std::string items;
        for (const almanac::DayItem& item : d.items) {
            items += (items.empty() ? "" : "、") + item.name +
                     (item.timed ? " " + hourMinute(item.hour, item.minute) : "");
        }
        out += isoDateText(d.date) + "\t" + d.weekday + "\t" + d.sexagenary + "\t" +
               (d.lunar ? lunisolar::lunarDateText(*d.lunar) : "-") + "\t" +
               (d.lunar ? lunisolar::rokuyoName(d.lunar->rokuyo) : "-") + "\t" +
               d.holiday.value_or("-") + "\t" + (items.empty() ? "-" : items) + "\t" +
               (d.lunar ? notes::shioName(notes::shio(d.lunar->day)) : "-") + "\n";
    }
    return out;
}

std::string phasesReport(const almanac::YearAlmanac& almanac) {
    std::string out;
    for (const lunisolar::PhaseMoment& p : almanac.phases()) {
        const int minute = p.minuteOfDay();
        out += monthDayText(civilDate(p.day())) + " " + hourMinute(minute / 60, minute % 60) +
               "  " + lunisolar::phaseName(p.phase) + "\n";
    }
    return out;
}

std::string daysJson(const almanac::YearAlmanac& almanac,
                     const std::vector<almanac::DayEntry>* days, bool withPhases) {
    using nlohmann::ordered_json;
    ordered_json doc;
    doc["year"] = almanac.year;
    doc["mode"] = almanac.precise ? "precise" : "default";
    doc["lunisolar"] = almanac.lunisolar.has_value();
    if (const std::string note = almanac::uncertaintyNote(almanac); !note.empty()) {
        doc["note"] = "注：" + note;
    }
    if (days != nullptr) {
        // Before 1873 the lunisolar dates are the historical calendar's (a table), not computed.
        doc["historicalLunisolar"] =
            std::any_of(days->begin(), days->end(),
                        [](const almanac::DayEntry& d) { return d.historicalLunar; });
        ordered_json list = ordered_json::array();
        for (const almanac::DayEntry& d : *days) {
            ordered_json day;
            day["date"] = isoDateText(d.date);
            day["weekday"] = d.weekday;
            day["sexagenary"] = d.sexagenary;
            day["kanshi"] = d.sexagenary; // the former key, kept for one release
            day["lunar"] = nullptr;
            day["rokuyo"] = nullptr;
            if (d.lunar) {
                day["lunar"] = {{"month", d.lunar->month},
                                {"day", d.lunar->day},
                                {"leap", d.lunar->leap},
                                {"monthLength", d.lunar->monthLength},
                                {"historical", d.historicalLunar}};
                day["rokuyo"] = lunisolar::rokuyoName(d.lunar->rokuyo);
            }
            day["holiday"] = d.holiday ? ordered_json(*d.holiday) : ordered_json(nullptr);
            ordered_json events = ordered_json::array();
            for (const almanac::DayItem& item : d.items) {
                events.push_back(
                    {{"name", item.name},
                     {"kind", almanac::dayItemKindKey(item.kind)},
                     {"jst", item.timed ? ordered_json(jstTime(d.date, item.hour, item.minute))
                                        : ordered_json(nullptr)}});
            }
            day["events"] = events;
            day["shio"] = d.lunar ? ordered_json(notes::shioName(notes::shio(d.lunar->day)))
                                  : ordered_json(nullptr);
            list.push_back(day);
        }
        doc["days"] = list;
    }
    if (withPhases) {
        ordered_json list = ordered_json::array();
        for (const lunisolar::PhaseMoment& p : almanac.phases()) {
            const int minute = p.minuteOfDay();
            list.push_back({{"name", lunisolar::phaseName(p.phase)},
                            {"phase", phaseKey(p.phase)},
                            {"jst", jstTime(civilDate(p.day()), minute / 60, minute % 60)}});
        }
        doc["phases"] = list;
    }
    return doc.dump(2) + "\n";
}

} // namespace sorvane::exports
