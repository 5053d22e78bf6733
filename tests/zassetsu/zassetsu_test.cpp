// The 雑節 rules on constructed years, and the finder's search for an arbitrary longitude.
#include "calendar/civil_date.h"
#include "calendar/day_cycles.h"
#include "calendar/names.h"
#include "calendar/solar_terms.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"
#include "support/test_support.h"
#include "zassetsu/zassetsu.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvane {
namespace {

using namespace zassetsu;

ShownMoment at(int y, int m, int d, int hour = 12, int minute = 0, double longitude = 0) {
    return ShownMoment{CivilDate{y, m, d}, hour, minute, longitude};
}

// A year laid out from typical dates; each test moves what it needs.
SeasonAnchors typicalYear(int y) {
    SeasonAnchors a;
    a.risshun = at(y, 2, 4, 5, 0, 315);
    a.shunbun = at(y, 3, 20, 12, 0, 0);
    a.rikka = at(y, 5, 5, 22, 0, 45);
    a.risshuu = at(y, 8, 7, 14, 0, 135);
    a.shuubun = at(y, 9, 23, 3, 0, 180);
    a.rittou = at(y, 11, 7, 13, 0, 225);
    a.doyoEntries = {at(y, 1, 17, 6, 0, 297), at(y, 4, 17, 3, 0, 27), at(y, 7, 19, 19, 0, 117),
                     at(y, 10, 20, 12, 0, 207)};
    a.nyuubai = at(y, 6, 11, 0, 23, 80);
    a.hangeshou = at(y, 7, 1, 23, 12, 100);
    return a;
}

const Item& item(const std::vector<Item>& items, const std::string& id) {
    const auto it =
        std::find_if(items.begin(), items.end(), [&](const Item& i) { return i.id == id; });
    if (it == items.end()) {
        throw std::runtime_error("no item " + id);
    }
    return *it;
}

// 節分 is the day before 立春's JST date: a 立春 just after midnight JST (still the day
// before in UTC) puts 節分 on the day before that JST date, not two days back or on it.
TEST(Zassetsu, SetsubunIsTheDayBeforeRisshunsJstDate) {
    SeasonAnchors a = typicalYear(2027);
    a.risshun = at(2027, 2, 4, 0, 5, 315);
    EXPECT_EQ(item(yearZassetsu(a), "setsubun").date, (CivilDate{2027, 2, 3}));
    a.risshun = at(2027, 2, 3, 23, 59, 315);
    EXPECT_EQ(item(yearZassetsu(a), "setsubun").date, (CivilDate{2027, 2, 2}));
    a = typicalYear(2029); // the other anchors in the same year: a 土用 lasts weeks, not years
    a.risshun = at(2029, 2, 3, 23, 10, 315);
    EXPECT_EQ(item(yearZassetsu(a), "setsubun").date, (CivilDate{2029, 2, 2}));
}

TEST(Zassetsu, HiganRunsThreeDaysEitherSideOfTheEquinoxDates) {
    SeasonAnchors a = typicalYear(2025);
    a.shunbun = at(2025, 3, 20, 18, 1, 0);
    a.shuubun = at(2025, 9, 23, 3, 19, 180);
    const auto items = yearZassetsu(a);
    EXPECT_EQ(item(items, "higan-spring-start").date, (CivilDate{2025, 3, 17}));
    EXPECT_EQ(item(items, "higan-spring-end").date, (CivilDate{2025, 3, 23}));
    EXPECT_EQ(item(items, "higan-autumn-start").date, (CivilDate{2025, 9, 20}));
    EXPECT_EQ(item(items, "higan-autumn-end").date, (CivilDate{2025, 9, 26}));
    // Across a month end: an equinox on 21 March begins on the 18th and ends on the 24th;
    // one on 22 September ends on the 25th, one on 30 September would end on 3 October.
    a.shuubun = at(2025, 9, 30, 0, 0, 180);
    EXPECT_EQ(item(yearZassetsu(a), "higan-autumn-end").date, (CivilDate{2025, 10, 3}));
}

// The periods a page bands: each 土用 over its days, each 彼岸 from its 入り to its 明け
// (seven days, the equinox's date the middle one), in the order of the year's list.
TEST(Zassetsu, PeriodsAreTheDoyoAndTheHigan) {
    SeasonAnchors a = typicalYear(2025);
    a.shuubun = at(2025, 9, 30, 0, 0, 180); // 彼岸 across a month end
    const auto periods = yearPeriods(yearZassetsu(a));
    struct Want {
        const char* name;
        CivilDate first;
        CivilDate last;
    };
    const Want want[] = {
        {"土用", {2025, 1, 17}, {2025, 2, 3}},  {"彼岸", {2025, 3, 17}, {2025, 3, 23}},
        {"土用", {2025, 4, 17}, {2025, 5, 4}},  {"土用", {2025, 7, 19}, {2025, 8, 6}},
        {"彼岸", {2025, 9, 27}, {2025, 10, 3}}, {"土用", {2025, 10, 20}, {2025, 11, 6}},
    };
    ASSERT_EQ(periods.size(), std::size(want));
    for (std::size_t i = 0; i < periods.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(periods[i].name, want[i].name);
        EXPECT_EQ(periods[i].first, want[i].first);
        EXPECT_EQ(periods[i].last, want[i].last);
    }
}

// names() holds every name a year's 雑節 answer to (a 丑の日 by its own name) and no other:
// over constructed years whose 土用 hold one or two 丑の日 and the years of the finder's
// shipped terms around the present.
TEST(Zassetsu, NamesAreEveryNameOfTheYears) {
    const std::vector<std::string> listed = names();
    std::set<std::string> seen;
    const auto see = [&](const SeasonAnchors& a) {
        for (const Item& i : yearZassetsu(a)) {
            const std::size_t space = i.name.rfind(' ');
            seen.insert(space == std::string::npos ? i.name : i.name.substr(space + 1));
        }
    };
    for (int y = 2000; y <= 2040; ++y) {
        see(typicalYear(y));
        SeasonAnchors shortWinter = typicalYear(y); // a winter 土用 of a single day
        shortWinter.risshun = shortWinter.doyoEntries[0];
        shortWinter.risshun.date = addDays(shortWinter.risshun.date, 1);
        see(shortWinter);
    }
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), seen);
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()).size(), listed.size());
    EXPECT_EQ(listed.front(), "冬の土用");
}

