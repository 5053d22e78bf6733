// The rules of the lunisolar calendar on constructed months, and on the years that show
// them in the computed calendar.
#include "calendar/civil_date.h"
#include "calendar/julian_day.h"
#include "lunisolar/lunisolar_year.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace sorvane::lunisolar;

long long dayOf(int y, int m, int d) {
    return static_cast<long long>(std::floor(sorvane::julianday(y, m, d)));
}

// Months as "11 12 1 .. 閏10 ..": number, with 閏 before a leap month.
std::string numbering(const std::vector<LunarMonth>& months) {
    std::string s;
    for (const LunarMonth& m : months) {
        s += (s.empty() ? "" : " ") + std::string(m.leap ? "閏" : "") + std::to_string(m.number);
    }
    return s;
}

// Constructed stretches of 30-day months from day 0: 冬至 on day 10 of month 0 and of
// month `nextWinter`; the 中気 of the months between placed by the case.
TEST(LunisolarRules, LeapMonthFromTheChuki) {
    struct Case {
        const char* what;
        int nextWinter;
        // 30, 60, .. 240 (大寒 .. 小雪): month index and minute within it (from 00:00 of its
        // first day); a negative minute lies in the month before.
        std::vector<std::pair<int, int>> chuki;
        const char* expected;
    };
    const auto mid = 14 * 1440;
    const std::vector<Case> cases = {
        {"twelve months, no leap",
         12,
         {{1, mid},
          {2, mid},
          {3, mid},
          {4, mid},
          {5, mid},
          {6, mid},
          {7, mid},
          {8, mid},
          {9, mid},
          {10, mid},
          {11, mid}},
         "11 12 1 2 3 4 5 6 7 8 9 10"},
        {"thirteen months, month 5 empty",
         13,
         {{1, mid},
          {2, mid},
          {3, mid},
          {4, mid},
          {6, mid},
          {7, mid},
          {8, mid},
          {9, mid},
          {10, mid},
          {11, mid},
          {12, mid}},
         "11 12 1 2 3 閏3 4 5 6 7 8 9 10"},
        {"小雪 at 23:59 the day before a 朔: its month holds it, the next is leap",
         13,
         {{1, mid},
          {2, mid},
          {3, mid},
          {4, mid},
          {5, mid},
          {6, mid},
          {7, mid},
          {8, mid},
          {9, mid},
          {10, mid},
          {12, -1}},
         "11 12 1 2 3 4 5 6 7 8 9 10 閏10"},
        {"小雪 at 00:00 of the 朔's day: it opens the new month, the month before is leap",
         13,
         {{1, mid},
          {2, mid},
          {3, mid},
          {4, mid},
          {5, mid},
          {6, mid},
          {7, mid},
          {8, mid},
          {9, mid},
          {10, mid},
          {12, 0}},
         "11 12 1 2 3 4 5 6 7 8 9 閏9 10"},
        {"two empty months: only the first is leap",
         13,
         {{1, mid},
          {2, mid},
          {4, mid},
          {4, mid + 1},
          {5, mid},
          {6, mid},
          {8, mid},
          {9, mid},
          {10, mid},
          {11, mid},
          {12, mid}},
         "11 12 1 閏1 2 3 4 5 6 7 8 9 10"},
    };
    for (const Case& c : cases) {
        std::vector<long long> newMoons;
        for (int i = 0; i <= c.nextWinter + 1; ++i) {
            newMoons.push_back(30LL * i);
        }
        std::vector<Chuki> chuki = {{270, 10 * 1440}, {270, (30LL * c.nextWinter + 10) * 1440}};
        int longitude = 300;
        for (const auto& [month, minute] : c.chuki) {
            chuki.push_back({longitude % 360, 30LL * month * 1440 + minute});
            longitude += 30;
        }
        EXPECT_EQ(numbering(numberMonths(newMoons, chuki)), c.expected) << c.what;
    }
}

