// The iCalendar export, read back with libical.
#include "almanac/year_almanac.h"
#include "export/icalendar.h"
#include "finder/finder.h"
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <ctime>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <map>
#include <memory>
#include <set>
#include <sstream>
#include <unistd.h>

namespace sorvane::exports {
namespace {

using testing::Component;
using testing::eventsByUid;
using testing::jstToUnix;
using testing::parse;
using testing::ParsedEvent;
using testing::withoutStamps;

using almanac::YearAlmanac;

YearAlmanac defaultAlmanac(int year) {
    return almanac::yearAlmanac(testing::shippedTables(), static_cast<std::int16_t>(year),
                                {.precise = false, .zassetsu = true});
}

YearAlmanac preciseAlmanac(int year) {
    return almanac::yearAlmanac(testing::shippedTables(), static_cast<std::int16_t>(year),
                                {.precise = true, .zassetsu = true});
}

void checkCalendar(const YearAlmanac& almanac) {
    const std::string text = icsCalendar(almanac, 1700000000);
    Component calendar = parse(text);
    ASSERT_NE(calendar.get(), nullptr);
    ASSERT_EQ(icalcomponent_isa(calendar.get()), ICAL_VCALENDAR_COMPONENT);
    EXPECT_EQ(icalcomponent_count_errors(calendar.get()), 0);
    icalproperty* version = icalcomponent_get_first_property(calendar.get(), ICAL_VERSION_PROPERTY);
    ASSERT_NE(version, nullptr);
    EXPECT_STREQ(icalproperty_get_version(version), "2.0");
    EXPECT_NE(icalcomponent_get_first_property(calendar.get(), ICAL_PRODID_PROPERTY), nullptr);

    const auto events = eventsByUid(calendar.get());
    EXPECT_EQ(events.size(), 28 + almanac.zassetsu.size());

    for (const almanac::Event& e : almanac.solarTerms) {
        char uid[64];
        std::snprintf(uid, sizeof uid, "%s-%03.0f-%s@sorvane",
                      e.kind == EventKind::Doyo ? "doyo" : "sekki", e.longitude,
                      isoDateText(e.date).c_str());
        ASSERT_EQ(events.count(uid), 1u) << uid;
        const ParsedEvent& p = events.at(uid);
        EXPECT_EQ(p.summary, almanac::eventTitle(e));
        EXPECT_FALSE(p.start.is_date) << uid;
        EXPECT_TRUE(icaltime_is_utc(p.start)) << uid;
        EXPECT_EQ(icaltime_as_timet(p.start), jstToUnix(e.date, e.hour, e.minute)) << uid;
        char jst[32];
        std::snprintf(jst, sizeof jst, " %d時%02d分", e.hour, e.minute);
        EXPECT_NE(p.description.find(jst), std::string::npos) << p.description;
        char lon[16];
        std::snprintf(lon, sizeof lon, " %.0f°", e.longitude);
        EXPECT_NE(p.description.find(lon), std::string::npos) << p.description;
        EXPECT_EQ(p.stampCount, 1);
    }

    for (const zassetsu::Item& z : almanac.zassetsu) {
        const std::string uid = "zassetsu-" + z.id + "-" + isoDateText(z.date) + "@sorvane";
        ASSERT_EQ(events.count(uid), 1u) << uid;
        const ParsedEvent& p = events.at(uid);
        EXPECT_EQ(p.summary, z.name);
        if (z.kind == zassetsu::Kind::Moment) {
            EXPECT_TRUE(icaltime_is_utc(p.start)) << uid;
            EXPECT_EQ(icaltime_as_timet(p.start), jstToUnix(z.date, z.hour, z.minute)) << uid;
            EXPECT_FALSE(p.hasEnd);
        } else {
            EXPECT_TRUE(p.start.is_date) << uid;
            EXPECT_EQ((CivilDate{p.start.year, p.start.month, p.start.day}), z.date) << uid;
            ASSERT_TRUE(p.hasEnd) << uid;
            const CivilDate last = z.kind == zassetsu::Kind::Period ? z.lastDate : z.date;
            EXPECT_EQ((CivilDate{p.end.year, p.end.month, p.end.day}), addDays(last, 1)) << uid;
        }
    }
}

TEST(Ics, EveryEventReadsBackInBothModes) {
    checkCalendar(defaultAlmanac(2025));
    checkCalendar(preciseAlmanac(2025));
    // 立春 2025 at 23:10 JST is 14:10 UTC.
    const auto events = eventsByUid(parse(icsCalendar(preciseAlmanac(2025), 0)).get());
    const ParsedEvent& risshun = events.at("sekki-315-2025-02-03@sorvane");
    EXPECT_EQ(risshun.summary, "立春");
    EXPECT_EQ(risshun.start.day, 3);
    EXPECT_EQ(risshun.start.hour, 14);
    EXPECT_EQ(risshun.start.minute, 10);
    EXPECT_EQ(events.at("zassetsu-setsubun-2025-02-02@sorvane").start.day, 2);
}

// An event whose JST minute lies before 09:00 falls on the previous UTC day, here across
// the end of the year.
TEST(Ics, UtcStartsCrossDayBoundaries) {
    YearAlmanac almanac = preciseAlmanac(2025);
    almanac::Event& first = almanac.solarTerms[0];
    first.date = CivilDate{2025, 1, 1};
    first.hour = 3;
    first.minute = 7;
    const auto events = eventsByUid(parse(icsCalendar(almanac, 0)).get());
    const ParsedEvent& p = events.at("sekki-285-2025-01-01@sorvane");
    EXPECT_EQ(p.start.year, 2024);
    EXPECT_EQ(p.start.month, 12);
    EXPECT_EQ(p.start.day, 31);
    EXPECT_EQ(p.start.hour, 18);
    EXPECT_EQ(p.start.minute, 7);
}

TEST(Ics, DtstampIsTheClockInUtcWithinTheYearsTheFormatHolds) {
    const YearAlmanac almanac = defaultAlmanac(2025);
    const std::pair<long long, const char*> cases[] = {
        {1700000000, "DTSTAMP:20231114T221320Z"},
        {32535216000, "DTSTAMP:30010101T000000Z"},  // after libical's own year 3000
        {253402300799, "DTSTAMP:99991231T235959Z"}, // the last second of year 9999
        {253402300800 * 3, "DTSTAMP:99991231T235959Z"},
    };
    for (const auto& [clock, stamp] : cases) {
        if (static_cast<long long>(static_cast<std::time_t>(clock)) != clock) {
            continue; // a 32-bit time_t (WebAssembly's) holds no clock after 2038-01-19
        }
        const std::string text = icsCalendar(almanac, static_cast<std::time_t>(clock));
        EXPECT_NE(text.find(std::string(stamp) + "\r\n"), std::string::npos) << clock;
        EXPECT_EQ(text.find("00000000T"), std::string::npos) << clock;
    }
}

TEST(Ics, SameYearTwiceDiffersOnlyInDtstamp) {
    const YearAlmanac almanac = defaultAlmanac(2025);
    const std::string a = icsCalendar(almanac, 1700000000);
    const std::string b = icsCalendar(almanac, 1800000000);
    EXPECT_NE(a, b);
    EXPECT_EQ(withoutStamps(a), withoutStamps(b));

    // UIDs do not depend on the mode, so a precise file replaces a default one on import.
    std::set<std::string> defaultUids;
    std::set<std::string> preciseUids;
    for (const auto& [uid, e] : eventsByUid(parse(a).get())) {
        defaultUids.insert(uid);
    }
    for (const auto& [uid, e] : eventsByUid(parse(icsCalendar(preciseAlmanac(2025), 0)).get())) {
        preciseUids.insert(uid);
    }
    EXPECT_EQ(defaultUids, preciseUids);
}

} // namespace
} // namespace sorvane::exports