// Counted from 立春's date, that day being the first: 88th, 210th and 220th days. A leap
// year's 29 February moves them a day earlier in the calendar.
TEST(Zassetsu, DaysCountedFromRisshunFollowTheLeapYear) {
    SeasonAnchors common = typicalYear(2023);
    common.risshun = at(2023, 2, 4, 11, 43, 315);
    const auto c = yearZassetsu(common);
    EXPECT_EQ(item(c, "hachijuuhachiya").date, (CivilDate{2023, 5, 2}));
    EXPECT_EQ(item(c, "nihyakutooka").date, (CivilDate{2023, 9, 1}));
    EXPECT_EQ(item(c, "nihyakuhatsuka").date, (CivilDate{2023, 9, 11}));

    SeasonAnchors leap = typicalYear(2024);
    leap.risshun = at(2024, 2, 4, 17, 27, 315);
    const auto l = yearZassetsu(leap);
    EXPECT_EQ(item(l, "hachijuuhachiya").date, (CivilDate{2024, 5, 1}));
    EXPECT_EQ(item(l, "nihyakutooka").date, (CivilDate{2024, 8, 31}));
    EXPECT_EQ(item(l, "nihyakuhatsuka").date, (CivilDate{2024, 9, 10}));
}

TEST(Zassetsu, UshiDaysAreTheDaysOfBranchUshi) {
    const auto days = ushiDays({2025, 1, 1}, {2025, 12, 31});
    ASSERT_FALSE(days.empty());
    for (std::size_t i = 0; i < days.size(); ++i) {
        const auto& name = sexagenaryNames[kanshi(static_cast<double>(dayNumber(days[i])))];
        EXPECT_EQ(name.substr(name.size() - 3), "丑") << name; // 乙丑, 丁丑 ..
        if (i > 0) {
            EXPECT_EQ(dayNumber(days[i]) - dayNumber(days[i - 1]), 12);
        }
    }
    EXPECT_EQ(days.size(), 30u); // 8 January, then every twelfth day to 22 December
    EXPECT_EQ(days.front(), (CivilDate{2025, 1, 8}));
}

