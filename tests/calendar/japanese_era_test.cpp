// Era years (元号) of Gregorian dates and of months.
#include "calendar/japanese_era.h"

#include <gtest/gtest.h>

namespace sorvane {
namespace {

TEST(JapaneseEra, EachEraBeginsOnItsDay) {
    struct Case {
        int year, month, day;
        const char* text; // "" for none
    };
    const Case cases[] = {
        {1872, 12, 31, ""},
        {1873, 1, 1, "明治6年"},
        {1912, 7, 29, "明治45年"},
        {1912, 7, 30, "大正元年"},
        {1926, 12, 24, "大正15年"},
        {1926, 12, 25, "昭和元年"},
        {1989, 1, 7, "昭和64年"},
        {1989, 1, 8, "平成元年"},
        {2019, 4, 30, "平成31年"},
        {2019, 5, 1, "令和元年"},
        {2026, 12, 7, "令和8年"},
        {-500, 1, 1, ""},
        {32767, 12, 31, "令和30749年"},
    };
    for (const Case& c : cases) {
        const auto era = eraYearOf(c.year, c.month, c.day);
        EXPECT_EQ(era ? eraYearText(*era) : std::string(), c.text)
            << c.year << "-" << c.month << "-" << c.day;
    }
}

TEST(JapaneseEra, MonthShowsEveryEraItSpans) {
    EXPECT_EQ(monthEraText(1989, 1), "昭和64年 / 平成元年");
    EXPECT_EQ(monthEraText(1926, 12), "大正15年 / 昭和元年");
    EXPECT_EQ(monthEraText(1912, 7), "明治45年 / 大正元年");
    EXPECT_EQ(monthEraText(2019, 4), "平成31年");
    EXPECT_EQ(monthEraText(2019, 5), "令和元年"); // 令和 began on the 1st
    EXPECT_EQ(monthEraText(1873, 1), "明治6年");
    EXPECT_EQ(monthEraText(1872, 12), "");
}

} // namespace
} // namespace sorvane
