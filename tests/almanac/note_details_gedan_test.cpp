// The day's details (the calendar page, the web page's day document) list the 下段 with what
// each means and the day's 潮名; a day's square with the 暦注 shows both in short.
#include "almanac/month_page.h"
#include "calendar/civil_date.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sorvane::almanac {
namespace {

bool hasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST(NoteDetails, GedanAndShio) {
    CalendarYears years(testing::shippedTables());
    // 2026-03-15: 母倉日 and 社日 (tests/notes/notes_gedan_test.cpp), 旧1月27日 中潮.
    const std::vector<std::string> march15 = years.noteDetails({2026, 3, 15});
    EXPECT_TRUE(hasLineStarting(march15, "下段 母倉日：母が子を慈しむように"));
    EXPECT_TRUE(hasLineStarting(march15, "下段 社日：春分・秋分に最も近い戊の日"));
    EXPECT_TRUE(hasLineStarting(march15, "潮名 中潮："));
    EXPECT_FALSE(hasLineStarting(march15, "下段 大明日"));
    // 2026-02-04 (己酉, 寅月; 旧12月17日): 大明日, 天恩日, 十死日 and 大潮.
    const std::vector<std::string> feb4 = years.noteDetails({2026, 2, 4});
    for (const char* start : {"下段 大明日：", "下段 天恩日：", "下段 十死日：", "潮名 大潮："}) {
        EXPECT_TRUE(hasLineStarting(feb4, start)) << start;
    }
    // Outside the lunisolar calendar's years the notes have no 潮名.
    const std::vector<std::string> old = years.noteDetails({1850, 3, 15});
    EXPECT_FALSE(hasLineStarting(old, "潮名"));
}

// The lines a square adds with the 暦注: the 潮名 after 十二直・二十八宿・九星, the 下段 as a line
// of marks after the 選日's. Each day's notes as the published sources give them
// (tests/notes/notes_gedan_test.cpp, notes_rules_test.cpp, notes_shio_test.cpp):
// - 2026-02-04, 己酉 of the 寅月, 旧12月17日: 大潮; 大明日, 天恩日, 十死日.
// - 2026-03-05, 戊寅, the 卯月 from this day (啓蟄), 旧1月17日: 閉・角・三碧, 大潮; 一粒万倍日,
//   天赦日, 寅の日, 三隣亡 (新日本カレンダー's 2026 lists); 帰忌日 (二月 寅, yomi069).
// - 2026-03-15, 戊子 of the 卯月, 旧1月27日: 中潮; 母倉日 (二月 子), 社日 (アトリエピジョン).
// - 2026-02-12, 丁巳 of the 寅月 (正月 丁: 天徳日), 旧12月25日: 長潮; 天徳日, 重日 (巳).
// - 1850-03-15: before the lunisolar calendar's years, no 潮名.
TEST(NoteCells, GedanAndShio) {
    CalendarYears years(testing::shippedTables());
    struct Case {
        CivilDate date;
        std::string shio;  // at the end of the first line
        std::string gedan; // the line of the 下段's marks
    };
    const Case cases[] = {
        {{2026, 2, 4}, "大潮", "大明 天恩 十死"},
        {{2026, 3, 5}, "大潮", "帰忌"},
        {{2026, 3, 15}, "中潮", "母倉 社日"},
        {{2026, 2, 12}, "長潮", "天徳 重"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = years.cellNotes(c.date);
        SCOPED_TRACE(isoDateText(c.date));
        ASSERT_FALSE(lines.empty());
        const std::string end = " " + c.shio;
        EXPECT_TRUE(lines[0].size() > end.size() &&
                    lines[0].compare(lines[0].size() - end.size(), end.size(), end) == 0)
            << lines[0];
        EXPECT_NE(std::find(lines.begin(), lines.end(), c.gedan), lines.end());
    }
    // The whole square of 2026-03-05: its 選日's marks come before the 下段's.
    EXPECT_EQ(years.cellNotes({2026, 3, 5}),
              (std::vector<std::string>{"閉・角・三碧 大潮", "一粒万倍 天赦 寅 三隣亡", "帰忌"}));
    const std::vector<std::string> old = years.cellNotes({1850, 3, 15});
    ASSERT_FALSE(old.empty());
    EXPECT_EQ(old[0].find("潮"), std::string::npos) << old[0];
}

} // namespace
} // namespace sorvane::almanac
