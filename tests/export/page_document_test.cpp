// The documents the web page reads (export/page_document.h), key by key, against facts
// published independently of this program:
// - the national holidays of 2026: 内閣府「令和8年（2026年）の国民の祝日・休日」;
// - the solar terms of 2026 to the minute: 国立天文台 暦要項 令和8年 (二十四節気);
// - the Moon's phases: NASA GSFC "Phases of the Moon 2001 to 2100" (F. Espenak), in UT, plus
//   9 h for JST;
// - 六曜 from the lunar date by the almanac makers' rule ((旧月 + 旧日) mod 6: 0 大安,
//   1 赤口, 2 先勝, 3 友引, 4 先負, 5 仏滅), the lunar months beginning on the JST days of
//   the new moons above;
// - the weekday of a date from std::chrono's civil calendar (not the program's).
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "export/page_document.h"
#include "support/test_support.h"

#include <chrono>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <vector>

namespace sorvane::exports {
namespace {

using nlohmann::json;

almanac::CalendarYears& years() {
    static almanac::CalendarYears calendar(testing::shippedTables());
    return calendar;
}

json cellOf(const json& month, const std::string& date) {
    for (const json& cell : month.at("cells")) {
        if (cell.at("date") == date && cell.at("inMonth") == true) {
            return cell;
        }
    }
    ADD_FAILURE() << date << " is not a cell of its month";
    return json::object();
}

bool anyStartsWith(const json& lines, const std::string& prefix, const std::string& inside) {
    for (const json& line : lines) {
        const std::string text = line.get<std::string>();
        if (text.rfind(prefix, 0) == 0 && text.find(inside) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// The weekday of an ISO date by std::chrono's civil calendar, as a Japanese calendar names it.
std::string weekdayOf(const std::string& date) {
    using namespace std::chrono;
    const year_month_day ymd{year{std::stoi(date.substr(0, 4))},
                             month{static_cast<unsigned>(std::stoi(date.substr(5, 2)))},
                             day{static_cast<unsigned>(std::stoi(date.substr(8, 2)))}};
    static const char* const names[] = {"日", "月", "火", "水", "木", "金", "土"};
    return names[weekday(sys_days(ymd)).c_encoding()];
}

// The month page's cells: holiday, 旧暦, 六曜, the solar term's mark with its minute, the
// phase with its minute.
TEST(PageDocument, MonthCellsAgreeWithPublishedCalendars) {
    struct Row {
        const char* date;
        const char* holiday; // "" when none
        const char* lunar;   // the cell's text: 旧N月 on a month's first day, else 旧N/D
        const char* rokuyo;
        const char* term;  // a solar term's mark with its JST minute, "" when none
        const char* phase; // name and JST minute, "" when none
    };
    const Row rows[] = {
        // 旧11月1日 = 2025-12-20 (new moon 01:43 UT): 1/1 is 旧11/13, (11 + 13) mod 6 = 0.
        {"2026-01-01", "元日", "旧11/13", "大安", "", ""},
        // 旧12月1日 = 2026-01-19 (new moon 01-18 19:52 UT = 01-19 04:52 JST).
        {"2026-02-04", "", "旧12/17", "仏滅", "立春|05:02", ""},
        {"2026-02-11", "建国記念の日", "旧12/24", "大安", "", ""},
        // New moon 2026-02-17 12:01 UT = 21:01 JST: 旧1月1日, (1 + 1) mod 6 = 2.
        {"2026-02-17", "", "旧1月", "先勝", "", "朔|21:01"},
        {"2026-02-21", "", "旧1/5", "大安", "", ""},
        {"2026-02-23", "天皇誕生日", "旧1/7", "先勝", "", ""},
        // Full moon 2026-03-03 11:38 UT = 20:38 JST.
        {"2026-03-03", "", "旧1/15", "先負", "", "望|20:38"},
        // New moon 2026-03-19 01:23 UT = 10:23 JST: 旧2月1日, (2 + 1) mod 6 = 3.
        {"2026-03-19", "", "旧2月", "友引", "", "朔|10:23"},
        {"2026-03-20", "春分の日", "旧2/2", "先負", "春分|23:46", ""},
        {"2026-05-06", "振替休日", "", "", "", ""},
        {"2026-09-22", "国民の休日", "", "", "", ""},
        {"2026-09-23", "秋分の日", "", "", "秋分|09:05", ""},
        {"2026-12-22", "", "", "", "冬至|05:50", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.date);
        const std::string date = r.date;
        const json month = json::parse(
            monthPageJson(years(), std::stoi(date.substr(0, 4)), std::stoi(date.substr(5, 2))));
        const json cell = cellOf(month, date);
        EXPECT_EQ(cell.at("weekdayName"), weekdayOf(date));
        if (*r.holiday) {
            EXPECT_EQ(cell.at("holiday"), r.holiday);
        } else {
            EXPECT_TRUE(cell.at("holiday").is_null()) << cell.at("holiday");
        }
        if (*r.lunar) {
            EXPECT_EQ(cell.at("lunar"), r.lunar);
        }
        if (*r.rokuyo) {
            EXPECT_EQ(cell.at("rokuyo"), r.rokuyo);
        }
        if (*r.term) {
            const std::string term = r.term;
            const std::size_t bar = term.find('|');
            EXPECT_TRUE(anyStartsWith(cell.at("marks"), term.substr(0, bar), term.substr(bar + 1)))
                << cell.at("marks");
        }
        if (*r.phase) {
            const std::string phase = r.phase;
            const std::size_t bar = phase.find('|');
            ASSERT_TRUE(cell.at("phase").is_object()) << cell.at("phase");
            EXPECT_EQ(cell.at("phase").at("name"), phase.substr(0, bar));
            EXPECT_EQ(cell.at("phase").at("time"), phase.substr(bar + 1));
        }
    }
}

// The year view: every holiday of 2026 and the solar terms' minutes, in the precise mode;
// outside the precise mode's years the solar theory's, outside the law's years no holiday.
TEST(PageDocument, YearViewAgreesWithPublishedLists) {
    const json doc = json::parse(yearPageJson(testing::shippedTables(), 2026));
    EXPECT_EQ(doc.at("mode"), "precise");
    EXPECT_NE(doc.at("heading").get<std::string>().find("2026年"), std::string::npos);
    const std::vector<std::pair<std::string, std::string>> published = {
        {"2026-01-01", "元日"},         {"2026-01-12", "成人の日"},
        {"2026-02-11", "建国記念の日"}, {"2026-02-23", "天皇誕生日"},
        {"2026-03-20", "春分の日"},     {"2026-04-29", "昭和の日"},
        {"2026-05-03", "憲法記念日"},   {"2026-05-04", "みどりの日"},
        {"2026-05-05", "こどもの日"},   {"2026-05-06", "振替休日"},
        {"2026-07-20", "海の日"},       {"2026-08-11", "山の日"},
        {"2026-09-21", "敬老の日"},     {"2026-09-22", "国民の休日"},
        {"2026-09-23", "秋分の日"},     {"2026-10-12", "スポーツの日"},
        {"2026-11-03", "文化の日"},     {"2026-11-23", "勤労感謝の日"},
    };
    std::vector<std::pair<std::string, std::string>> shown;
    for (const json& h : doc.at("holidays")) {
        shown.emplace_back(h.at("date"), h.at("name"));
    }
    EXPECT_EQ(shown, published);

    struct Term {
        const char* name;
        int month, day, hour, minute;
    };
    const Term terms[] = {{"立春", 2, 4, 5, 2},
                          {"春分", 3, 20, 23, 46},
                          {"秋分", 9, 23, 9, 5},
                          {"冬至", 12, 22, 5, 50}};
    ASSERT_EQ(doc.at("events").size(), 28u);
    for (const Term& t : terms) {
        SCOPED_TRACE(t.name);
        bool found = false;
        for (const json& e : doc.at("events")) {
            if (e.at("name") == t.name) {
                found = true;
                EXPECT_EQ(e.at("month"), t.month);
                EXPECT_EQ(e.at("jst").at("day"), t.day);
                EXPECT_EQ(e.at("jst").at("hour"), t.hour);
                EXPECT_EQ(e.at("jst").at("minute"), t.minute);
                EXPECT_FALSE(e.at("line").get<std::string>().empty());
            }
        }
        EXPECT_TRUE(found);
    }
    EXPECT_FALSE(doc.at("zassetsu").empty());

    // Years at the ends of the sources (doc/web.md: the observatory's minutes in -1999..3000,
    // the holidays from 1948).
    struct Edge {
        int year;
        const char* mode;
        bool holidays;
    };
    for (const Edge& e : {Edge{-1999, "precise", false}, Edge{-2000, "default", false},
                          Edge{1947, "precise", false}, Edge{1948, "precise", true},
                          Edge{3000, "precise", false}, Edge{3001, "default", false}}) {
        SCOPED_TRACE(e.year);
        const json edge = json::parse(yearPageJson(testing::shippedTables(), e.year));
        EXPECT_EQ(edge.at("mode"), e.mode);
        EXPECT_EQ(edge.contains("holidays") && !edge.at("holidays").empty(), e.holidays);
        EXPECT_EQ(edge.at("events").size(), 28u);
    }
    const json outside = json::parse(yearPageJson(testing::shippedTables(), 40000));
    EXPECT_NE(outside.at("error").get<std::string>().find("年は"), std::string::npos);
}

// The search's check boxes: every traditional name of each group, and each box's word a
// query the search reads as that one name.
TEST(PageDocument, VocabularyGroupsHoldTheTraditionalNames) {
    const daysearch::Vocabulary vocabulary;
    const json doc = json::parse(searchVocabularyJson(vocabulary));
    const std::vector<std::pair<std::string, std::set<std::string>>> wanted = {
        {"rokuyo", {"先勝", "友引", "先負", "仏滅", "大安", "赤口"}},
        {"week", {"日", "月", "火", "水", "木", "金", "土", "祝日", "休日"}},
        {"choku", {"建", "除", "満", "平", "定", "執", "破", "十二直:危", "成", "納", "開", "閉"}},
        {"kyusei",
         {"一白水星", "二黒土星", "三碧木星", "四緑木星", "五黄土星", "六白金星", "七赤金星",
          "八白土星", "九紫火星"}},
    };
    ASSERT_EQ(doc.at("groups").size(), 6u);
    for (std::size_t i = 0; i < wanted.size(); ++i) {
        const json& group = doc.at("groups").at(i);
        SCOPED_TRACE(wanted[i].first);
        EXPECT_EQ(group.at("key"), wanted[i].first);
        std::set<std::string> words;
        for (const json& n : group.at("names")) {
            words.insert(n.at("word").get<std::string>());
        }
        EXPECT_EQ(words, wanted[i].second);
    }
    const json& senjitsu = doc.at("groups").at(4);
    EXPECT_EQ(senjitsu.at("key"), "senjitsu");
    std::set<std::string> words;
    for (const json& n : senjitsu.at("names")) {
        words.insert(n.at("word").get<std::string>());
    }
    for (const char* name : {"一粒万倍日", "天赦日", "寅の日", "巳の日", "己巳の日", "甲子の日",
                             "不成就日", "三隣亡", "八専", "十方暮", "天一天上", "天徳日"}) {
        EXPECT_EQ(words.count(name), 1u) << name;
    }
    // The 潮名 of 海上保安庁's table, a group of their own.
    const json& shio = doc.at("groups").at(5);
    EXPECT_EQ(shio.at("key"), "shio");
    std::set<std::string> shioWords;
    for (const json& n : shio.at("names")) {
        shioWords.insert(n.at("word").get<std::string>());
    }
    EXPECT_EQ(shioWords, (std::set<std::string>{"大潮", "中潮", "小潮", "長潮", "若潮"}));
    for (const json& group : doc.at("groups")) {
        for (const json& n : group.at("names")) {
            const std::string word = n.at("word");
            const daysearch::Query query = daysearch::parseQuery(word, vocabulary);
            ASSERT_EQ(query.words.size(), 1u) << word;
            EXPECT_EQ(query.words[0].terms.size(), 1u) << word;
            EXPECT_FALSE(n.at("label").get<std::string>().empty());
        }
    }
}

// The spans the page bounds its fields with, as the reference states them.
TEST(PageDocument, CoverageNamesTheDocumentedSpans) {
    const json doc = json::parse(coverageJson());
    struct Span {
        const char* key;
        int first, last;
    };
    for (const Span& s :
         {Span{"year", -32768, 32767}, Span{"precise", -1999, 3000}, Span{"lunisolar", 1900, 2100},
          Span{"holidays", 1948, 2100}, Span{"icalendar", 1, 9999}}) {
        SCOPED_TRACE(s.key);
        EXPECT_EQ(doc.at(s.key).at("first"), s.first);
        EXPECT_EQ(doc.at(s.key).at("last"), s.last);
    }
    for (const char* feed : {"rokuyo", "senjitsu", "sekki", "holidays", "moon", "zassetsu"}) {
        EXPECT_TRUE(doc.at("feeds").contains(feed)) << feed;
    }
}

int sundaysFrom(const std::chrono::year_month_day& first, const std::chrono::year_month_day& last) {
    int n = 0;
    for (std::chrono::sys_days d = first; d <= std::chrono::sys_days(last);
         d += std::chrono::days(1)) {
        n += std::chrono::weekday(d) == std::chrono::Sunday ? 1 : 0;
    }
    return n;
}

// The search's document: the days found, the list bounded with the count whole, and a
// Japanese message for each input it cannot take.
TEST(PageDocument, FindDocumentsAnswerOrRefuseInJapanese) {
    daysearch::DaySearch search(testing::shippedTables());
    const daysearch::Vocabulary vocabulary;
    struct Row {
        std::string query, from, to;
        std::vector<std::string> dates; // the days found, when listed
        std::string error;              // a part of the message, for a refusal
    };
    const std::string tooLong(kMaxQueryCharacters + 1, 'x');
    const std::string longest = "大安" + std::string(kMaxQueryCharacters - 2, ' ');
    const std::vector<Row> rows = {
        // 旧1月 2026 begins on 02-17: 旧1/5 and 旧1/11 are 大安.
        {"大安", "2026-02-17", "2026-02-28", {"2026-02-21", "2026-02-27"}, ""},
        {longest, "2026-02-17", "2026-02-28", {"2026-02-21", "2026-02-27"}, ""},
        {"祝日", "2026-02-01", "2026-02-28", {"2026-02-11", "2026-02-23"}, ""},
        {"大按", "2026-01-01", "2026-12-31", {}, "という名前はありません"},
        {"", "2026-01-01", "2026-12-31", {}, "条件を選ぶか"},
        {"危", "2026-01-01", "2026-12-31", {}, "二つの種類"},
        {tooLong, "2026-01-01", "2026-12-31", {}, "長すぎます"},
        // A lone surrogate as the page's JavaScript encodes it: quoted, not a failed document.
        {"\xED\xA0\x80", "2026-01-01", "2026-12-31", {}, "という名前はありません"},
        {"大安", "2026-02-30", "2026-12-31", {}, "日付として読めません"},
        {"大安", "40000-01-01", "2026-12-31", {}, "日付として読めません"},
        {"大安", "2026-01-01", "2026/12/31", {}, "日付として読めません"},
        {"大安", "2026-12-31", "2026-01-01", {}, "「から」以降の日に"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.query.substr(0, 20) + " " + r.from + " " + r.to);
        const json doc = json::parse(findPageJson(search, vocabulary, r.query, r.from, r.to));
        if (!r.error.empty()) {
            ASSERT_TRUE(doc.contains("error")) << doc.dump();
            EXPECT_NE(doc.at("error").get<std::string>().find(r.error), std::string::npos)
                << doc.at("error");
            EXPECT_LT(doc.at("error").get<std::string>().size(), 400u);
            continue;
        }
        ASSERT_FALSE(doc.contains("error")) << doc.dump();
        std::vector<std::string> dates;
        for (const json& d : doc.at("days")) {
            dates.push_back(d.at("date"));
        }
        EXPECT_EQ(dates, r.dates);
        EXPECT_EQ(doc.at("count"), r.dates.size());
        EXPECT_EQ(doc.at("more"), 0);
    }

    // Sundays over 2026..2050: more than the page lists; the count is whole.
    using namespace std::chrono;
    const int sundays = sundaysFrom(2026y / January / 1, 2050y / December / 31);
    const json many =
        json::parse(findPageJson(search, vocabulary, "日", "2026-01-01", "2050-12-31"));
    EXPECT_EQ(many.at("count"), sundays);
    EXPECT_EQ(many.at("countText"), "該当 " + std::to_string(sundays) + " 件");
    EXPECT_EQ(many.at("days").size(), kPageDaysListed);
    EXPECT_EQ(many.at("more"), sundays - static_cast<int>(kPageDaysListed));
    EXPECT_EQ(many.at("days").at(0).at("date"), "2026-01-04");
    EXPECT_EQ(many.at("name"), "日曜の日"); // the calendar file's name, as the window's

    // Outside the lunisolar calendar's years a 六曜 stretch is named, in Japanese.
    const json far =
        json::parse(findPageJson(search, vocabulary, "大安", "2101-01-01", "2101-01-31"));
    EXPECT_EQ(far.at("count"), 0);
    ASSERT_FALSE(far.at("notes").empty());
    EXPECT_NE(far.at("notes").at(0).get<std::string>().find("六曜"), std::string::npos);

    // A refusal leaves the search as it was: the next query answers as before.
    const json again =
        json::parse(findPageJson(search, vocabulary, "大安", "2026-02-17", "2026-02-28"));
    EXPECT_EQ(again.at("count"), 2);
}

} // namespace
} // namespace sorvane::exports
