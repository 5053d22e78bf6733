// The calendar page's model (CalendarYears), without Qt: the grid, the header, the days'
// marks and details against the published calendar, the era's change, the years kept and the
// notes on the limits of the sources.
#include "almanac/month_page.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvane::almanac {
namespace {

const DayCell& cellOf(const MonthPage& page, int day) {
    for (const DayCell& cell : page.cells) {
        if (cell.inMonth && cell.date.day == day) {
            return cell;
        }
    }
    throw std::logic_error("no such day");
}

bool hasLine(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

bool anyLineHas(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// The grid: whole weeks from Sunday, the neighbouring months' days marked, each day's weekday,
// 干支 and the events of the day; the header's era and 干支; the mode line.
TEST(CalendarYears, PageGridHeaderAndMode) {
    CalendarYears years(testing::shippedTables());
    const MonthPage august = years.monthPage(2025, 8);
    ASSERT_EQ(august.cells.size(), 42u); // 1 August 2025 is a Friday
    EXPECT_EQ(august.cells[0].date, (CivilDate{2025, 7, 27}));
    EXPECT_TRUE(!august.cells[0].inMonth && august.cells[5].inMonth);
    EXPECT_EQ(august.cells[0].weekday, 1); // Sunday, as youbi counts
    EXPECT_EQ(august.cells[5].weekday, 6); // Friday
    EXPECT_EQ(august.cells[41].date, (CivilDate{2025, 9, 6}));
    EXPECT_EQ(august.eraText, "令和7年");
    EXPECT_EQ(august.yearKanshi, "乙巳");
    EXPECT_TRUE(august.precise);
    // The observatory's published moments: 立秋 2025-08-07 14:52, 二百十日 08-31.
    EXPECT_EQ(cellOf(august, 7).marks, std::vector<std::string>{"立秋 14:52"});
    EXPECT_EQ(cellOf(august, 7).kanshi, "戊申");
    EXPECT_TRUE(hasLine(years.dayDetails({2025, 8, 7}), "立秋 14:52（太陽黄経 135°）"));
    EXPECT_EQ(cellOf(august, 31).marks, std::vector<std::string>{"二百十日"});
    // A 土用 entry with its minute, as the details give it: 2025-07-19 (夏の土用入り).
    const MonthPage july = years.monthPage(2025, 7);
    const std::vector<std::string>& entry = cellOf(july, 19).marks;
    ASSERT_TRUE(!entry.empty() && entry[0].starts_with("土用入り "));
    const std::string minute = entry[0].substr(entry[0].find(' ') + 1);
    const auto details19 = years.dayDetails({2025, 7, 19});
    EXPECT_EQ(std::count_if(details19.begin(), details19.end(),
                            [&](const std::string& l) {
                                return l.find("土用入り " + minute + "（") != std::string::npos;
                            }),
              1)
        << minute;
    // Summer 土用 2025: 07-19 to 08-06, its days named in the details.
    EXPECT_TRUE(hasLine(years.dayDetails({2025, 8, 6}), "夏の土用（7月19日〜8月6日）"));
    EXPECT_FALSE(anyLineHas(years.dayDetails({2025, 8, 7}), "夏の土用"));
    // The periods drawn as bands: 土用 to 08-06, 春の彼岸 2025-03-17..23.
    ASSERT_TRUE(cellOf(august, 6).period);
    EXPECT_TRUE(cellOf(august, 6).period->last && cellOf(august, 6).period->name == "土用");
    EXPECT_FALSE(cellOf(august, 7).period);
    const MonthPage march = years.monthPage(2025, 3);
    EXPECT_TRUE(!cellOf(march, 16).period && !cellOf(march, 24).period);
    ASSERT_TRUE(cellOf(march, 17).period && cellOf(march, 20).period && cellOf(march, 23).period);
    EXPECT_TRUE(cellOf(march, 17).period->first && cellOf(march, 23).period->last &&
                cellOf(march, 20).period->name == "彼岸");
    // The small months of the header: December 2024 starts on a Sunday; February 2025 has
    // 建国記念の日, 天皇誕生日 and its 振替休日; the range's ends have no neighbour.
    const MonthPage january = years.monthPage(2025, 1);
    ASSERT_TRUE(january.previous && january.next);
    EXPECT_EQ(january.previous->year, 2024);
    EXPECT_EQ(january.previous->firstWeekday, 1);
    EXPECT_EQ(january.previous->days, 31);
    EXPECT_EQ(january.next->firstWeekday, 7); // 2025-02-01, a Saturday
    EXPECT_EQ(january.next->holidays, (std::vector<int>{11, 23, 24}));
    EXPECT_TRUE(!years.monthPage(-32768, 1).previous && !years.monthPage(32767, 12).next);

    // Holidays, 旧暦 with its 閏, 六曜 and the phases, against the published calendar:
    // 山の日 2025-08-11; 閏6月 from 2025-07-25, the 朔 at 04:11; the 望 of 08-09 at 16:55.
    EXPECT_EQ(cellOf(august, 11).holiday, std::optional<std::string>("山の日"));
    EXPECT_FALSE(cellOf(august, 12).holiday);
    const DayCell& leapStart = cellOf(july, 25);
    ASSERT_TRUE(leapStart.lunar);
    EXPECT_TRUE(leapStart.lunar->leap && leapStart.lunar->month == 6);
    EXPECT_EQ(lunarCellText(*leapStart.lunar), "旧閏6月");
    EXPECT_EQ(lunarCellText(*cellOf(july, 24).lunar), "旧6/30");
    EXPECT_EQ(leapStart.rokuyo, std::optional<std::string>("赤口"));
    EXPECT_TRUE(leapStart.phase && leapStart.phase->phase == lunisolar::Phase::New);
    EXPECT_TRUE(hasLine(years.dayDetails({2025, 7, 25}), "朔 04:11"));
    EXPECT_TRUE(cellOf(august, 9).phase &&
                cellOf(august, 9).phase->phase == lunisolar::Phase::Full);
    EXPECT_TRUE(hasLine(years.dayDetails({2025, 8, 9}), "望 16:55"));
    EXPECT_EQ(std::count_if(august.cells.begin(), august.cells.end(),
                            [](const auto& c) { return c.phase.has_value(); }),
              5); // 上弦 on the 1st and the 31st

    const MonthPage far = years.monthPage(3200, 2);
    EXPECT_TRUE(!far.precise && !far.cells[10].lunar && !far.cells[10].holiday);
    EXPECT_NE(far.modeText.find("既定の理論"), std::string::npos);
    EXPECT_EQ(far.cells.size() % 7, 0u);
    EXPECT_TRUE(std::any_of(far.cells.begin(), far.cells.end(), [](const auto& c) {
        return c.marks.size() == 1 && c.marks[0].starts_with("立春 ");
    }));
    EXPECT_TRUE(years.monthPage(1872, 12).eraText.empty());
}

TEST(CalendarYears, EraChangesOnItsDay) {
    CalendarYears years(testing::shippedTables());
    EXPECT_EQ(years.monthPage(1989, 1).eraText, "昭和64年 / 平成元年");
    EXPECT_EQ(years.dayDetails({1989, 1, 7})[1], "昭和64年1月7日");
    EXPECT_EQ(years.dayDetails({1989, 1, 8})[1], "平成元年1月8日");
    EXPECT_EQ(years.dayDetails({2019, 4, 30})[1], "平成31年4月30日");
    EXPECT_EQ(years.dayDetails({2019, 5, 1})[1], "令和元年5月1日");
    EXPECT_EQ(years.monthPage(2019, 5).eraText, "令和元年");
}

// A walk through many years keeps only the last few; a year dropped and shown again gives the
// same page.
TEST(CalendarYears, KeptYearsAreBounded) {
    CalendarYears years(testing::shippedTables());
    const MonthPage first = years.monthPage(1990, 3);
    for (int year = 1991; year < 2020; ++year) {
        years.monthPage(year, 3);
        EXPECT_LE(years.keptYears(), CalendarYears::kKeptYears);
    }
    EXPECT_EQ(years.keptYears(), CalendarYears::kKeptYears);
    const MonthPage again = years.monthPage(1990, 3);
    ASSERT_EQ(again.cells.size(), first.cells.size());
    for (std::size_t i = 0; i < first.cells.size(); ++i) {
        EXPECT_EQ(again.cells[i].marks, first.cells[i].marks);
        EXPECT_EQ(again.cells[i].holiday, first.cells[i].holiday);
    }
}

// One line on the page for each source that the month lies beyond, and none within them.
TEST(CalendarYears, LimitNotesNameEachEndOfTheSources) {
    const std::string drift = "季節", era = "元号", holidays = "祝日", lunar = "旧暦";
    const struct {
        int year;
        int month;
        std::vector<std::string> topics; // a word of each note, in order
    } cases[] = {
        {2025, 8, {}},
        {2100, 12, {}},
        {2101, 1, {holidays, lunar}},
        {1948, 7, {holidays}},
        {1948, 8, {}},
        {1873, 1, {holidays, lunar}},
        {1872, 12, {era, holidays, lunar}},
        {8455, 6, {holidays, lunar}},
        {8456, 6, {drift, holidays, lunar}},
        {-32768, 1, {drift, era, holidays, lunar}},
    };
    CalendarYears years(testing::shippedTables());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month));
        const MonthPage page = years.monthPage(c.year, c.month);
        ASSERT_EQ(page.limitNotes.size(), c.topics.size());
        for (std::size_t i = 0; i < c.topics.size(); ++i) {
            EXPECT_NE(page.limitNotes[i].find(c.topics[i]), std::string::npos)
                << page.limitNotes[i];
        }
    }
}

