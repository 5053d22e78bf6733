// The terminal program's --find: its arguments, its three outputs and its refusals.
#include "cli/options.h"
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace sorvane::cli {
namespace {

TEST(FindOptions, RangeDefaultsAndRefusals) {
    const Options o = parseArguments({"--find", "大安"}, 2026, CivilDate{2026, 2, 10});
    EXPECT_EQ(o.from, (CivilDate{2026, 2, 10}));
    // The default range is a year: to the day before the same date a year later.
    EXPECT_EQ(o.to, (CivilDate{2027, 2, 9}));
    EXPECT_EQ(parseArguments({"--find", "大安", "--from", "2024-02-29"}, 2026).to,
              (CivilDate{2025, 2, 28}));
    // A query may begin with a negated word, a date with a year before 1.
    EXPECT_EQ(parseArguments({"--find", "-仏滅 日"}, 2026).find->words.front().text, "-仏滅");
    EXPECT_EQ(parseArguments({"--find", "大安", "--from", "-0500-03-01"}, 2026).from.year, -500);
    // Each bad argument is refused with its own name in the message.
    const std::vector<std::pair<std::vector<std::string>, std::string>> bad = {
        {{"--find", "大安", "--from", "2026-02-30"}, "2026-02-30"},
        {{"--find", "大安", "--to", "2026-1-01"}, "2026-1-01"},
        {{"--find", "大安", "--from", "2026-05-01", "--to", "2026-04-30"}, "2026-04-30"},
        {{"--from", "2026-01-01"}, "--find"},
        {{"--find", "--json"}, "--json"},
        {{"--find", "大安", "2026"}, "year"},
        {{"--find", "大安", "--days"}, "--days"},
        {{"--find", "大安", "--sun"}, "--sun"},
        {{"--find", "大安", "--lat", "35"}, "--lat"},
        {{"--find", "仏滅|危"}, "十二直:危"},
        {{"--find", "大安", "--ics", "x.ics", "--from", "0000-12-01"}, "1..9999"},
        // A long word is cut in the message, which keeps its reason.
        {{"--find", "十二直:" + std::string(1500, 'x')}, ": no 十二直 is named \"xxx"},
    };
    for (const auto& [args, named] : bad) {
        try {
            parseArguments(args, 2026);
            ADD_FAILURE() << args.back() << " accepted";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(named), std::string::npos) << e.what();
        }
    }
}

TEST(FindCli, ListsJsonAndCalendarAgree) {
    const std::string range = " --from 2026-01-01 --to 2026-12-31";
    const auto text = testing::runCli("--find '天赦日 一粒万倍日'" + range);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(testing::lines(text.out),
              (std::vector<std::string>{
                  "2026-03-05\t木\t天赦日\t一粒万倍日", "2026-07-19\t日\t天赦日\t一粒万倍日",
                  "2026-10-01\t木\t天赦日\t一粒万倍日", "2026-12-16\t水\t天赦日\t一粒万倍日"}));

    const std::filesystem::path ics =
        std::filesystem::temp_directory_path() / "sorvane-find-test.ics";
    const auto json =
        testing::runCli("--find '天赦日 一粒万倍日' --json --ics " + ics.string() + range);
    ASSERT_EQ(json.status, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["count"], 4);
    EXPECT_EQ(doc["days"][2]["date"], "2026-10-01");
    EXPECT_EQ(doc["days"][2]["notes"], (std::vector<std::string>{"天赦日", "一粒万倍日"}));
    std::ifstream in(ics);
    std::stringstream file;
    file << in.rdbuf();
    std::filesystem::remove(ics);
    EXPECT_NE(file.str().find("DTSTART;VALUE=DATE:20261001"), std::string::npos);
    EXPECT_NE(file.str().find("SUMMARY:天赦日・一粒万倍日"), std::string::npos);
}

TEST(FindCli, BadWordsAndUncoveredYears) {
    const auto ambiguous = testing::runCli("--find '大安 危'");
    EXPECT_EQ(ambiguous.status, 2);
    EXPECT_NE(ambiguous.err.find("二十八宿:危"), std::string::npos) << ambiguous.err;
    const auto unknown = testing::runCli("--find 吉日");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("\"吉日\""), std::string::npos) << unknown.err;

    // Past 2100 the 六曜 are not known: the days there cannot match, and a note says so.
    const auto past = testing::runCli("--find 大安 --from 2100-12-20 --to 2101-01-31");
    ASSERT_EQ(past.status, 0) << past.err;
    for (const std::string& line : testing::lines(past.out)) {
        EXPECT_EQ(line.substr(0, 4), "2100") << line;
    }
    EXPECT_FALSE(past.out.empty());
    EXPECT_NE(past.err.find("2101-01-01 to 2101-01-31"), std::string::npos) << past.err;
}

} // namespace
} // namespace sorvane::cli
