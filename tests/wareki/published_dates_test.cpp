// Conversion against the table and against dates published elsewhere.
//
// Every month start of the table is converted both ways: the JDN to its lunisolar date and
// back, the 和暦 text of the day read back to the same day, and each Western date back to the
// JDN. Then days whose Western dates historians give, each from a page other than the table
// (all read 2026-12-09): the 和暦 text read into a day whose date in the calendar named is
// the one published, and that date read back to the 和暦 text.
#include "wareki/day_report.h"
#include "wareki/parse.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace {

using namespace sorvane::wareki;

TEST(WarekiConversion, EveryMonthStartOfTheTableBothWays) {
    const auto rows = monthRows();
    const long long firstEraDay = eraRows().front().startJdn;
    int read = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const MonthRow& row = rows[i];
        SCOPED_TRACE("month starting at JDN " + std::to_string(row.jdnStart));
        const auto date = lunisolarDateOf(row.jdnStart);
        ASSERT_TRUE(date.has_value());
        EXPECT_EQ(date->year, row.year);
        EXPECT_EQ(date->month, row.month);
        EXPECT_EQ(date->leap, row.leap != 0);
        EXPECT_EQ(date->day, 1);
        EXPECT_EQ(date->source, LunisolarSource::Table);
        EXPECT_EQ(findMonth(row.year, row.month, row.leap != 0), &row);
        if (i > 0) {
            // The day before is the last day of the month before.
            const auto before = lunisolarDateOf(row.jdnStart - 1);
            ASSERT_TRUE(before.has_value());
            EXPECT_EQ(before->day, rows[i - 1].days);
            EXPECT_EQ(before->monthLength, rows[i - 1].days);
        }
        for (const Western calendar : {Western::Julian, Western::Gregorian}) {
            const WesternDate western = westernDate(calendar, row.jdnStart);
            EXPECT_TRUE(isValid(calendar, western));
            EXPECT_EQ(jdnOf(calendar, western), row.jdnStart);
        }
        if (row.jdnStart < firstEraDay) {
            continue;
        }
        // The text on each line (two in 1331-1392 where they differ) reads back to the day.
        const DayReport report = describeDay(row.jdnStart);
        ASSERT_FALSE(report.warekiTexts.empty());
        for (const std::string& text : report.warekiTexts) {
            const ParsedWareki parsed = parseWareki(text);
            ASSERT_EQ(parsed.status, ParseStatus::Ok) << text << ": " << parsed.message;
            EXPECT_EQ(parsed.jdn, row.jdnStart) << text;
            ++read;
        }
    }
    EXPECT_GT(read, 22000);
}

struct Published {
    const char* wareki;     // as the page writes it
    const char* western;    // its date there
    Western calendar;       // the calendar of that date
    const char* warekiBack; // the program's text of the day
    const char* source;
};

