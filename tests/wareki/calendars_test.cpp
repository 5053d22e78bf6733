// The Julian and Gregorian calendars through the JDN, the lunisolar date on either side of
// the reform of 1873, and the era years of the two lines of 南北朝.
#include "wareki/day_report.h"
#include "wareki/parse.h"

#include <gtest/gtest.h>

namespace {

using namespace sorvane::wareki;

// The switch of 1582: "4 October 1582 (Julian) is a Thursday, which begins at JD 2299159.5;
// and 15 October 1582 (Gregorian) is a Friday, which begins at JD 2299160.5"
// (http://game-ninja.ru/julienne-dating-3827.html, a copy of the observatory's note on Julian
// dates, read 2026-12-09); "1 January 2000 = 2451545 Julian Days"
// (http://www.diracdelta.co.uk/science/source/j/u/julian%20day/source.html, Julian Day, read
// 2026-12-09).
TEST(WarekiWestern, PublishedJulianDayNumbers) {
    struct Case {
        Western calendar;
        WesternDate date;
        long long jdn;
        int weekday; // 1 = Sunday
    };
    const Case cases[] = {
        {Western::Julian, {1582, 10, 4}, 2299160, 5},
        {Western::Julian, {1582, 10, 5}, 2299161, 6},
        {Western::Gregorian, {1582, 10, 15}, 2299161, 6},
        {Western::Gregorian, {1582, 10, 4}, 2299150, 2},
        {Western::Gregorian, {2000, 1, 1}, 2451545, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(isoText(c.date));
        EXPECT_EQ(jdnOf(c.calendar, c.date), c.jdn);
        EXPECT_EQ(westernDate(c.calendar, c.jdn), c.date);
        EXPECT_EQ(describeDay(c.jdn).weekday, c.weekday);
    }
    EXPECT_EQ(historicalCalendar(2299160), Western::Julian);
    EXPECT_EQ(historicalCalendar(2299161), Western::Gregorian);
}

// Julian: every fourth year has 29 February; Gregorian: not the century years but those
// divisible by 400.
TEST(WarekiWestern, LeapDaysOfEachCalendar) {
    struct Case {
        int year;
        bool julian, gregorian;
    };
    for (const Case c : {Case{1500, true, false}, Case{1600, true, true}, Case{1700, true, false},
                         Case{1900, true, false}, Case{2000, true, true}, Case{2024, true, true},
                         Case{2026, false, false}, Case{4, true, true}}) {
        SCOPED_TRACE(c.year);
        EXPECT_EQ(isValid(Western::Julian, {c.year, 2, 29}), c.julian);
        EXPECT_EQ(isValid(Western::Gregorian, {c.year, 2, 29}), c.gregorian);
    }
    EXPECT_FALSE(isValid(Western::Julian, {1703, 4, 31}));
    EXPECT_FALSE(isValid(Western::Gregorian, {1703, 13, 1}));
    EXPECT_FALSE(isValid(Western::Gregorian, {1703, 1, 0}));
}

// Day after day from year 1 to 3000 each calendar's date follows the one before.
TEST(WarekiWestern, EveryDayFollowsTheDayBefore) {
    for (const Western calendar : {Western::Julian, Western::Gregorian}) {
        WesternDate before = westernDate(calendar, 1721424); // Julian 1-01-01 is JDN 1721424
        for (long long jdn = 1721425; jdn < 2817152; ++jdn) {
            const WesternDate d = westernDate(calendar, jdn);
            const bool next =
                (d.year == before.year && d.month == before.month && d.day == before.day + 1) ||
                (d.day == 1 && ((d.year == before.year && d.month == before.month + 1) ||
                                (d.year == before.year + 1 && d.month == 1 && before.month == 12 &&
                                 before.day == 31)));
            ASSERT_TRUE(next) << isoText(before) << " then " << isoText(d);
            ASSERT_EQ(jdnOf(calendar, d), jdn);
            before = d;
        }
    }
}

TEST(WarekiWestern, IsoInput) {
    EXPECT_EQ(parseIso("1703-01-30"), (WesternDate{1703, 1, 30}));
    EXPECT_EQ(parseIso("１７０３－０１－３０"), (WesternDate{1703, 1, 30}));
    EXPECT_EQ(parseIso("645-7-17"), (WesternDate{645, 7, 17}));
    for (const char* bad : {"", "1703", "1703-01", "1703-01-30-1", "17030-01-30", "1703/01/30",
                            "-1703-01-30", "1703-001-30", "元禄15年12月14日"}) {
        EXPECT_FALSE(parseIso(bad).has_value()) << bad;
    }
}

// Before 1873 the table, in 1873-1899 no lunisolar date (the Gregorian calendar, before the
// computed years), from 1900 the rule; the months compared here are rows of the repository's
// own reference table from the Swiss Ephemeris (tests/lunisolar/lunisolar-reference-1900-2100.tsv).
TEST(WarekiLunisolar, TheTableTheGapAndTheRule) {
    const auto g = [](int y, int m, int d) { return jdnOf(Western::Gregorian, {y, m, d}); };
    const auto last = lunisolarDateOf(g(1872, 12, 31));
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->year, 1872);
    EXPECT_EQ(last->month, 12);
    EXPECT_EQ(last->day, 2);
    EXPECT_EQ(last->monthLength, 2); // 12月3日 was 1873-01-01
    EXPECT_FALSE(lunisolarDateOf(g(1873, 1, 1)).has_value());
    EXPECT_FALSE(lunisolarDateOf(g(1899, 12, 31)).has_value());
    EXPECT_FALSE(lunisolarDateOf(kFirstTableJdn - 1).has_value());

    struct Case {
        WesternDate gregorian;
        int year, month;
        bool leap;
        int day, length;
    };
    const Case cases[] = {
        {{1900, 1, 1}, 1899, 12, false, 1, 30}, // month 1900-01-01 12 0 30
        {{1900, 1, 31}, 1900, 1, false, 1, 29}, // month 1900-01-31 1 0 29
        {{2026, 12, 9}, 2026, 11, false, 1, 30}, {{2027, 1, 8}, 2026, 12, false, 1, 30},
        {{2034, 1, 19}, 2033, 11, true, 29, 29}, // month 2033-12-22 11 1 29
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(isoText(c.gregorian));
        const auto date = lunisolarDateOf(g(c.gregorian.year, c.gregorian.month, c.gregorian.day));
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(date->source, LunisolarSource::Rule);
        EXPECT_EQ(date->year, c.year);
        EXPECT_EQ(date->month, c.month);
        EXPECT_EQ(date->leap, c.leap);
        EXPECT_EQ(date->day, c.day);
        EXPECT_EQ(date->monthLength, c.length);
    }
}

// 南北朝: two eras side by side, 南朝 first, until the union on 明徳3年閏10月5日 (Julian
// 1392-11-19); 明治 from 1868's first day; from 1873 the eras of calendar/.
TEST(WarekiEras, TheLinesAndTheEnds) {
    const auto j = [](int y, int m, int d) { return jdnOf(Western::Julian, {y, m, d}); };
    const auto g = [](int y, int m, int d) { return jdnOf(Western::Gregorian, {y, m, d}); };
    const auto before = eraDaysOf(j(1392, 11, 18));
    ASSERT_EQ(before.size(), 2U);
    EXPECT_EQ(before[0].line, Line::South);
    EXPECT_EQ(before[0].era, "元中");
    EXPECT_EQ(before[0].year, 9);
    EXPECT_EQ(before[1].line, Line::North);
    EXPECT_EQ(before[1].era, "明徳");
    EXPECT_EQ(before[1].year, 3);
    const auto after = eraDaysOf(j(1392, 11, 19));
    ASSERT_EQ(after.size(), 1U);
    EXPECT_EQ(after[0], (EraDay{"明徳", "めいとく", 3, std::nullopt}));

    EXPECT_EQ(eraDaysOf(g(1868, 1, 25)).at(0).era, "明治"); // 慶応4年1月1日
    EXPECT_EQ(eraDaysOf(g(1868, 1, 24)).at(0).era, "慶応");
    EXPECT_EQ(eraDaysOf(g(1873, 1, 1)), (std::vector<EraDay>{{"明治", "めいじ", 6, std::nullopt}}));
    EXPECT_EQ(eraDaysOf(g(2019, 5, 1)), (std::vector<EraDay>{{"令和", "れいわ", 1, std::nullopt}}));
    EXPECT_EQ(warekiText(g(1873, 1, 1)), "明治6年1月1日");
    EXPECT_TRUE(eraDaysOf(eraRows().front().startJdn - 1).empty());
}

} // namespace
