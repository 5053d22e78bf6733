// The terminal program's --days and --phases: the listing's fields, its range and its JSON.
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

using sorvane::testing::dayLine;
using sorvane::testing::lines;
using sorvane::testing::runCli;

TEST(DaysListing, LinesOfSampleYears) {
    struct Case {
        const char* year;
        std::size_t lineCount;
        const char* line; // one whole line of the listing
    };
    const std::vector<Case> cases = {
        {"2025", 365, "2025-01-29\t水\t戊戌\t1月1日\t先勝\t-\t朔 21:36、旧正月\t大潮"},
        {"2025", 365, "2025-03-20\t木\t戊子\t2月21日\t仏滅\t春分の日\t春分 18:01\t中潮"},
        {"2025", 365, "2025-07-25\t金\t乙未\t閏6月1日\t赤口\t-\t朔 04:11\t大潮"},
        {"2025", 365, "2025-02-02\t日\t壬寅\t1月5日\t大安\t-\t節分\t中潮"},
        {"2033", 365, "2033-12-22\t木\t丁未\t閏11月1日\t大安\t-\t朔 03:47\t大潮"},
        {"2024", 366, "2024-02-29\t木\t癸亥\t1月20日\t友引\t-\t-\t中潮"},
        // Outside the lunisolar range: no lunisolar fields.
        {"1899", 365, "1899-01-01\t日\t己巳\t-\t-\t-\t-\t-"},
    };
    for (const Case& c : cases) {
        const auto run = runCli(std::string(c.year) + " --days");
        ASSERT_EQ(run.status, 0) << run.err;
        const auto listing = lines(run.out);
        EXPECT_EQ(listing.size(), c.lineCount) << c.year;
        const std::string line(c.line);
        EXPECT_EQ(dayLine(listing, line.substr(0, line.find('\t'))), line);
    }
    // Beyond the precise mode's reach the moments are the default report's.
    const auto report = lines(runCli("3500").out);
    const std::string shunbun = report.at(6); // "春　分     21 日 07 時  59 分"
    ASSERT_EQ(shunbun.rfind("春　分", 0), 0u) << shunbun;
    const std::string day = shunbun.substr(shunbun.find("日") - 3, 2);
    const std::string hour = shunbun.substr(shunbun.find("時") - 3, 2);
    const std::string minute = shunbun.substr(shunbun.rfind("分") - 3, 2);
    const std::string line = dayLine(lines(runCli("3500 --days").out), "3500-03-" + day);
    const std::string tail = "\t-\t-\t-\t春分 " + hour + ":" + minute + "\t-"; // no 潮名
    ASSERT_GT(line.size(), tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail) << line;
}

TEST(DaysListing, PhasesInTimeOrderAndRange) {
    const auto run = runCli("2025 --phases");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto phases = lines(run.out);
    ASSERT_EQ(phases.size(), 49u);
    EXPECT_EQ(phases[3], "01-29 21:36  朔");
    // A phase near a minute's edge: 10:36 as swetest's JPL-based ephemeris has it.
    EXPECT_EQ(phases[14], "04-21 10:36  下弦");
    EXPECT_EQ(run.err, "");
    for (std::size_t i = 1; i < phases.size(); ++i) {
        EXPECT_LT(phases[i - 1].substr(0, 11), phases[i].substr(0, 11));
    }
    // The phases reach the precise mode's years, with its uncertainty note outside
    // 1900..2100 (TT - UT before the telescope), and stop where it stops.
    const struct {
        const char* year;
        int status;
        const char* err; // a part of the one line on standard error, "" for none
    } cases[] = {
        {"1899", 0, ""},
        {"2101", 0, ""},
        {"-1999", 0, "注：この年の時刻は±"},
        {"3000", 0, "注：この年の時刻は±"},
        {"-2000", 2, "-1999..3000"},
        {"3001", 2, "-1999..3000"},
    };
    for (const auto& c : cases) {
        const auto r = runCli(std::string(c.year) + " --phases");
        EXPECT_EQ(r.status, c.status) << c.year << ": " << r.err;
        EXPECT_EQ(lines(r.err).size(), std::string(c.err).empty() ? 0u : 1u) << c.year;
        EXPECT_NE(r.err.find(c.err), std::string::npos) << c.year << ": " << r.err;
        if (c.status == 0) {
            EXPECT_GE(lines(r.out).size(), 48u) << c.year;
        }
    }
}

TEST(DaysListing, JsonDocument) {
    const auto run = runCli("2025 --days --phases --json");
    ASSERT_EQ(run.status, 0) << run.err;
    const auto doc = nlohmann::json::parse(run.out);
    ASSERT_EQ(doc["days"].size(), 365u);
    EXPECT_EQ(doc["phases"].size(), 49u);
    const auto& day = doc["days"][28];
    EXPECT_EQ(day["date"], "2025-01-29");
    EXPECT_EQ(day["sexagenary"], "戊戌");
    for (const auto& d : doc["days"]) {
        ASSERT_TRUE(d.contains("sexagenary")) << d["date"];
        EXPECT_EQ(d["kanshi"], d["sexagenary"]) << d["date"]; // the former key, kept as an alias
    }
    EXPECT_EQ(day["lunar"]["month"], 1);
    EXPECT_EQ(day["lunar"]["leap"], false);
    EXPECT_EQ(day["rokuyo"], "先勝");
    EXPECT_EQ(day["events"][0]["jst"], "2025-01-29T21:36+09:00");
    EXPECT_TRUE(day["events"][1]["jst"].is_null());
    EXPECT_EQ(doc["days"][205]["lunar"]["leap"], true); // 07-25
    const auto outside = nlohmann::json::parse(runCli("1899 --days --json").out);
    EXPECT_TRUE(outside["days"][0]["lunar"].is_null());
    EXPECT_TRUE(outside["days"][0]["rokuyo"].is_null());
}

} // namespace
