// The terminal program's --precise and --zassetsu, their range and their JSON.
#include "cli/options.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace sorvane::cli {
namespace {

TEST(PreciseOptions, ParsedWithTheOtherOptions) {
    const Options o =
        parseArguments({"2025", "--precise", "--zassetsu", "--ics", "x.ics", "--json"}, 2000);
    EXPECT_EQ(o.year, 2025);
    EXPECT_TRUE(o.precise);
    EXPECT_TRUE(o.zassetsu);
    EXPECT_TRUE(o.json);
    ASSERT_TRUE(o.icsFile.has_value());
    EXPECT_EQ(o.icsFile->string(), "x.ics");
    EXPECT_EQ(parseArguments({"--ics=y.ics"}, 2000).icsFile->string(), "y.ics");
    const Options plain = parseArguments({"2025"}, 2000);
    EXPECT_FALSE(plain.precise);
    EXPECT_FALSE(plain.zassetsu);
    EXPECT_FALSE(plain.icsFile.has_value());
    EXPECT_THROW(parseArguments({"--ics"}, 2000), UsageError);
    EXPECT_THROW(parseArguments({"--ics="}, 2000), UsageError);
}

TEST(PreciseOptions, RangeIsMinus1999To3000) {
    EXPECT_NO_THROW(parseArguments({"-1999", "--precise"}, 2000));
    EXPECT_NO_THROW(parseArguments({"3000", "--precise"}, 2000));
    EXPECT_NO_THROW(parseArguments({"3001"}, 2000)); // the default mode has no such limit
    for (const char* year : {"-2000", "3001", "32767"}) {
        try {
            parseArguments({"--precise", year}, 2000);
            ADD_FAILURE() << year << " accepted";
        } catch (const UsageError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("-1999..3000"), std::string::npos) << what;
            EXPECT_NE(what.find(year), std::string::npos) << what;
        }
    }
    // The default year (the clock's) is checked too.
    EXPECT_THROW(parseArguments({"--precise"}, 3050), UsageError);
    // A clock after 32767 is refused, not wrapped to a negative year; a given year still runs.
    EXPECT_THROW(parseArguments({}, 40000), UsageError);
    EXPECT_THROW(parseArguments({"--json"}, -32769), UsageError);
    EXPECT_EQ(parseArguments({"2025"}, 40000).year, 2025);
}

TEST(DaysCli, NamesTheModeOfItsMomentsAndTheirUncertainty) {
    const std::pair<const char*, const char*> cases[] = {
        {"2025", "the times are the precise mode's (as --precise)\n"},
        {"3000", "the times are the precise mode's (as --precise); "
                 "注：この年の時刻は±5分ほどずれることがあります\n"},
        {"-1999", "the times are the precise mode's (as --precise); "
                  "注：この年の時刻は±28分ほどずれることがあります\n"},
        {"3001", "the times are the default theory's (the precise mode covers -1999..3000)\n"},
    };
    for (const auto& [year, note] : cases) {
        const auto run = testing::runCli(std::string(year) + " --days");
        EXPECT_EQ(run.status, 0) << year;
        EXPECT_EQ(run.err, std::string("sorvane-cli: note: ") + note) << year;
        const auto json =
            nlohmann::json::parse(testing::runCli(std::string(year) + " --days --json").out);
        const std::string noted = json.value("note", "");
        EXPECT_EQ(noted.empty(), std::string(note).find("注") == std::string::npos) << year;
        EXPECT_NE(std::string(note).find(noted), std::string::npos) << year;
    }
    // The same note as --precise prints under its report.
    EXPECT_NE(testing::runCli("3000 --precise")
                  .out.find("注：この年の時刻は±5分ほどずれることがあります"),
              std::string::npos);
}

TEST(HolidaysCli, ZassetsuFollowTheHolidaysAndTheEmptyListSaysWhy) {
    const auto both = testing::runCli("2025 --holidays --zassetsu");
    ASSERT_EQ(both.status, 0) << both.err;
    EXPECT_EQ(
        both.out,
        testing::runCli("2025 --holidays").out + "\n" +
            testing::runCli("2025 --zassetsu").out.substr(testing::runCli("2025").out.size() + 1));
    // A drifted year prints no events with --holidays, so no drift warning; just the note.
    const auto far = testing::runCli("-32768 --holidays");
    EXPECT_EQ(far.status, 0);
    EXPECT_EQ(far.err, "sorvane-cli: no national holidays before 1948-07-20, the day the "
                       "holiday law took effect\n");
    const auto json = nlohmann::json::parse(testing::runCli("1947 --holidays --json").out);
    EXPECT_EQ(json["holidays"], nlohmann::json::array());
    EXPECT_EQ(json["holidaysNote"], "no national holidays before 1948-07-20, the day the "
                                    "holiday law took effect");
    EXPECT_FALSE(nlohmann::json::parse(testing::runCli("2025 --holidays --json").out)
                     .contains("holidaysNote"));
}

