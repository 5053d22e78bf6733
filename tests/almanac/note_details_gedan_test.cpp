// The day's details (the calendar page, the web page's day document) list the 下段 with what
// each means and the day's 潮名.
#include "almanac/month_page.h"
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

} // namespace
} // namespace sorvane::almanac
