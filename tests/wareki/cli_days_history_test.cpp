// --days before 1873: the lunisolar date and 六曜 of the historical calendar, said to be so on
// standard error and in the JSON; 1873-1899 keep none.
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using sorvane::testing::dayLine;
using sorvane::testing::lines;
using sorvane::testing::runCli;

TEST(CliDaysHistory, TheHistoricalCalendarBefore1873) {
    struct Case {
        const char* year;
        const char* line;
        bool note;
    };
    const Case cases[] = {
        // 赤穂事件 (published_dates_test.cpp): (12 + 14) mod 6 = 2, 先勝.
        {"1703", "1703-01-30\t火\t庚寅\t12月14日\t先勝\t-\t-\t大潮", true},
        {"1702", "1702-09-22\t金\t庚辰\t閏8月1日\t友引\t-\t-\t大潮", true}, // (8 + 1) mod 6 = 3
        {"1872", "1872-12-31\t火\t壬子\t12月2日\t先勝\t-\t-\t大潮",
         true},                                                 // the calendar's last day
        {"1873", "1873-01-01\t水\t癸丑\t-\t-\t-\t-\t-", false}, // the Gregorian calendar
        {"1899", "1899-01-01\t日\t己巳\t-\t-\t-\t-\t-", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.year);
        const auto run = runCli(std::string(c.year) + " --days");
        ASSERT_EQ(run.status, 0) << run.err;
        const std::string line(c.line);
        EXPECT_EQ(dayLine(lines(run.out), line.substr(0, line.find('\t'))), line);
        EXPECT_EQ(run.err.find("historical calendar") != std::string::npos, c.note) << run.err;
    }
}

TEST(CliDaysHistory, TheJsonSaysWhichDatesAreHistorical) {
    const auto old = nlohmann::json::parse(runCli("1703 --days --json").out);
    EXPECT_EQ(old["historicalLunisolar"], true);
    EXPECT_EQ(old["lunisolar"], false); // no computed calendar that year
    const auto& day = old["days"][29];
    EXPECT_EQ(day["date"], "1703-01-30");
    EXPECT_EQ(day["lunar"]["month"], 12);
    EXPECT_EQ(day["lunar"]["day"], 14);
    EXPECT_EQ(day["lunar"]["monthLength"], 30);
    EXPECT_EQ(day["lunar"]["historical"], true);
    EXPECT_EQ(day["rokuyo"], "先勝");
    const auto now = nlohmann::json::parse(runCli("2025 --days --json").out);
    EXPECT_EQ(now["historicalLunisolar"], false);
    EXPECT_EQ(now["days"][28]["lunar"]["historical"], false);
}

} // namespace