// Dates of the computed calendar that show each rule, with the 六曜 that printed calendars
// give for them.
TEST(LunisolarRules, ComputedDates) {
    struct Case {
        int y, m, d;
        const char* expected; // lunisolar date, 六曜, lunisolar day
    };
    const std::vector<Case> cases = {
        {2025, 1, 29, "1月1日 先勝 旧正月"},
        {2025, 7, 24, "6月30日 大安 -"},  // last day of 6月 (大)
        {2025, 7, 25, "閏6月1日 赤口 -"}, // a leap month counts with its number
        {2025, 8, 22, "閏6月29日 仏滅 -"},
        {2025, 8, 23, "7月1日 先勝 -"},
        {2025, 8, 29, "7月7日 先勝 伝統的七夕"},
        {2025, 10, 6, "8月15日 仏滅 十五夜"},
        {2025, 11, 2, "9月13日 先負 十三夜"},
        {2033, 11, 22, "11月1日 大安 -"}, // the 2033 problem: 閏11月, not 閏7月
        {2033, 12, 22, "閏11月1日 大安 -"},
        {2034, 1, 20, "12月1日 赤口 -"},
        {2023, 3, 22, "閏2月1日 友引 -"},
        {1900, 1, 1, "12月1日 赤口 -"},   // needs the 冬至 of 1899
        {2100, 12, 31, "12月1日 赤口 -"}, // needs the 冬至 of 2101
    };
    for (const Case& c : cases) {
        const LunisolarYear year(c.y);
        const LunarDay d = year.day(dayOf(c.y, c.m, c.d));
        const std::string got = std::string(d.leap ? "閏" : "") + std::to_string(d.month) + "月" +
                                std::to_string(d.day) + "日 " + rokuyoName(d.rokuyo) + " " +
                                (d.special ? specialDayName(*d.special) : "-");
        EXPECT_EQ(got, c.expected) << c.y << "-" << c.m << "-" << c.d;
    }
    EXPECT_THROW(LunisolarYear(1899), std::out_of_range);
    EXPECT_THROW(LunisolarYear(2101), std::out_of_range);
}

// A lunar date's texts as the almanacs print it: month and day, 閏 before a leap month's
// number (閏6月, as in 2025's 旧暦), a cell's short form with a slash.
TEST(LunisolarRules, DateTexts) {
    struct Case {
        int month;
        int day;
        bool leap;
        const char* date;
        const char* month_;
        const char* cell;
    };
    const Case cases[] = {
        {1, 1, false, "1月1日", "1月", "1/1"},
        {6, 14, true, "閏6月14日", "閏6月", "閏6/14"},
        {12, 30, false, "12月30日", "12月", "12/30"},
    };
    for (const Case& c : cases) {
        LunarDay d;
        d.month = c.month;
        d.day = c.day;
        d.leap = c.leap;
        EXPECT_EQ(lunarDateText(d), c.date);
        EXPECT_EQ(lunarMonthText(d), c.month_);
        EXPECT_EQ(lunarShortText(d), c.cell);
    }
    // 2025-07-25 is 旧閏6月1日 (the leap month after 旧6月 in 2025).
    const LunisolarYear y2025(2025);
    EXPECT_EQ(lunarDateText(y2025.day(sorvane::dayNumber(sorvane::CivilDate{2025, 7, 25}))),
              "閏6月1日");
}

// A year built on the year before (as the day search builds a run of years) has the same
// 中気, new moons, months and days as one built alone; without its quarters its phases are
// its new moons.
TEST(LunisolarRules, YearBuiltOnTheYearBeforeIsTheSame) {
    std::optional<LunisolarYear> before;
    for (int y = 2030; y <= 2036; ++y) {
        LunisolarYear shared(y, Quarters::Left, before ? &*before : nullptr);
        const LunisolarYear alone(y);
        ASSERT_EQ(shared.chuki().size(), alone.chuki().size()) << y;
        for (std::size_t i = 0; i < alone.chuki().size(); ++i) {
            EXPECT_EQ(shared.chuki()[i].jstMinute, alone.chuki()[i].jstMinute) << y << " " << i;
            EXPECT_EQ(shared.chuki()[i].longitude, alone.chuki()[i].longitude) << y << " " << i;
        }
        ASSERT_EQ(shared.newMoons().size(), alone.newMoons().size()) << y;
        for (std::size_t i = 0; i < alone.newMoons().size(); ++i) {
            EXPECT_EQ(shared.newMoons()[i].jdTT, alone.newMoons()[i].jdTT) << y << " " << i;
        }
        for (long long n = alone.firstDay(); n <= alone.lastDay(); ++n) {
            const LunarDay a = alone.day(n);
            const LunarDay b = shared.day(n);
            EXPECT_TRUE(a.month == b.month && a.day == b.day && a.leap == b.leap &&
                        a.rokuyo == b.rokuyo && a.special == b.special)
                << y << " day " << n;
        }
        for (const PhaseMoment& p : shared.phases()) {
            EXPECT_EQ(p.phase, Phase::New) << y;
        }
        EXPECT_GT(alone.phases().size(), 3 * shared.phases().size()) << y;
        before.emplace(std::move(shared));
    }
}

} // namespace