TEST(PreciseCli, OutOfRangeYearGivesOneLineAndStatus2) {
    const auto run = testing::runCli("3001 --precise");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    EXPECT_EQ(testing::lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find("3001"), std::string::npos);
    EXPECT_EQ(testing::runCli("3001").status, 0);
}

TEST(PreciseCli, ZassetsuAppendsAfterTheUnchangedReport) {
    const auto plain = testing::runCli("2025");
    const auto with = testing::runCli("2025 --zassetsu");
    ASSERT_EQ(with.status, 0) << with.err;
    ASSERT_EQ(with.out.rfind(plain.out, 0), 0u); // 28 lines, first days, as before
    const auto extra = testing::lines(with.out.substr(plain.out.size()));
    ASSERT_FALSE(extra.empty());
    EXPECT_EQ(extra[0], "");
    const std::vector<std::string> expected = {
        "02-02        節分",           "03-17        春の彼岸入り", "03-23        春の彼岸明け",
        "05-01        八十八夜",       "08-31        二百十日",     "09-10        二百二十日",
        "09-20        秋の彼岸入り",   "09-26        秋の彼岸明け", "07-19        夏の土用 一の丑",
        "07-31        夏の土用 二の丑"};
    for (const auto& line : expected) {
        EXPECT_NE(std::find(extra.begin(), extra.end(), line), extra.end()) << line;
    }
    bool nyuubai = false;
    bool hangeshou = false;
    for (const auto& line : extra) {
        nyuubai |= line.rfind("06-11 ", 0) == 0 && line.find("入梅") != std::string::npos;
        hangeshou |= line.rfind("07-01 ", 0) == 0 && line.find("半夏生") != std::string::npos;
    }
    EXPECT_TRUE(nyuubai);
    EXPECT_TRUE(hangeshou);
    // Dated lines in time order.
    for (std::size_t i = 2; i < extra.size(); ++i) {
        EXPECT_LE(extra[i - 1].substr(0, 11), extra[i].substr(0, 11)) << extra[i];
    }
    // The precise report keeps the same layout after its own 28 lines.
    const auto precise = testing::runCli("2025 --precise --zassetsu");
    ASSERT_EQ(precise.status, 0);
    EXPECT_EQ(testing::lines(precise.out).size(), testing::lines(with.out).size());
}

TEST(PreciseCli, JsonSaysWhichMode) {
    const auto def = testing::runCli("2025 --json");
    const auto pre = testing::runCli("2025 --json --precise");
    ASSERT_EQ(pre.status, 0) << pre.err;
    const auto defDoc = nlohmann::json::parse(def.out);
    const auto preDoc = nlohmann::json::parse(pre.out);
    EXPECT_EQ(defDoc["mode"], "default");
    EXPECT_EQ(preDoc["mode"], "precise");
    EXPECT_FALSE(defDoc.contains("zassetsu"));
    EXPECT_EQ(preDoc["events"].at(3)["line"], "立　春     03 日 23 時  10 分");
    const auto with = nlohmann::json::parse(testing::runCli("2025 --json --zassetsu").out);
    ASSERT_TRUE(with["zassetsu"].is_array());
    const auto& items = with["zassetsu"];
    const auto setsubun = *std::find_if(items.begin(), items.end(),
                                        [](const auto& item) { return item["id"] == "setsubun"; });
    EXPECT_EQ(setsubun["kind"], "day");
    EXPECT_EQ(setsubun["id"], "setsubun");
    EXPECT_EQ(setsubun["name"], "節分");
    EXPECT_EQ(setsubun["date"], "2025-02-02");
    // Without --zassetsu the default document is the one the program always printed.
    EXPECT_EQ(testing::runCli("2025 --json --ics /dev/null").out, def.out);
}

} // namespace
} // namespace sorvane::cli
