// The day's details give the 七十二候 with its reading.
#include "almanac/month_page.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sorvane::almanac {
namespace {

bool hasLine(const std::vector<std::string>& lines, const std::string& start) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.rfind(start, 0) == 0; });
}

TEST(NoteDetails, KouWithItsReading) {
    CalendarYears years(testing::shippedTables());
    // 2026-02-04 is 立春, the first day of 東風解凍; 2026-02-05 lies inside it; 2026-06-21 is
    // 夏至 (乃東枯), as tests/notes/notes_rules_test.cpp has it.
    EXPECT_TRUE(hasLine(years.noteDetails({2026, 2, 4}),
                        "七十二候 東風解凍（はるかぜこおりをとく、この日から）："));
    EXPECT_TRUE(
        hasLine(years.noteDetails({2026, 2, 5}), "七十二候 東風解凍（はるかぜこおりをとく）："));
    EXPECT_TRUE(hasLine(years.noteDetails({2026, 6, 21}),
                        "七十二候 乃東枯（なつかれくさかるる、この日から）："));
}

// The 九星 lines lead with what the day's star stands for. The stars are those of
// tests/notes/notes_rules_test.cpp: 2014-12-20 二黒 (陽遁 from 2014-12-19's 一白), 2015-06-18
// 八白 (陰遁 after 2015-06-17's 九紫).
TEST(NoteDetails, StarsWithWhatTheyStandFor) {
    CalendarYears years(testing::shippedTables());
    EXPECT_TRUE(hasLine(years.noteDetails({2014, 12, 20}),
                        "日家九星 二黒土星（陽遁）：五行は土、方位は西南、八卦は坤の星。冬至と"));
    EXPECT_TRUE(hasLine(years.noteDetails({2015, 6, 18}),
                        "日家九星 八白土星（陰遁）：五行は土、方位は東北、八卦は艮の星。冬至と"));
}

// The 二十八宿 line leads with what the day's 宿 is said to favour and avoid; 2026-01-01 is a 井
// day (tests/notes/notes_rules_test.cpp).
TEST(NoteDetails, MansionWithWhatItFavours) {
    CalendarYears years(testing::shippedTables());
    EXPECT_TRUE(hasLine(years.noteDetails({2026, 1, 1}),
                        "二十八宿 井：神仏の祭祀・種まき・普請建築に吉とされる日。月の通り道"));
}

} // namespace
} // namespace sorvane::almanac
