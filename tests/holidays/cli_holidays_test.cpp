// The holidays in the terminal program: the listing, its year range, the JSON array and the
// iCalendar events.
#include "almanac/year_almanac.h"
#include "export/icalendar.h"
#include "holidays/holidays.h"
#include "sky/precise_year.h"
#include "support/test_support.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <memory>
#include <nlohmann/json.hpp>

namespace sorvane::holidays {
namespace {

// The holiday law's equinoxes: the observatory's definition, the precise mode.
const sorvane::sky::PreciseMoments kObservatory;

struct ListingRun {
    const char* args;
    int status;
    const char* someLine;        // a line the listing holds
    const char* firstSubstitute; // its first 振替休日 line
    const char* errorText;       // what stderr must name ("" for nothing)
};

const ListingRun kListingRuns[] = {
    {"2026 --holidays", 0, "09-22  国民の休日", "05-06  振替休日", ""},
    // 1973: 02-11 was a Sunday before the rule took effect on 04-12.
    {"1973 --holidays", 0, "04-29  天皇誕生日", "04-30  振替休日", ""},
    {"1947 --holidays", 0, "", "", "1948-07-20"},
    {"2101 --holidays", 2, "", "", "2100"},
    {"2026 --holidays --month 5", 2, "", "", "--month"},
};

TEST(HolidayCli, ListingRangeAndRefusals) {
    for (const ListingRun& r : kListingRuns) {
        const testing::CliRun run = testing::runCli(r.args);
        EXPECT_EQ(run.status, r.status) << r.args << ": " << run.err;
        EXPECT_EQ(testing::lines(run.err).size(), *r.errorText ? 1u : 0u) << r.args << run.err;
        EXPECT_NE(run.err.find(r.errorText), std::string::npos) << r.args << ": " << run.err;
        if (r.status != 0) {
            continue;
        }
        // Every line is one holiday of the library's list, in its order.
        std::vector<std::string> expected;
        for (const Holiday& h : yearHolidays(std::atoi(r.args), kObservatory)) {
            expected.push_back(monthDayText(h.date) + "  " + h.name);
        }
        const std::vector<std::string> got = testing::lines(run.out);
        EXPECT_EQ(got, expected) << r.args;
        if (*r.someLine) {
            EXPECT_NE(std::find(got.begin(), got.end(), r.someLine), got.end()) << r.args;
            const auto sub = std::find_if(got.begin(), got.end(), [](const std::string& l) {
                return l.ends_with("振替休日");
            });
            EXPECT_EQ(sub == got.end() ? std::string() : *sub, r.firstSubstitute) << r.args;
        }
    }
}

TEST(HolidayCli, JsonArrayMarksTheProvisionalEquinoxDays) {
    for (int year : {1900, 2027, 2028}) {
        const auto run = testing::runCli(std::to_string(year) + " --json --holidays");
        ASSERT_EQ(run.status, 0) << run.err;
        const auto days = nlohmann::json::parse(run.out).at("holidays");
        const std::vector<Holiday> expected = yearHolidays(year, kObservatory);
        ASSERT_EQ(days.size(), expected.size()) << year;
        bool anyProvisional = false;
        for (std::size_t i = 0; i < days.size(); ++i) {
            const std::string date = std::to_string(year) + "-" + monthDayText(expected[i].date);
            EXPECT_EQ(days[i].at("date"), date);
            EXPECT_EQ(days[i].at("name"), expected[i].name);
            EXPECT_EQ(days[i].at("provisional"), expected[i].provisional) << date;
            anyProvisional = anyProvisional || expected[i].provisional;
        }
        EXPECT_EQ(anyProvisional, year > kLastAnnouncedYear) << year;
    }
    EXPECT_FALSE(nlohmann::json::parse(testing::runCli("2026 --json").out).contains("holidays"));
}

// The holiday column of --days (the sixth field) names every holiday of the year and no other.
TEST(HolidayCli, DaysColumnHoldsEachHoliday) {
    for (int year : {1948, 2026}) {
        const auto run = testing::runCli(std::to_string(year) + " --days");
        ASSERT_EQ(run.status, 0) << run.err;
        const std::vector<std::string> days = testing::lines(run.out);
        ASSERT_GE(days.size(), 365u);
        for (const std::string& line : days) {
            std::vector<std::string> field;
            for (std::size_t at = 0, tab = 0; tab != std::string::npos; at = tab + 1) {
                tab = line.find('\t', at);
                field.push_back(line.substr(at, tab - at));
            }
            ASSERT_GE(field.size(), 6u) << line;
            const CivilDate date{year, std::stoi(field[0].substr(5, 2)),
                                 std::stoi(field[0].substr(8, 2))};
            const std::optional<Holiday> h = holidayOn(date, kObservatory);
            EXPECT_EQ(field[5], h ? h->name : "-") << line;
        }
    }
}

TEST(HolidayCli, IcsHolidaysAreAllDayEventsOfCategory祝日) {
    const almanac::YearAlmanac year =
        almanac::yearAlmanac(testing::shippedTables(), 2026, {.holidays = true});
    const std::unique_ptr<icalcomponent, void (*)(icalcomponent*)> cal(
        icalparser_parse_string(exports::icsCalendar(year, 0).c_str()), icalcomponent_free);
    ASSERT_TRUE(cal);
    std::size_t found = 0;
    for (icalcomponent* ev = icalcomponent_get_first_component(cal.get(), ICAL_VEVENT_COMPONENT);
         ev; ev = icalcomponent_get_next_component(cal.get(), ICAL_VEVENT_COMPONENT)) {
        icalproperty* category = icalcomponent_get_first_property(ev, ICAL_CATEGORIES_PROPERTY);
        if (std::string(icalproperty_get_categories(category)) != "祝日") {
            continue;
        }
        const icaltimetype start = icalcomponent_get_dtstart(ev);
        const icaltimetype end = icalcomponent_get_dtend(ev);
        const CivilDate date{start.year, start.month, start.day};
        const std::optional<Holiday> h = holidayOn(date, kObservatory);
        ASSERT_TRUE(h) << monthDayText(date);
        EXPECT_EQ(icalcomponent_get_summary(ev), h->name);
        EXPECT_TRUE(start.is_date && end.is_date);
        EXPECT_EQ(CivilDate(end.year, end.month, end.day), addDays(date, 1));
        char uid[64];
        std::snprintf(uid, sizeof uid, "holidays-2026-%02d-%02d@sorvane", date.month, date.day);
        EXPECT_STREQ(icalcomponent_get_uid(ev), uid);
        ++found;
    }
    EXPECT_EQ(found, year.holidays.size());
    EXPECT_EQ(found, yearHolidays(2026, kObservatory).size());
}

} // namespace
} // namespace sorvane::holidays
