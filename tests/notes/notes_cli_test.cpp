// The terminal program's --notes: the day lines, the JSON document's keys, the 選日 as an
// iCalendar file, and the options it refuses.
#include "support/ics_reading.h"
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>
#include <string>
#include <unistd.h>

namespace {

using sorvane::testing::lines;
using sorvane::testing::runCli;

TEST(NotesCli, LinesJsonAndCalendar) {
    const auto text = runCli("2026 --notes");
    ASSERT_EQ(text.status, 0) << text.err;
    const auto listing = lines(text.out);
    ASSERT_EQ(listing.size(), 365u);
    // 2026-03-05 is both 天赦日 and 一粒万倍日 (新日本カレンダー's list); 2026-02-04 立春.
    EXPECT_EQ(
        listing[0],
        "2026-01-01\t木\t戊子\t乙亥\t閉\t井\t三碧木星\t一粒万倍日、不成就日\t12.1\t-\t重日\t中潮");
    EXPECT_EQ(listing[34], "2026-02-04\t水\t庚寅\t己酉\t危\t軫\t一白水星\t-\t16."
                           "3\t東風解凍\t大明日、天恩日、十死日\t大潮");
    for (const std::string& line : listing) {
        EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 11) << line;
    }
    EXPECT_EQ(lines(runCli("2024 --notes").out).size(), 366u);

    const auto json = runCli("2026 --notes --json");
    ASSERT_EQ(json.status, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["year"], 2026);
    EXPECT_EQ(doc["yearKyusei"], "一白水星");
    EXPECT_EQ(doc["eho"], "南南東");
    ASSERT_EQ(doc["days"].size(), 365u);
    const std::set<std::string> keys{
        "date",      "monthSexagenary", "daySexagenary", "choku",   "shuku",
        "kyusei",    "monthKyusei",     "senjitsu",      "moonAge", "kou",
        "festivals", "gedan",           "shio"};
    for (const auto& day : doc["days"]) {
        std::set<std::string> got;
        for (const auto& [key, value] : day.items()) {
            got.insert(key);
        }
        ASSERT_EQ(got, keys) << day.dump();
    }
    const auto& march5 = doc["days"][63];
    EXPECT_EQ(march5["date"], "2026-03-05");
    EXPECT_EQ(march5["senjitsu"],
              nlohmann::json::array({"一粒万倍日", "天赦日", "寅の日", "三隣亡"}));
    EXPECT_EQ(march5["kou"], "蟄虫啓戸");
    // 2026-03-15 (戊子 in 卯月, the 戊 day before a 癸 春分): 母倉日 and 社日; 旧1月27日 中潮.
    EXPECT_EQ(doc["days"][73]["gedan"], nlohmann::json::array({"母倉日", "社日"}));
    EXPECT_EQ(doc["days"][73]["shio"], "中潮");
    EXPECT_TRUE(doc["days"][0]["kou"].is_null());
    EXPECT_TRUE(runCli("1850 --notes --json").out.find("\"moonAge\": null") != std::string::npos);

