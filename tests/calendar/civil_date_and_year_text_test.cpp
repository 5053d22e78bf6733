// Civil dates and their arithmetic, and the year text.
#include "calendar/civil_date.h"
#include "calendar/year_text.h"

#include <gtest/gtest.h>
#include <string>

namespace sorvane {
namespace {

TEST(CivilDates, DayNumbersRoundTripAcrossLeapDaysAndYearZero) {
    for (long long n = dayNumber({-401, 1, 1}); n < dayNumber({-399, 12, 31}); ++n) {
        EXPECT_EQ(dayNumber(civilDate(n)), n);
    }
    for (long long n = dayNumber({1899, 12, 1}); n < dayNumber({2101, 2, 1}); n += 13) {
        EXPECT_EQ(dayNumber(civilDate(n)), n);
    }
    EXPECT_EQ(addDays({2024, 2, 28}, 1), (CivilDate{2024, 2, 29}));
    EXPECT_EQ(addDays({2025, 2, 28}, 1), (CivilDate{2025, 3, 1}));
    EXPECT_EQ(addDays({2100, 2, 28}, 1), (CivilDate{2100, 3, 1}));
    EXPECT_EQ(addDays({2000, 2, 28}, 1), (CivilDate{2000, 2, 29}));
    EXPECT_EQ(addDays({0, 12, 31}, 1), (CivilDate{1, 1, 1}));
    EXPECT_EQ(addDays({1, 3, 1}, -1), (CivilDate{1, 2, 28}));
    EXPECT_EQ(addDays({0, 3, 1}, -1), (CivilDate{0, 2, 29}));
    EXPECT_EQ(dayNumber({2000, 1, 1}), 2451544);
    EXPECT_EQ(isoDateText({2025, 1, 29}), "2025-01-29");
    EXPECT_EQ(isoDateText({-500, 3, 1}), "-0500-03-01");
    EXPECT_EQ(isoDateText({-32768, 12, 31}), "-32768-12-31");
}

TEST(CivilDates, MonthLengths) {
    struct Case {
        int year, month, days;
    };
    const Case cases[] = {
        {1996, 2, 29}, {2000, 2, 29}, {1900, 2, 28},  {2001, 2, 28}, {2100, 2, 28},
        {0, 2, 29},    {-4, 2, 29},   {-100, 2, 28},  {-400, 2, 29}, {-1, 2, 28},
        {2023, 1, 31}, {2023, 4, 30}, {2023, 12, 31},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(daysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
    }
    // Every month of every year the program takes is as long as its day numbers say, so the
    // month listing, the era text and the calendar page count the days the dates walk.
    for (int year = -32768; year <= 32767; ++year) {
        int total = 0;
        for (int month = 1; month <= 12; ++month) {
            const CivilDate next =
                month == 12 ? CivilDate{year + 1, 1, 1} : CivilDate{year, month + 1, 1};
            const int days = daysInMonth(year, month);
            ASSERT_EQ(days, dayNumber(next) - dayNumber({year, month, 1})) << year << "-" << month;
            total += days;
        }
        ASSERT_EQ(total, isLeapYear(year) ? 366 : 365) << year;
    }
}

TEST(YearText, WholeNumbersInTheSixteenBitRange) {
    EXPECT_EQ(parseYearText("2000"), 2000);
    EXPECT_EQ(parseYearText("-32768"), -32768);
    EXPECT_EQ(parseYearText("32767"), 32767);
    EXPECT_EQ(parseYearText("0"), 0);
    EXPECT_EQ(parseYearText("+12"), 12);
    EXPECT_EQ(yearText(-1), "-1");
    const char* bad[] = {"", "-", "20x0", "2000.5", " 2000", "32768", "-32769", "99999999999999"};
    for (const char* text : bad) {
        try {
            parseYearText(text);
            ADD_FAILURE() << "accepted \"" << text << "\"";
        } catch (const YearTextError& e) {
            EXPECT_NE(std::string(e.what()).find(std::string("\"") + text + "\""),
                      std::string::npos)
                << e.what();
        }
    }
}

} // namespace
} // namespace sorvane
