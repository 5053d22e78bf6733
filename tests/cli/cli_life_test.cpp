// sorvane-cli --life: every kind answers, the JSON document's shape, the calendar file and its
// UIDs, and bad input refused with a Japanese message and status 2.
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <unistd.h>

namespace sorvane::testing {
namespace {

using Json = nlohmann::json;

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

TEST(CliLife, EveryKindAnswersWithTheDocumentsShape) {
    const char* runs[] = {
        "--life お七夜 --date 2026-04-04",
        "--life おみやまいり --date 2026-04-04 --sex 女",
        "--life お食い初め --date 2026-04-04",
        "--life 初節句 --date 2026-04-04 --sex 男",
        "--life 七五三 --date 2026-04-04 --sex 女",
        "--life 十三参り --date 2014-04-04",
        "--life 成人 --date 2008-02-29",
        "--life 帯祝い --date 2027-05-01",
        "--life 厄年 --date 1990-02-02 --sex 女",
        "--life 厄年 --year 2026",
        "--life 法要 --date 2026-02-01",
        "--life 旧暦誕生日 --date 1950-08-15",
        "--life 旧暦命日 --date 2020-03-30 --year 2027 --years 5",
        "--life 年齢 --year 2026",
    };
    for (const char* args : runs) {
        const CliRun run = runCli(std::string(args) + " --today 2026-12-09 --json");
        ASSERT_EQ(run.status, 0) << args << ": " << run.err;
        const Json doc = Json::parse(run.out);
        for (const char* key : {"kind", "convention", "dates", "alternatives", "candidates"}) {
            EXPECT_TRUE(doc.contains(key)) << args << " " << key;
        }
        EXPECT_TRUE(doc.contains("date") || doc.contains("year")) << args;
        ASSERT_FALSE(doc["dates"].empty()) << args;
        for (const Json& d : doc["dates"]) {
            EXPECT_TRUE(d.contains("name")) << args;
            EXPECT_TRUE(d.contains("date") || d.contains("year")) << args;
        }
        for (const Json& c : doc["candidates"]) {
            for (const char* key : {"date", "weekday", "rokuyo", "reasons"}) {
                EXPECT_TRUE(c.contains(key)) << args << " " << key;
            }
            EXPECT_FALSE(c["reasons"].empty()) << args;
        }
        EXPECT_FALSE(doc["sources"].empty()) << args;
        // The report without --json names the kind and the sources.
        const CliRun text = runCli(std::string(args) + " --today 2026-12-09");
        ASSERT_EQ(text.status, 0) << args;
        EXPECT_NE(text.out.find(doc["kind"].get<std::string>()), std::string::npos) << args;
        EXPECT_NE(text.out.find("出典"), std::string::npos) << args;
    }
}

// The 法要 of kousenzi.net's worked example (died 2009-02-01), through the terminal program,
// with the 関西 alternative and the candidates of each.
TEST(CliLife, HoyoDocument) {
    const CliRun run = runCli("--life 法要 --date 2009-02-01 --json --today 2026-12-09");
    ASSERT_EQ(run.status, 0) << run.err;
    const Json doc = Json::parse(run.out);
    EXPECT_EQ(doc["kind"], "法要");
    EXPECT_EQ(doc["date"], "2009-02-01");
    ASSERT_EQ(doc["dates"].size(), 18U); // 8 忌日 and 10 年忌
    EXPECT_EQ(doc["dates"][0]["name"], "初七日");
    EXPECT_EQ(doc["dates"][0]["date"], "2009-02-07");
    EXPECT_EQ(doc["dates"][6]["date"], "2009-03-21");
    EXPECT_EQ(doc["dates"][7]["date"], "2009-05-11");
    EXPECT_EQ(doc["dates"][17]["name"], "五十回忌");
    EXPECT_EQ(doc["dates"][17]["date"], "2058-02-01");
    ASSERT_EQ(doc["alternatives"].size(), 1U);
    EXPECT_EQ(doc["alternatives"][0]["dates"][0]["date"], "2009-02-06");
    // Three candidates for each date, each on or before it.
    EXPECT_EQ(doc["candidates"].size(), 18U * 3U);
    EXPECT_EQ(doc["candidates"][0]["for"], "初七日");
    for (const Json& c : doc["candidates"]) {
        EXPECT_FALSE(c["reasons"].empty());
    }
}

TEST(CliLife, CalendarFileWithStableUids) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvane-life-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "family.ics";
    const std::string args =
        "--life 法要 --date 2026-02-01 --today 2026-12-09 --ics '" + file.string() + "'";
    const CliRun first = runCli(args);
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string text = readFile(file);
    const auto events = eventsByUid(parse(text).get());
    ASSERT_EQ(events.size(), 18U);
    const ParsedEvent& shonanoka = events.at("life-hoyo-shonanoka-2026-02-07@sorvane");
    EXPECT_EQ(shonanoka.summary, "初七日");
    EXPECT_TRUE(shonanoka.start.is_date);
    EXPECT_EQ(shonanoka.start.month * 100 + shonanoka.start.day, 207);
    EXPECT_TRUE(events.contains("life-hoyo-nanakaiki-2032-02-01@sorvane"));
    // Asked again, the same events with the same UIDs replace the file.
    const CliRun second = runCli(args);
    ASSERT_EQ(second.status, 0) << second.err;
    EXPECT_EQ(withoutStamps(readFile(file)), withoutStamps(text));
    // A person's 厄年 are whole years.
    const auto yaku = dir / "yaku.ics";
    ASSERT_EQ(runCli("--life 厄年 --date 2004-06-01 --sex 女 --ics '" + yaku.string() + "'").status,
              0);
    const auto years = eventsByUid(parse(readFile(yaku)).get());
    const ParsedEvent& honyaku = years.at("life-yakudoshi-honyaku-19-2022-2022-01-01@sorvane");
    EXPECT_EQ(honyaku.end.year * 10000 + honyaku.end.month * 100 + honyaku.end.day, 20230101);
    // --ics - writes the calendar instead of the report.
    const CliRun out = runCli("--life お食い初め --date 2026-04-04 --ics -");
    ASSERT_EQ(out.status, 0);
    EXPECT_TRUE(out.out.starts_with("BEGIN:VCALENDAR"));
    // A folder that does not exist: status 3, the file named.
    const CliRun bad = runCli("--life 法要 --date 2026-02-01 --today 2026-12-09 --ics '" +
                              (dir / "missing" / "x.ics").string() + "'");
    EXPECT_EQ(bad.status, 3);
    EXPECT_NE(bad.err.find("x.ics"), std::string::npos) << bad.err;
    // A table of a year has no dated events: refused, the old file left as it was.
    const std::string before = readFile(file);
    const CliRun table = runCli("--life 年齢 --year 2026 --ics '" + file.string() + "'");
    EXPECT_EQ(table.status, 2);
    EXPECT_NE(table.err.find("カレンダーファイルは作れません"), std::string::npos) << table.err;
    EXPECT_EQ(readFile(file), before);
    std::filesystem::remove_all(dir);
}

TEST(CliLife, BadInputIsRefusedInJapaneseWithStatusTwo) {
    struct Case {
        const char* args;
        const char* message; // a part of the message
    };
    const Case cases[] = {
        {"--life お食い初め --date 2026-02-30", "--date \"2026-02-30\"：日付が正しくありません"},
        {"--life お食い初め --date 2026-13-01", "日付が正しくありません"},
        {"--life お食い初め --date tomorrow", "日付が読めません"},
        {"--life 帯祝い --date 2027-10-10 --today 2026-12-09",
         "出産予定日が今日から300日より先です"},
        {"--life 法要 --date 2026-12-10 --today 2026-12-09", "命日が今日より後の日付です"},
        {"--life 旧暦命日 --date 2027-01-01 --today 2026-12-09", "命日が今日より後の日付です"},
        {"--life お宮参り --date 2026-04-04", "男か女の指定が必要です"},
        {"--life 七五三 --date 2026-04-04", "男か女の指定が必要です"},
        {"--life お宮参り --date 2026-04-04 --sex x", "--sex \"x\"：男 か 女"},
        {"--life お食い初め --date 1850-01-01", "計算範囲の外です"},
        {"--life 旧暦誕生日 --date 1899-06-01", "計算範囲の外です"},
        {"--life 年齢 --year 2200", "計算範囲の外です"},
        {"--life 年齢", "年が必要です"},
        {"--life 法要", "日付が必要です"},
        {"--life 結婚式 --date 2026-04-04", "--life \"結婚式\"：知らない行事です"},
        {"--life 法要 --date 2026-02-01 --date 2026-02-02", "--date が二度書かれています"},
        {"--life 法要 --date", "--date には値が必要です"},
        {"--life 法要 --date 2026-02-01 --month 3", "\"--month\"：--life と一緒には使えない"},
        {"--life 旧暦誕生日 --date 2000-01-01 --years 0", "--years \"0\"：1〜100"},
        {"--life 法要 --date 2026-02-01 --year 2027", "--year：法要では使えません"},
        {"--life 法要 --date 2026-02-01 --years 3", "--years：旧暦誕生日と旧暦命日のほかでは"},
        {"--life 年齢 --year 2026 --date 2026-01-01", "--date：年齢では使えません"},
    };
    for (const Case& c : cases) {
        const CliRun run = runCli(c.args);
        EXPECT_EQ(run.status, 2) << c.args;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.args << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.args;
    }
}

} // namespace
} // namespace sorvane::testing
