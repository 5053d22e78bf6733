// Julian dates, the time argument, the two day cycles and the year's 干支.
#include "calendar/day_cycles.h"
#include "calendar/julian_day.h"
#include "calendar/names.h"

#include <cmath>
#include <gtest/gtest.h>

namespace sorvane {
namespace {

struct DateCase {
    int year, month;
    double day;
    double jd;
    double T;
};

TEST(JulianDay, WorkedDatesAndTimeArgument) {
    const DateCase cases[] = {
        {1900, 1, 1, 2415020.5, 0.0000136893}, {1949, 10, 1, 2433190.5, 0.4974811773},
        {2000, 1, 1, 2451544.5, 0.9999863107}, {2000, 2, 29, 2451603.5, 1.0016016427},
        {2000, 3, 1, 2451604.5, 1.0016290212}, {2026, 12, 6, 2461380.5, 1.2692813142},
    };
    for (const auto& c : cases) {
        const double jd = julianday(c.year, c.month, c.day);
        EXPECT_EQ(jd, c.jd) << c.year << "-" << c.month;
        EXPECT_NEAR(tcentury(jd), c.T, 5e-11) << c.year << "-" << c.month;
    }
}

TEST(JulianDay, MonthAndYearBoundaries) {
    EXPECT_EQ(julianday(1999, 12, 31), 2451543.5);
    EXPECT_EQ(julianday(2000, 3, 1) - julianday(2000, 2, 29), 1.0);
    EXPECT_EQ(julianday(2000, 1, 1.75), 2451545.25);
    EXPECT_EQ(julianday(1582, 10, 15), 2299160.5); // proleptic Gregorian, no switch
    EXPECT_EQ(julianday(1900, 3, 1) - julianday(1900, 2, 28), 1.0); // 1900 has no Feb 29
}

TEST(JulianDay, AstronomicalYearsBeforeOne) {
    // Year 0 is 1 BC and a leap year; year -1 is 2 BC; no year is skipped.
    EXPECT_EQ(julianday(-1, 3, 1), 1720753.5);
    EXPECT_EQ(julianday(0, 3, 1), 1721119.5);
    EXPECT_EQ(julianday(0, 3, 1) - julianday(-1, 3, 1), 366.0);
    EXPECT_EQ(julianday(0, 3, 1) - julianday(0, 2, 29), 1.0);
    EXPECT_EQ(julianday(1, 1, 1) - julianday(0, 1, 1), 366.0);
    EXPECT_EQ(julianday(-4712, 1, 1.5), 0.0 + 38); // Gregorian -4712-01-01 is JD 38 at noon
}

TEST(JulianDay, ConsecutiveDaysAcrossTheWholeYearRange) {
    double previous = julianday(-32768, 1, 1);
    for (int year = -32768; year <= 32767; year += 97) {
        for (int month = 1; month <= 12; ++month) {
            const double jd = julianday(year, month, 1);
            EXPECT_GT(jd, previous - 1) << year << "-" << month;
            previous = jd;
        }
    }
    // Every day of a 400-year cycle follows the one before by exactly one day.
    double last = julianday(1600, 1, 1) - 1;
    const int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int year = 1600; year < 2000; ++year) {
        const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        for (int month = 1; month <= 12; ++month) {
            const int days = lengths[month - 1] + (month == 2 && leap ? 1 : 0);
            for (int day = 1; day <= days; ++day) {
                const double jd = julianday(year, month, day);
                ASSERT_EQ(jd - last, 1.0) << year << "-" << month << "-" << day;
                last = jd;
            }
        }
    }
}

TEST(DayCycles, WorkedValues) {
    struct Case {
        double n;
        int kanshi, youbi;
    };
    const Case cases[] = {
        {2433190, 1, 7},  // 1949-10-01 甲子, Saturday
        {2451543, 54, 6}, // 1999-12-31 丁巳, Friday
        {2451544, 55, 7}, // 2000-01-01 戊午, Saturday
        {2461380, 51, 1}, // 2026-12-06 甲寅, Sunday
        {2433189, 60, 6}, // 1949-09-30: a remainder of 0 is the cycle's last index
    };
    for (const auto& c : cases) {
        EXPECT_EQ(kanshi(c.n), c.kanshi) << c.n;
        EXPECT_EQ(youbi(c.n), c.youbi) << c.n;
    }
}

TEST(DayCycles, RunOnThroughZeroAndNegativeDayNumbers) {
    // Consecutive days advance both cycles by one, wrapping 60 -> 1 and 7 -> 1, also for day
    // numbers before JD 0 (years before -4712), where a truncating remainder would break.
    for (double n = -12000000; n < -11999000; ++n) {
        const int k = kanshi(n);
        const int w = youbi(n);
        ASSERT_GE(k, 1);
        ASSERT_LE(k, 60);
        ASSERT_GE(w, 1);
        ASSERT_LE(w, 7);
        EXPECT_EQ(kanshi(n + 1), k == 60 ? 1 : k + 1) << n;
        EXPECT_EQ(youbi(n + 1), w == 7 ? 1 : w + 1) << n;
    }
    for (double n = -100; n < 100; ++n) {
        EXPECT_EQ(kanshi(n + 60), kanshi(n)) << n;
        EXPECT_EQ(youbi(n + 7), youbi(n)) << n;
        ASSERT_GE(kanshi(n), 1);
        ASSERT_GE(youbi(n), 1);
    }
    EXPECT_EQ(kanshi(9), 60);
    EXPECT_EQ(kanshi(10), 1);
    EXPECT_EQ(youbi(-3), 7);
    EXPECT_EQ(floorMod(-1, 60), 59);
    EXPECT_EQ(floorMod(-60, 60), 0);
}

TEST(YearCycle, PublishedYears) {
    struct Case {
        int year;
        const char* name;
    };
    // Astronomical years: 0 is 1 BC, -56 is 57 BC, -659 is 660 BC.
    const Case cases[] = {
        {2026, "丙午"}, {2025, "乙巳"}, {2000, "庚辰"}, {1984, "甲子"}, {1924, "甲子"},
        {1868, "戊辰"}, {1592, "壬辰"}, {672, "壬申"},  {4, "甲子"},    {1, "辛酉"},
        {0, "庚申"},    {-56, "甲子"},  {-659, "辛酉"},
    };
    for (const auto& c : cases) {
        const int index = yearSexagenary(c.year);
        ASSERT_GE(index, 1) << c.year;
        ASSERT_LE(index, 60) << c.year;
        EXPECT_EQ(sexagenaryNames[static_cast<std::size_t>(index)], c.name) << c.year;
    }
}

} // namespace
} // namespace sorvane