    const auto dir =
        std::filesystem::temp_directory_path() / ("sorvane-notes-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto file = dir / "senjitsu.ics";
    const auto ics = runCli("2026 --notes --ics '" + file.string() + "'");
    ASSERT_EQ(ics.status, 0) << ics.err;
    EXPECT_EQ(ics.out, text.out);
    std::stringstream written;
    written << std::ifstream(file).rdbuf();
    std::filesystem::remove_all(dir);
    const auto calendar = sorvane::testing::parse(written.str());
    ASSERT_TRUE(calendar);
    const auto events = sorvane::testing::eventsByUid(calendar.get());
    int tensha = 0;
    for (const auto& [uid, e] : events) {
        tensha += uid.rfind("senjitsu-tensha-", 0) == 0 ? 1 : 0;
    }
    EXPECT_EQ(tensha, 6);
    ASSERT_EQ(events.count("senjitsu-tensha-2026-03-05@sorvane"), 1u);
    EXPECT_EQ(events.at("senjitsu-tensha-2026-03-05@sorvane").summary, "天赦日");
    EXPECT_NE(written.str().find("CATEGORIES:選日\r\nCATEGORIES:天赦日\r\n"), std::string::npos);
}

TEST(NotesCli, RefusedCombinations) {
    for (const char* args :
         {"2026 --notes --days", "2026 --notes --precise", "2026 --notes --month 3",
          "2026 --notes --holidays", "2026 --notes --phases", "2026 --notes --zassetsu",
          "2026 --notes --notes", "0 --notes --ics x.ics", "8456 --notes", "-14303 --notes"}) {
        const auto run = runCli(args);
        EXPECT_EQ(run.status, 2) << args;
        EXPECT_NE(run.err.find("--"), std::string::npos) << args << ": " << run.err;
    }
}

// --find answers to the 下段 by name, with the 六曜 (the day search reads the notes' names):
// 社日 of 2026 on 15 March (アトリエピジョン's 2026 list, tests/notes/notes_gedan_test.cpp) and
// 21 September, and 大安 that are also 母倉日 (2026-01-07: 大安, 丑月 午の日).
TEST(NotesCli, FindGedan) {
    const auto shanichi = runCli("--find 社日 --from 2026-01-01 --to 2026-12-31");
    ASSERT_EQ(shanichi.status, 0) << shanichi.err;
    EXPECT_EQ(lines(shanichi.out),
              (std::vector<std::string>{"2026-03-15\t日\t社日", "2026-09-21\t月\t社日"}));
    const auto both = runCli("--find '大安 母倉日' --from 2026-01-01 --to 2026-01-31");
    ASSERT_EQ(both.status, 0) << both.err;
    ASSERT_FALSE(lines(both.out).empty());
    EXPECT_EQ(lines(both.out)[0], "2026-01-07\t水\t大安\t母倉日");
}

// --find knows the 潮名 (a kind of their own, also written 潮名:NAME), the 天徳日 and the
// 下段's cell marks.
// The lunisolar dates of January-February 2026: 朔 on 2025-12-20, 2026-01-19 and 2026-02-17
// (国立天文台 暦要項 2026; brown.velvet.jp/uranai/kyureki.html lists 2026-01-01 as 旧11月13日
// and 2026-01-18 as 旧11月30日), so 大潮 (旧14〜17日, 29〜2日 in 海上保安庁's table) falls on
// 1月2〜5日 and 17〜20日, 長潮 (旧10日, 25日) on 1月13日, 28日, 2月12日 and 26日. 天徳日 of the
// 寅月 (立春 2月4日 to 啓蟄 3月5日) are its 丁 days: 丁巳 2月12日, 丁卯 22日, 丁丑 3月4日
// (tests/notes/notes_gedan_test.cpp). 大安 and 母倉日: 2026-01-07 (FindGedan).
TEST(NotesCli, FindShioAndTentoku) {
    struct Case {
        const char* args;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"--find '大潮 土' --from 2026-01-01 --to 2026-01-31",
         {"2026-01-03\t土\t大潮\t土", "2026-01-17\t土\t大潮\t土"}},
        {"--find 潮名:長潮 --from 2026-01-01 --to 2026-02-28",
         {"2026-01-13\t火\t長潮", "2026-01-28\t水\t長潮", "2026-02-12\t木\t長潮",
          "2026-02-26\t木\t長潮"}},
        {"--find '天徳日' --from 2026-02-04 --to 2026-03-04",
         {"2026-02-12\t木\t天徳日", "2026-02-22\t日\t天徳日", "2026-03-04\t水\t天徳日"}},
        {"--find '大安 母倉' --from 2026-01-07 --to 2026-01-07", {"2026-01-07\t水\t大安\t母倉日"}},
    };
    for (const Case& c : cases) {
        const auto run = runCli(c.args);
        ASSERT_EQ(run.status, 0) << c.args << ": " << run.err;
        EXPECT_EQ(lines(run.out), c.lines) << c.args;
    }
    // Beyond the lunisolar calendar no day has a 潮名: none is found, and a note says why.
    const auto late = runCli("--find 大潮 --from 2101-01-01 --to 2101-01-31");
    ASSERT_EQ(late.status, 0) << late.err;
    EXPECT_TRUE(late.out.empty()) << late.out;
    EXPECT_NE(late.err.find("1900..2100"), std::string::npos) << late.err;
}

// --days ends each line with the 潮名 of its lunisolar day (旧11月13日 中潮, 旧11月14日 大潮:
// the 海上保安庁 table, tests/notes/notes_shio_test.cpp), "-" where there is no lunisolar date,
// and its JSON days carry "shio".
TEST(NotesCli, DaysShio) {
    const auto text = runCli("2026 --days");
    ASSERT_EQ(text.status, 0) << text.err;
    const auto listing = lines(text.out);
    ASSERT_EQ(listing.size(), 365u);
    EXPECT_EQ(listing[0], "2026-01-01\t木\t乙亥\t11月13日\t大安\t元日\t-\t中潮");
    EXPECT_EQ(listing[1].substr(listing[1].rfind('\t') + 1), "大潮");
    const auto json = runCli("2026 --days --json");
    ASSERT_EQ(json.status, 0) << json.err;
    const auto doc = nlohmann::json::parse(json.out);
    EXPECT_EQ(doc["days"][0]["shio"], "中潮");
    const auto old = runCli("-1500 --days --json");
    ASSERT_EQ(old.status, 0) << old.err;
    EXPECT_TRUE(nlohmann::json::parse(old.out)["days"][0]["shio"].is_null());
}

// --feed shio: the 潮名 of every day as an all-day event, UID shio-DATE, within the lunisolar
// calendar's years.
TEST(NotesCli, FeedShio) {
    const auto feed = runCli("--feed shio --from 2026 --to 2026");
    ASSERT_EQ(feed.status, 0) << feed.err;
    std::vector<std::string> summaries;
    std::size_t uids = 0;
    for (const std::string& line : lines(feed.out)) {
        if (line.rfind("SUMMARY:", 0) == 0) {
            summaries.push_back(line.substr(8, line.size() - 9)); // less the CR
        }
        if (line.rfind("UID:shio-", 0) == 0) {
            ++uids;
        }
    }
    ASSERT_EQ(summaries.size(), 365u);
    EXPECT_EQ(uids, 365u);
    EXPECT_EQ(summaries[0], "中潮"); // 旧11月13日
    EXPECT_EQ(summaries[1], "大潮"); // 旧11月14日
    EXPECT_NE(feed.out.find("UID:shio-2026-12-31@sorvane"), std::string::npos);
    const auto refused = runCli("--feed shio --from 1850 --to 1850");
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("the shio feed covers the years 1900..2100"), std::string::npos);
}

} // namespace