// The summer 土用 of 2025 (19 July to 6 August) holds two 丑 days, 19 and 31 July; the
// spring one (17 April to 4 May) only 26 April.
TEST(Zassetsu, DoyoPeriodsAndTheirUshiDays) {
    SeasonAnchors a = typicalYear(2025);
    a.risshun = at(2025, 2, 3, 23, 10, 315);
    a.rikka = at(2025, 5, 5, 14, 57, 45);
    a.risshuu = at(2025, 8, 7, 14, 52, 135);
    a.rittou = at(2025, 11, 7, 13, 4, 225);
    const auto items = yearZassetsu(a);

    const auto& summer = item(items, "doyo-summer");
    EXPECT_EQ(summer.kind, Kind::Period);
    EXPECT_EQ(summer.date, (CivilDate{2025, 7, 19}));
    EXPECT_EQ(summer.lastDate, (CivilDate{2025, 8, 6}));
    EXPECT_EQ(item(items, "doyo-summer-ushi-1").date, (CivilDate{2025, 7, 19}));
    EXPECT_EQ(item(items, "doyo-summer-ushi-1").name, "夏の土用 一の丑");
    EXPECT_EQ(item(items, "doyo-summer-ushi-2").date, (CivilDate{2025, 7, 31}));
    EXPECT_EQ(item(items, "doyo-summer-ushi-2").name, "夏の土用 二の丑");

    const auto& spring = item(items, "doyo-spring");
    EXPECT_EQ(spring.lastDate, (CivilDate{2025, 5, 4}));
    EXPECT_EQ(item(items, "doyo-spring-ushi-1").name, "春の土用 丑の日");
    EXPECT_EQ(item(items, "doyo-spring-ushi-1").date, (CivilDate{2025, 4, 26}));
    EXPECT_THROW(item(items, "doyo-spring-ushi-2"), std::runtime_error);

    // The winter 土用 runs from January's entry to the day before 立春.
    const auto& winter = item(items, "doyo-winter");
    EXPECT_EQ(winter.date, (CivilDate{2025, 1, 17}));
    EXPECT_EQ(winter.lastDate, (CivilDate{2025, 2, 2}));
    EXPECT_EQ(item(items, "doyo-autumn").lastDate, (CivilDate{2025, 11, 6}));

    // Every 丑 day lies inside its period, and none is missed.
    for (const Item& p : items) {
        if (p.kind != Kind::Period) {
            continue;
        }
        const auto expected = ushiDays(p.date, p.lastDate);
        std::vector<CivilDate> listed;
        for (const Item& u : items) {
            if (u.kind == Kind::UshiDay && u.id.rfind(p.id + "-", 0) == 0) {
                listed.push_back(u.date);
                EXPECT_GE(u.date, p.date);
                EXPECT_LE(u.date, p.lastDate);
            }
        }
        EXPECT_EQ(listed, expected) << p.id;
    }
}

// A 土用 entry that is itself a 丑 day starts the list; a period ending on a 丑 day keeps it.
TEST(Zassetsu, UshiDaysAtThePeriodsEnds) {
    // 2025-07-19 and 2025-07-31 are 丑 days.
    EXPECT_EQ(ushiDays({2025, 7, 19}, {2025, 7, 31}).size(), 2u);
    EXPECT_EQ(ushiDays({2025, 7, 20}, {2025, 7, 30}).size(), 0u);
    EXPECT_EQ(ushiDays({2025, 7, 31}, {2025, 7, 31}).size(), 1u);
}

TEST(Zassetsu, ItemsAreInTimeOrderAndPrintedOneDatedLineEach) {
    const auto items = yearZassetsu(typicalYear(2025));
    EXPECT_EQ(items.size(), 21u); // 10 days and moments, 4 periods, 7 丑 days for this layout
    for (std::size_t i = 1; i < items.size(); ++i) {
        EXPECT_LE(items[i - 1].date, items[i].date) << items[i].id;
    }
    // A period comes before the 丑 day on its first day.
    const auto period = std::find_if(items.begin(), items.end(),
                                     [](const Item& i) { return i.id == "doyo-summer"; });
    ASSERT_NE(period + 1, items.end());
    EXPECT_EQ((period + 1)->id, "doyo-summer-ushi-1");

    EXPECT_EQ(zassetsuLine(item(items, "setsubun")), "02-03        節分");
    EXPECT_EQ(zassetsuLine(item(items, "nyuubai")), "06-11 00:23  入梅");
    EXPECT_EQ(zassetsuLine(item(items, "doyo-summer")), "07-19        夏の土用 07-19〜08-06");
}

} // namespace
} // namespace sorvane