// The pages, all read 2026-12-09. Before 1582-10-15 the pages give the Julian date.
const Published kPublished[] = {
    {"元禄15年12月14日", "1703-01-30", Western::Gregorian, "元禄15年12月14日",
     "https://itasawasyobou.com/blog/chusingura (忠臣蔵特集始めました)"},
    {"元禄14年3月14日", "1701-04-21", Western::Gregorian, "元禄14年3月14日",
     "https://itasawasyobou.com/blog/chusingura (忠臣蔵特集始めました)"},
    {"天正10年6月2日", "1582-06-21", Western::Julian, "天正10年6月2日",
     "https://hitomasu-consultation.com/?p=700 (本能寺の変, quoting Wikipedia)"},
    {"永禄3年5月19日", "1560-06-12", Western::Julian, "永禄3年5月19日",
     "http://kotoba.ne.jp/word/10/田楽狭間の戦い (桶狭間の戦い, from Wikipedia)"},
    {"慶長5年9月15日", "1600-10-21", Western::Gregorian, "慶長5年9月15日",
     "http://wwwsp.sekigahara-movie.com/about/sekigahara.html (関ケ原の戦い)"},
    {"明暦3年1月18日", "1657-03-02", Western::Gregorian, "明暦3年1月18日",
     "http://wikipedia2007.classicistranieri.com/ja/明/暦/の/明暦の大火.html (明暦の大火)"},
    {"明暦3年1月20日", "1657-03-04", Western::Gregorian, "明暦3年1月20日",
     "http://wikipedia2007.classicistranieri.com/ja/明/暦/の/明暦の大火.html (明暦の大火)"},
    {"延元元年5月25日", "1336-07-04", Western::Julian, "延元元年5月25日",
     "http://mobile.seisyun.net/wgate/湊川の戦い/p8 (湊川の戦い, from Wikipedia)"},
    // The same day as the north counted it: 建武 on, which it took up again in 6月.
    {"北朝建武3年5月25日", "1336-07-04", Western::Julian, "延元元年5月25日",
     "http://mobile.seisyun.net/wgate/湊川の戦い/p8 (湊川の戦い, from Wikipedia)"},
    {"安政7年3月3日", "1860-03-24", Western::Gregorian, "安政7年3月3日",
     "http://www.pahoo.org/culture/numbers/year/j1860-jp.shtm (西暦1860年 - 桜田門外の変)"},
    {"元治元年6月5日", "1864-07-08", Western::Gregorian, "元治元年6月5日",
     "https://wondertrip.jp/history/92113.html (池田屋事件)"},
    {"元治元年7月19日", "1864-08-20", Western::Gregorian, "元治元年7月19日",
     "http://history365days.blog.fc2.com/blog-entry-286.html (禁門の変)"},
    {"慶応3年6月9日", "1867-07-10", Western::Gregorian, "慶応3年6月9日",
     "https://bunshun.jp/articles/-/4832 (大政奉還, 船中八策)"},
    {"慶応3年10月3日", "1867-10-29", Western::Gregorian, "慶応3年10月3日",
     "https://bunshun.jp/articles/-/4832 (大政奉還, 建白書)"},
    {"慶応3年10月13日", "1867-11-08", Western::Gregorian, "慶応3年10月13日",
     "https://bunshun.jp/articles/-/4832 (大政奉還, 二条城の諮問)"},
    {"慶応3年10月15日", "1867-11-10", Western::Gregorian, "慶応3年10月15日",
     "https://bunshun.jp/articles/-/4832 (大政奉還の勅許)"},
    {"慶応3年11月15日", "1867-12-10", Western::Gregorian, "慶応3年11月15日",
     "http://www.ryomaisback.com/sp/rekisi/saigo.html (坂本龍馬 最期の時)"},
    {"慶応3年11月18日", "1867-12-13", Western::Gregorian, "慶応3年11月18日",
     "http://www.ryomaisback.com/sp/rekisi/saigo.html (伊東甲子太郎)"},
    // 明治 was counted from 1868's first day: 慶応4年 and 明治元年 name the same days.
    {"慶応4年1月3日", "1868-01-27", Western::Gregorian, "明治元年1月3日",
     "http://ftown.boo.jp/wiki/wiki.cgi?page=鳥羽伏見の戦い (幕末辞典)"},
    {"慶応4年1月6日", "1868-01-30", Western::Gregorian, "明治元年1月6日",
     "https://akarinohon.com/text/taketori.cgi/ja.wikipedia.org/wiki/鳥羽・伏見の戦い"},
    {"明治元年4月11日", "1868-05-03", Western::Gregorian, "明治元年4月11日",
     "https://blog.goo.ne.jp/aoikitakaze4390031/e/6ec69bbc2919fec5a62d0ba9da83d7b0 (江戸無血開城)"},
};

TEST(WarekiConversion, PublishedHistoricalDates) {
    EXPECT_GE(std::size(kPublished), 20U);
    for (const Published& p : kPublished) {
        SCOPED_TRACE(std::string(p.wareki) + " = " + p.western + " (" + p.source + ")");
        const ParsedWareki parsed = parseWareki(p.wareki);
        ASSERT_EQ(parsed.status, ParseStatus::Ok) << parsed.message;
        const DayReport report = describeDay(parsed.jdn);
        EXPECT_EQ(isoText(p.calendar == Western::Julian ? report.julian : report.gregorian),
                  p.western);
        EXPECT_EQ(report.historical, p.calendar);
        const auto western = parseIso(p.western);
        ASSERT_TRUE(western.has_value());
        const DayReport back = describeDay(jdnOf(p.calendar, *western));
        ASSERT_EQ(back.warekiTexts.size(), 1U);
        EXPECT_EQ(back.warekiTexts.front(), p.warekiBack);
    }
}

} // namespace
