// sorvane-cli --eclipses: the 2030 annular eclipse for 札幌 and 東京 in the report, the JSON
// document's seconds, the calendar file, and the refusals of bad input (status 2, Japanese).
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace {

using sorvane::testing::runCli;

TEST(EclipsesCli, ReportAndDocumentOf2030) {
    const auto sapporo = runCli("--eclipses 2030 --place 札幌");
    ASSERT_EQ(sapporo.status, 0) << sapporo.err;
    EXPECT_NE(sapporo.out.find("2030-06-01 金環日食"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("札幌：金環日食"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("食の始め　  15:41"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("2030-06-16 部分月食"), std::string::npos) << sapporo.out;
    EXPECT_NE(sapporo.out.find("（地平線下）"), std::string::npos) << sapporo.out;
    const auto tokyo = runCli("--eclipses 2030 --json");
    ASSERT_EQ(tokyo.status, 0) << tokyo.err;
    EXPECT_NE(tokyo.out.find("\"name\": \"東京\""), std::string::npos);
    EXPECT_NE(tokyo.out.find("\"kind\": \"部分日食\""), std::string::npos) << tokyo.out;
    EXPECT_NE(tokyo.out.find("2030-06-01T15:"), std::string::npos) << tokyo.out;
}

TEST(EclipsesCli, CalendarFile) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("sorvane-eclipses-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::filesystem::path file = dir / "e.ics";
    const auto run = runCli("--eclipses 2035 --place 長野 --ics " + file.string());
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("UID:eclipse-solar-2035-09-02@sorvane"), std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("皆既日食（長野）"), std::string::npos);
    std::filesystem::remove_all(dir);
}

TEST(EclipsesCli, BadInputRefusedInJapanese) {
    struct Case {
        const char* args;
        const char* message;
    };
    const Case cases[] = {
        {"--eclipses 3001", "-1999〜3000"},
        {"--eclipses abc", "の年を書いてください"},
        {"--eclipses", "には値が必要です"},
        {"--eclipses 2030 --place 月面", "知らない地点です"},
        {"--eclipses 2030 --month 6", "--eclipses とは使えない引数です"},
    };
    for (const Case& c : cases) {
        const auto run = runCli(c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
}

} // namespace
