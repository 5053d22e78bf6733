// Reading 和暦 dates: the forms a user writes, and the refusals, each with why and the nearest
// valid reading. The days are checked through the published ones of published_dates_test.cpp
// (元禄15年12月14日 = JDN 2343097 = Gregorian 1703-01-30).
#include "wareki/parse.h"
#include "wareki/western.h"

#include <gtest/gtest.h>

namespace {

using namespace sorvane::wareki;

constexpr long long kAkoRaid = 2343097; // 元禄15年12月14日

long long gregorian(int y, int m, int d) {
    return jdnOf(Western::Gregorian, {y, m, d});
}

struct Reading {
    const char* text;
    long long jdn;
};

TEST(WarekiParse, TheFormsOfOneDate) {
    const Reading readings[] = {
        {"元禄15年12月14日", kAkoRaid},
        {"元禄１５年１２月１４日", kAkoRaid}, // full-width digits
        {"元禄十五年十二月十四日", kAkoRaid}, // kanji numerals
        {"元禄一五年一二月一四日", kAkoRaid}, // kanji digits place by place
        {" 元禄 15年　12月 14日 ", kAkoRaid}, // spaces, an ideographic one too
        {"元禄15年12月1日", kAkoRaid - 13},
        {"元禄15年12月朔日", kAkoRaid - 13},            // 朔日: the 1st
        {"元禄15年12月晦日", kAkoRaid + 16},            // 晦日: the last, 12月 has 30 days
        {"元禄15年閏8月晦日", gregorian(1702, 10, 20)}, // the table: 閏8月 from 09-22, 29 days
        {"元禄15年12月廿日", kAkoRaid + 6},             // 廿: 20
        {"元禄15年12月二十日", kAkoRaid + 6},
        {"元禄15年12月卅日", kAkoRaid + 16}, // 卅: 30
        {"元禄16年正月1日", kAkoRaid + 17},  // 正月: the 1st month
        {"天正10年6月2日", jdnOf(Western::Julian, {1582, 6, 21})},
        {"明治5年12月2日", gregorian(1872, 12, 31)}, // the lunisolar calendar's last day
        {"明治6年1月1日", gregorian(1873, 1, 1)},    // from here the Gregorian calendar
        {"令和元年5月1日", gregorian(2019, 5, 1)},
        {"平成31年4月30日", gregorian(2019, 4, 30)},
        {"昭和64年1月7日", gregorian(1989, 1, 7)},
        {"大正元年7月30日", gregorian(1912, 7, 30)},
        {"明治45年7月29日", gregorian(1912, 7, 29)},
        {"慶応4年9月7日", gregorian(1868, 10, 22)},  // 慶応 runs to the 改元 of 明治
        {"明治元年9月7日", gregorian(1868, 10, 22)}, // and 明治 from 1868's first day
        // 正平一統: the north wrote 正平 from 1351-11 and 観応 again from 1352-03; the table's
        // 正平7年1月1日 is Julian 1352-01-18.
        {"南朝正平7年1月1日", jdnOf(Western::Julian, {1352, 1, 18})},
        {"正平7年1月1日", jdnOf(Western::Julian, {1352, 1, 18})},
        {"北朝観応3年1月1日", jdnOf(Western::Julian, {1352, 1, 18})},
        // 湊川の戦い: the south's 延元元年 is the north's 建武3年 (both in the 1336 entries of
        // published_dates_test.cpp).
        {"南朝延元元年5月25日", jdnOf(Western::Julian, {1336, 7, 4})},
        {"建武3年5月25日", jdnOf(Western::Julian, {1336, 7, 4})},
        {"明徳3年閏10月5日", jdnOf(Western::Julian, {1392, 11, 19})}, // 南北朝の合一
        {"元中9年閏10月4日", jdnOf(Western::Julian, {1392, 11, 18})},
        {"大化元年6月19日", jdnOf(Western::Julian, {645, 7, 17})}, // the first 元号
        {"推古天皇30年2月22日", jdnOf(Western::Julian, {622, 4, 8})},
    };
    for (const Reading& r : readings) {
        const ParsedWareki parsed = parseWareki(r.text);
        EXPECT_EQ(parsed.status, ParseStatus::Ok) << r.text << ": " << parsed.message;
        EXPECT_EQ(parsed.jdn, r.jdn) << r.text;
    }
}

struct Refusal {
    const char* text;
    ParseStatus status;
    const char* why;        // a part of the message that says why
    const char* suggestion; // the nearest valid reading ("" for none)
};

TEST(WarekiParse, ImpossibleDatesAreRefusedWithTheNearestReading) {
    const Refusal refusals[] = {
        {"", ParseStatus::Empty, "和暦の日付がありません", ""},
        {"　 ", ParseStatus::Empty, "和暦の日付がありません", ""},
        {"元禄15年12月", ParseStatus::NotADate, "読めません", ""},
        {"元禄15年12月14", ParseStatus::NotADate, "読めません", ""},
        {"元禄15年12月14日です", ParseStatus::NotADate, "読めません", ""},
        {"1703年1月30日", ParseStatus::UnknownEra, "「1703」という元号はありません", ""},
        {"元緑15年12月14日", ParseStatus::UnknownEra, "「元緑」という元号はありません", ""},
        {"元禄0年1月1日", ParseStatus::BadNumber, "年は1（元年）から", ""},
        {"元禄15年13月1日", ParseStatus::BadNumber, "月は1から12まで", ""},
        {"元禄15年12月31日", ParseStatus::BadNumber, "日は1から30まで", ""},
        {"元禄15年12月0日", ParseStatus::BadNumber, "日は1から30まで", ""},
        // A 閏月 the year did not have: the ordinary month, and the year's real 閏月.
        {"元禄15年閏7月1日", ParseStatus::NoLeapMonth, "この年の閏月は閏8月", "元禄15年7月1日"},
        {"元禄14年閏8月3日", ParseStatus::NoLeapMonth, "閏月のない年", "元禄14年8月3日"},
        {"元禄15年閏7月晦日", ParseStatus::NoLeapMonth, "閏7月はありません", "元禄15年7月29日"},
        {"明治6年閏1月1日", ParseStatus::NoLeapMonth, "太陽暦", "明治6年1月1日"},
        // The 30th of a 29-day month: its 29th, or the next month's 1st.
        {"元禄15年閏8月30日", ParseStatus::DayPastMonthEnd, "29日までの小の月",
         "元禄15年閏8月29日"},
        {"元禄15年11月30日", ParseStatus::DayPastMonthEnd, "元禄15年12月1日", "元禄15年11月29日"},
        {"令和8年2月29日", ParseStatus::DayPastMonthEnd, "令和8年3月1日", "令和8年2月28日"},
        {"明治5年12月3日", ParseStatus::AfterReform, "1873-01-01", "明治6年1月1日"},
        {"明治5年12月30日", ParseStatus::AfterReform, "太陽暦", "明治6年1月28日"},
        // An era year past the era's end: the same day in the era then in force.
        {"元禄17年4月1日", ParseStatus::AfterEraEnd, "元禄17年3月13日に宝永と改元",
         "宝永元年4月1日"},
        {"元禄18年1月1日", ParseStatus::AfterEraEnd, "宝永と改元", "宝永2年1月1日"},
        {"慶応4年9月8日", ParseStatus::AfterEraEnd, "明治と改元", "明治元年9月8日"},
        {"慶応5年1月1日", ParseStatus::AfterEraEnd, "明治と改元", "明治2年1月1日"},
        {"平成31年5月1日", ParseStatus::AfterEraEnd, "2019-05-01", "令和元年5月1日"},
        {"大正15年12月25日", ParseStatus::AfterEraEnd, "昭和元年12月25日", "昭和元年12月25日"},
        {"元中9年閏10月5日", ParseStatus::AfterEraEnd, "明徳と改元", "明徳3年閏10月5日"},
        // A day of an era's first year before it began: the era then in force.
        {"万延元年3月3日", ParseStatus::BeforeEraStart, "万延元年3月18日に始まり", "安政7年3月3日"},
        {"令和元年4月30日", ParseStatus::BeforeEraStart, "まだ始まっていません", "平成31年4月30日"},
        // An era of one line of 南北朝 named with the other.
        {"南朝暦応2年1月1日", ParseStatus::NotOnLine, "北朝の元号", "北朝 暦応2年1月1日"},
        {"北朝天授2年1月1日", ParseStatus::NotOnLine, "南朝の元号", "南朝 天授2年1月1日"},
        {"北朝延元2年1月1日", ParseStatus::AfterEraEnd, "北朝の延元は", "北朝 建武4年1月1日"},
        {"南朝令和元年5月1日", ParseStatus::NotOnLine, "1331年から1392年", ""},
        // Input that is no date at all: long numerals, control and broken bytes.
        {"元禄一一一一一一一一一一一一一年1月1日", ParseStatus::NotADate, "読めません", ""},
        {"元禄99999年1月1日", ParseStatus::NotADate, "読めません", ""},
        {"元禄9999年1月1日", ParseStatus::AfterEraEnd, "元禄は11686年より前に終わっています", ""},
        {"ほげ\x1b[2J\xff年1月1日", ParseStatus::UnknownEra, "「ほげ\\x1B[2J\\xFF」", ""},
    };
    for (const Refusal& r : refusals) {
        SCOPED_TRACE(std::string("\"") + r.text + "\"");
        const ParsedWareki parsed = parseWareki(r.text);
        EXPECT_EQ(parsed.status, r.status) << parsed.message;
        EXPECT_NE(parsed.message.find(r.why), std::string::npos) << parsed.message;
        EXPECT_EQ(parsed.suggestion, r.suggestion) << parsed.message;
        if (*r.suggestion != '\0') {
            // The reading named is one the parser takes.
            EXPECT_NE(parsed.message.find(std::string("「") + r.suggestion + "」"),
                      std::string::npos)
                << parsed.message;
            EXPECT_EQ(parseWareki(r.suggestion).status, ParseStatus::Ok) << r.suggestion;
        }
    }
}

TEST(WarekiParse, TheNearestReadingIsTheSameDay) {
    // Where the refusal is about the era, the reading offered names the very day.
    for (const auto& [refused, day] : {std::pair{"元禄17年4月1日", "宝永元年4月1日"},
                                       {"慶応5年1月1日", "明治2年1月1日"},
                                       {"万延元年3月3日", "安政7年3月3日"}}) {
        const ParsedWareki parsed = parseWareki(refused);
        ASSERT_NE(parsed.status, ParseStatus::Ok);
        EXPECT_EQ(parsed.suggestion, day);
    }
}

} // namespace
