// Years and dates as a printed 暦 writes them, and where the page stops writing era years.
// Astronomical year numbering has a year 0: "the year 1 BC is numbered 0, the year 2 BC is
// numbered -1, and in general the year n BC is numbered -(n-1)" (Astronomical year
// numbering, http://www.fact-index.com/a/as/astronomical_year_numbering.html, read
// 2026-12-09), so year -n is 紀元前(n+1)年.
#include "calendar/japanese_era.h"
#include "calendar/year_text.h"

#include <gtest/gtest.h>
#include <string>

namespace sorvane {
namespace {

TEST(PrintedYear, AstronomicalYearsAsKigenzen) {
    struct Case {
        int year;
        const char* text;
    };
    const Case cases[] = {
        {2026, "2026"},          {1, "1"},
        {0, "紀元前1"},          {-1, "紀元前2"},
        {-500, "紀元前501"},     {-1999, "紀元前2000"},
        {-32768, "紀元前32769"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(printedYearText(c.year), c.text) << c.year;
    }
    EXPECT_EQ(printedDateText(2026, 1, 17), "2026年1月17日");
    EXPECT_EQ(printedDateText(-500, 3, 1), "紀元前501年3月1日");
}

TEST(PrintedYear, EraYearsEndWithThePresentCalendar) {
    struct Case {
        int year, month, day;
        const char* text; // "" for none
    };
    const Case cases[] = {
        {2026, 12, 9, "令和8年"}, {2100, 12, 31, "令和82年"},
        {2101, 1, 1, ""},         {9000, 1, 1, ""}, // not 令和6982年
        {1872, 12, 31, ""},       {1873, 1, 1, "明治6年"},
    };
    for (const Case& c : cases) {
        const auto era = writtenEraYearOf(c.year, c.month, c.day);
        EXPECT_EQ(era ? eraYearText(*era) : std::string(), c.text) << c.year;
    }
    EXPECT_EQ(monthEraText(2100, 12), "令和82年");
    EXPECT_EQ(monthEraText(2101, 1), "");
    EXPECT_EQ(monthEraText(9000, 1), "");
    // The era's own count is not limited: 令和 9 is 2027 for the 和暦 conversions.
    EXPECT_EQ(eraYearText(*eraYearOf(9000, 1, 1)), "令和6982年");
}

} // namespace
} // namespace sorvane
