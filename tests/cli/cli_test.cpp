// The terminal program, run as a user runs it.
#include "support/test_support.h"
#include "tools/tsv_rows.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>

namespace {

using sorvane::testing::CliRun;
using sorvane::testing::runCli;

std::string readFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(TerminalProgram, YearReport) {
    const CliRun r = runCli("2000");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, readFile(std::string(SORVANE_SOURCE_DIR) + "/tests/data/year-2000.txt"));
    EXPECT_EQ(r.out.rfind("小　寒     06 日 10 時  00 分\n", 0), 0u);
    EXPECT_NE(r.out.find("\n\n1月 戊午\n2月 己丑\n"), std::string::npos);
    EXPECT_TRUE(r.out.ends_with("12月 癸巳\n"));
    EXPECT_EQ(r.out.find('\r'), std::string::npos);
}

// The recorded report's 28 moments lie within a minute of an independent ephemeris's
// (swetest, tests/data/year-2000-swetest.tsv from tools/year-swetest.py), rounded.
TEST(TerminalProgram, RecordedYearAgreesWithAnIndependentEphemeris) {
    const std::string dir = std::string(SORVANE_SOURCE_DIR) + "/tests/data/";
    const auto recorded = sorvane::testing::lines(readFile(dir + "year-2000.txt"));
    std::ifstream in(dir + "year-2000-swetest.tsv");
    const auto rows = sorvane::tsv::dataRows(in);
    ASSERT_EQ(rows.size(), 28u);
    ASSERT_GE(recorded.size(), 28u);
    const std::regex shown("(\\d\\d) 日 (\\d\\d) 時  (\\d\\d) 分$");
    for (std::size_t i = 0; i < 28; ++i) {
        std::istringstream fields(rows[i].text);
        double longitude = 0;
        std::string kind;
        int month = 0, day = 0, hour = 0, minute = 0, second = 0;
        ASSERT_TRUE(fields >> longitude >> kind >> month >> day >> hour >> minute >> second);
        std::smatch m;
        ASSERT_TRUE(std::regex_search(recorded[i], m, shown)) << recorded[i];
        const int line = (std::stoi(m[1]) * 24 + std::stoi(m[2])) * 60 + std::stoi(m[3]);
        const int reference = (day * 24 + hour) * 60 + minute + (second >= 30 ? 1 : 0);
        EXPECT_LE(std::abs(line - reference), 1) << recorded[i] << " vs " << rows[i].text;
        EXPECT_EQ(kind == "土用", recorded[i].starts_with("  土用")) << recorded[i];
    }
}

TEST(TerminalProgram, MonthListing) {
    const CliRun r = runCli("1984 --month 1");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("癸亥年\n1月乙丑\n\n1日(日)  甲午\n", 0), 0u) << r.out;
    EXPECT_TRUE(r.out.ends_with("31日(火)  甲子\n")) << r.out;
    const CliRun feb = runCli("--month=2 2000");
    EXPECT_EQ(feb.out.rfind("庚辰年\n2月戊寅\n\n1日(火)  己丑\n", 0), 0u) << feb.out;
}

TEST(TerminalProgram, JsonDocument) {
    const CliRun r = runCli("2000 --json");
    EXPECT_EQ(r.status, 0);
    const auto doc = nlohmann::json::parse(r.out);
    EXPECT_EQ(doc["year"], 2000);
    const auto& first = doc["events"].at(0);
    EXPECT_EQ(first["kind"], "節");
    EXPECT_EQ(first["name"], "小寒");
    EXPECT_EQ(first["longitude"], 285);
    EXPECT_EQ(first["jst"], (nlohmann::json{{"day", 6}, {"hour", 10}, {"minute", 0}}));
    EXPECT_EQ(doc["firstDays"].at(0),
              (nlohmann::json{{"month", 1}, {"sexagenary", "戊午"}, {"weekday", "土"}}));
    EXPECT_EQ(doc["events"].size(), 28u);
}

TEST(TerminalProgram, BadArgumentsExitWithTwoAndNameTheArgument) {
    struct Case {
        const char* args;
        const char* named;
    };
    const Case cases[] = {
        {"32768", "32768"},
        {"20x0", "20x0"},
        {"--month 13", "13"},
        {"--month", "--month"},
        {"--frobnicate", "--frobnicate"},
        {"2000 2001", "2001"},
        {"2000.5", "2000.5"},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, 2) << c.args;
        EXPECT_TRUE(r.out.empty()) << c.args;
        EXPECT_NE(r.err.find(c.named), std::string::npos) << c.args << ": " << r.err;
        EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    }
}

TEST(TerminalProgram, MissingDataFileIsOneLineAndStatusOne) {
    const auto dir = std::filesystem::temp_directory_path() / "sorvane-cli-empty-data";
    std::filesystem::create_directories(dir);
    const CliRun r = runCli("2000 --data '" + dir.string() + "'");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("planet.txt"), std::string::npos) << r.err;
    EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
    std::filesystem::remove_all(dir);
}

TEST(TerminalProgram, ExtremeYearsStillPrintTwentyEightLines) {
    for (const char* year : {"-32768", "-1", "0", "32767"}) {
        const CliRun r = runCli(year);
        EXPECT_EQ(r.status, 0) << year;
        EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 41) << year;
    }
}

TEST(TerminalProgram, HelpDescribesTheOptions) {
    const CliRun r = runCli("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* option : {"--month", "--json", "--data"}) {
        EXPECT_NE(r.out.find(option), std::string::npos) << option;
    }
}

} // namespace
