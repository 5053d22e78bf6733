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

} // namespace
} // namespace sorvane::almanac
