// The month listing: the year and month cycles and the day lines.
#include "almanac/month_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/names.h"
#include "ephemeris/data_location.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace sorvane::almanac {
namespace {

// The first days of 2000's months as the recorded output names them (tests/data/year-2000.txt),
// and the listing of January from the first day the almanac gives it.
TEST(MonthListing, January2000) {
    AlmanacOptions dayCyclesOnly;
    dayCyclesOnly.solarTerms = false;
    const YearAlmanac a = yearAlmanac(2000, dayCyclesOnly);
    const char* names[] = {"戊午", "己丑", "戊午", "己丑", "己未", "庚寅",
                           "庚申", "辛卯", "壬戌", "壬辰", "癸亥", "癸巳"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(a.firstDays[static_cast<std::size_t>(m - 1)].sexagenaryName, names[m - 1]) << m;
    }
    ASSERT_EQ(a.firstDays[0].sexagenary, 55);
    ASSERT_EQ(a.firstDays[0].weekday, 7); // Saturday
    EXPECT_EQ(a.firstDays[1].weekday, 3); // 2000-02-01 was a Tuesday
    const MonthListing l = nikkanhyouji(2000, 1, a.firstDays[0].sexagenary, a.firstDays[0].weekday);
    const std::string head = "1日(土)  戊午\r\n2日(日)  己未\r\n3日(月)  庚申\r\n"
                             "4日(火)  辛酉\r\n5日(水)  壬戌\r\n6日(木)  癸亥\r\n"
                             "7日(金)  甲子\r\n8日(土)  乙丑\r\n";
    EXPECT_EQ(l.dayLines.substr(0, head.size()), head);
    const std::string tail = "30日(日)  丁亥\r\n31日(月)  戊子\r\n";
    ASSERT_GE(l.dayLines.size(), tail.size());
    EXPECT_EQ(l.dayLines.substr(l.dayLines.size() - tail.size()), tail);
    EXPECT_EQ(l.yearCaption, "己卯年");
    EXPECT_EQ(l.monthCaption, "1月丁丑");
    // Listing the same month again gives the same text.
    EXPECT_EQ(nikkanhyouji(2000, 1, 55, 7).dayLines, l.dayLines);
}

TEST(MonthListing, February2000) {
    const MonthListing l = nikkanhyouji(2000, 2, 26, 3);
    std::size_t lines = 0;
    for (std::size_t p = 0; (p = l.dayLines.find("\r\n", p)) != std::string::npos; p += 2) {
        ++lines;
    }
    EXPECT_EQ(lines, 29u);
    EXPECT_EQ(l.dayLines.rfind("1日(火)  己丑\r\n", 0), 0u);
    EXPECT_NE(l.dayLines.find("\r\n29日(火)  丁巳\r\n"), std::string::npos);
    EXPECT_EQ(l.yearCaption, "庚辰年");
    EXPECT_EQ(l.monthCaption, "2月戊寅");
}

TEST(MonthListing, YearAndMonthNamesOf1984) {
    EXPECT_EQ(sexagenaryNames[nenkanshi(1984, 1)] + "年", "癸亥年");
    EXPECT_EQ(sexagenaryNames[tukikanshi(1984, 1)], "乙丑");
    EXPECT_EQ(sexagenaryNames[nenkanshi(1984, 2)] + "年", "甲子年");
    EXPECT_EQ(sexagenaryNames[tukikanshi(1984, 2)], "丙寅");
    EXPECT_EQ(sexagenaryNames[nenkanshi(1984, 12)] + "年", "甲子年");
    EXPECT_EQ(sexagenaryNames[tukikanshi(1984, 12)], "丙子");
}

TEST(MonthListing, CyclesRunOnThroughYearZeroAndBelow) {
    EXPECT_EQ(nenkanshi(4, 2), 1); // 甲子
    EXPECT_EQ(nenkanshi(-56, 2), 1);
    for (int year = -32768; year < 32767; ++year) {
        const int y = nenkanshi(year, 2);
        const int next = nenkanshi(year + 1, 2);
        ASSERT_GE(y, 1);
        ASSERT_LE(y, 60);
        ASSERT_EQ(next, y == 60 ? 1 : y + 1) << year;
        ASSERT_EQ(nenkanshi(year + 1, 1), y) << year; // January belongs to the year before
        // December and the next January are consecutive months of the cycle.
        const int december = tukikanshi(year, 12);
        ASSERT_GE(december, 1);
        ASSERT_LE(december, 60);
        ASSERT_EQ(tukikanshi(year + 1, 1), december == 60 ? 1 : december + 1) << year;
    }
}

TEST(MonthListing, RefusesFirstDayValuesOutsideTheirCycles) {
    EXPECT_THROW(nikkanhyouji(2000, 1, 0, 1), std::out_of_range);
    EXPECT_THROW(nikkanhyouji(2000, 13, 1, 1), std::out_of_range);
    EXPECT_THROW(nikkanhyouji(2000, 1, 1, 8), std::out_of_range);
}

} // namespace
} // namespace sorvane::almanac