// Before 1873 the page gives the lunisolar date of the calendars then in use and its 六曜,
// said to be so; 1873..1899 none. The days are the published equivalences of the Japanese
// Wikipedia's articles 赤穂事件 (元禄15年12月14日 = 1703-01-30), 本能寺の変 (天正10年6月2日 =
// Julian 1582-06-21, Gregorian 1582-07-01), 明治 (慶応4年1月1日 = 1868-01-25) and 明治改暦
// (明治5年12月2日 = 1872-12-31, the last day of the old calendar); their 六曜 follow the
// table of each month's 1st in the article 六曜 (1月・7月 先勝 … 6月・12月 赤口), counted on.
TEST(CalendarYears, TheHistoricalLunisolarDateBefore1873) {
    const struct {
        CivilDate date;
        int month;
        int day;
        const char* rokuyo;
    } cases[] = {
        {{1703, 1, 30}, 12, 14, "先勝"}, {{1582, 7, 1}, 6, 2, "先勝"},
        {{1868, 1, 25}, 1, 1, "先勝"},   {{1872, 12, 31}, 12, 2, "先勝"},
        {{1872, 12, 30}, 12, 1, "赤口"},
    };
    CalendarYears years(testing::shippedTables());
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.date.year) + "-" + std::to_string(c.date.month));
        const MonthPage page = years.monthPage(c.date.year, c.date.month);
        const DayCell& cell = cellOf(page, c.date.day);
        ASSERT_TRUE(cell.lunar.has_value());
        EXPECT_EQ(cell.lunar->month, c.month);
        EXPECT_EQ(cell.lunar->day, c.day);
        EXPECT_EQ(cell.rokuyo, c.rokuyo);
        EXPECT_TRUE(anyLineHas(years.dayDetails(c.date), "当時の暦"));
        EXPECT_TRUE(anyLineHas(page.limitNotes, "当時の暦"));
    }
    EXPECT_FALSE(cellOf(years.monthPage(1873, 1), 1).lunar.has_value());
    EXPECT_TRUE(anyLineHas(years.monthPage(300, 5).limitNotes, "後世の推算"));
}

} // namespace
} // namespace sorvane::almanac
