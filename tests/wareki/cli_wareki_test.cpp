// The terminal program's --wareki: the report and its JSON for a 和暦 date, a Gregorian and a
// Julian date, and the refusals (exit status 2 with the reason on standard error).
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using sorvane::testing::runCli;

TEST(CliWareki, OneDayFromEachKindOfInput) {
    struct Case {
        const char* args;
        const char* inputCalendar;
    };
    // 赤穂事件: 元禄15年12月14日 = Gregorian 1703-01-30 (see published_dates_test.cpp).
    for (const Case c : {Case{"--wareki 元禄15年12月14日 --json", "wareki"},
                         Case{"--json --wareki 1703-01-30", "gregorian"},
                         Case{"--wareki 1703-01-19 --julian --json", "julian"},
                         Case{"--wareki=元禄十五年十二月十四日 --json", "wareki"}}) {
        SCOPED_TRACE(c.args);
        const auto run = runCli(c.args);
        ASSERT_EQ(run.status, 0) << run.err;
        const auto j = nlohmann::json::parse(run.out);
        EXPECT_EQ(j["inputCalendar"], c.inputCalendar);
        EXPECT_EQ(j["jdn"], 2343097);
        EXPECT_EQ(j["gregorian"], "1703-01-30");
        EXPECT_EQ(j["julian"], "1703-01-19");
        EXPECT_EQ(j["historicalCalendar"], "gregorian");
        EXPECT_EQ(j["weekday"], "火");
        EXPECT_EQ(j["lunisolar"]["year"], 1702);
        EXPECT_EQ(j["lunisolar"]["month"], 12);
        EXPECT_EQ(j["lunisolar"]["leap"], false);
        EXPECT_EQ(j["lunisolar"]["day"], 14);
        EXPECT_EQ(j["lunisolar"]["source"], "table");
        EXPECT_EQ(j["rokuyo"], "先勝"); // (12 + 14) mod 6 = 2
        ASSERT_EQ(j["eras"].size(), 1U);
        EXPECT_EQ(j["eras"][0]["era"], "元禄");
        EXPECT_EQ(j["eras"][0]["reading"], "げんろく");
        EXPECT_EQ(j["eras"][0]["year"], 15);
        EXPECT_TRUE(j["eras"][0]["line"].is_null());
        EXPECT_EQ(j["wareki"], nlohmann::json::array({"元禄15年12月14日"}));
    }
}

TEST(CliWareki, TheReportSaysWhichCalendarEachDateIsIn) {
    // 本能寺の変, 天正10年6月2日 = Julian 1582-06-21: before 1582-10-15 the Julian date first.
    const auto run = runCli("--wareki 天正10年6月2日");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("和暦      天正10年6月2日\n"), std::string::npos) << run.out;
    const auto julian = run.out.find("ユリウス暦  1582-06-21 （当時の西暦）");
    const auto gregorian = run.out.find("グレゴリオ暦  1582-07-01 （先発グレゴリオ暦");
    EXPECT_NE(julian, std::string::npos) << run.out;
    EXPECT_NE(gregorian, std::string::npos) << run.out;
    EXPECT_LT(julian, gregorian);
    EXPECT_NE(run.out.find("当時の暦の表から"), std::string::npos) << run.out;

    // Both lines of 南北朝, and a day of 1873-1899 without a lunisolar date.
    const auto south = runCli("--wareki 1351-06-01 --julian --json");
    ASSERT_EQ(south.status, 0) << south.err;
    const auto j = nlohmann::json::parse(south.out);
    ASSERT_EQ(j["eras"].size(), 2U);
    EXPECT_EQ(j["eras"][0]["line"], "南朝");
    EXPECT_EQ(j["eras"][1]["line"], "北朝");
    const auto gap = nlohmann::json::parse(runCli("--wareki 1880-01-01 --json").out);
    EXPECT_TRUE(gap["lunisolar"].is_null());
    EXPECT_TRUE(gap["rokuyo"].is_null());
    EXPECT_EQ(gap["wareki"], nlohmann::json::array({"明治13年1月1日"}));
}

TEST(CliWareki, RefusalsSayWhyAndExitWithStatusTwo) {
    struct Case {
        const char* args;
        const char* message;
    };
    for (const Case c : {
             Case{"--wareki 元禄15年閏7月1日", "近い読みは「元禄15年7月1日」"},
             Case{"--wareki 元禄15年閏8月30日", "「元禄15年閏8月29日」または「元禄15年9月1日」"},
             Case{"--wareki 元禄17年4月1日", "「宝永元年4月1日」"},
             Case{"--wareki 1703-02-29", "グレゴリオ暦にない日付"},
             Case{"--wareki 1500-02-29", "グレゴリオ暦にない日付"},
             Case{"--wareki 1582年6月21日 --julian", "ユリウス暦の日付は 1582-06-21 のように"},
             Case{"--julian", "--julian needs --wareki"},
             Case{"--wareki 元禄15年12月14日 2026", "--wareki takes a date, not a YEAR"},
             Case{"--wareki 元禄15年12月14日 --days", "cannot be combined"},
             Case{"--wareki", "--wareki needs a value"},
         }) {
        SCOPED_TRACE(c.args);
        const auto run = runCli(c.args);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.out.empty()) << run.out;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    // 1500-02-29 is a day of the Julian calendar.
    EXPECT_EQ(runCli("--wareki 1500-02-29 --julian").status, 0);
}

} // namespace
