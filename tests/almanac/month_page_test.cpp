// The calendar page's grid rules: a sixth week folded into the fifth, and the lines a crowded
// cell shows.
#include "almanac/month_page.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace sorvane::almanac {
namespace {

// A page of whole weeks for a month whose 1st falls on weekday `lead` and that has `days`.
MonthPage pageOf(int lead, int days) {
    MonthPage page;
    const int weeks = (lead + days + 6) / 7;
    for (int i = 0; i < weeks * 7; ++i) {
        DayCell cell;
        cell.inMonth = i >= lead && i < lead + days;
        cell.weekday = i % 7 + 1;
        page.cells.push_back(cell);
    }
    return page;
}

TEST(MonthPageGrid, SixthWeekFoldsIntoSplitSquares) {
    const struct {
        const char* what;
        int lead;
        int days;
        int rows;
        // index -> expected row, column and part
        std::vector<std::pair<std::size_t, GridSlot>> slots;
    } cases[] = {
        {"2026-05: the 31st under the 24th",
         5,
         31,
         5,
         {{28, {4, 0, CellPart::Upper}},
          {35, {4, 0, CellPart::Lower}},
          {29, {4, 1, CellPart::Whole}},
          {36, {4, 1, CellPart::Hidden}},
          {41, {4, 6, CellPart::Hidden}},
          {5, {0, 5, CellPart::Whole}}}},
        {"2026-08 (from a Saturday): 23/30 and 24/31",
         6,
         31,
         5,
         {{28, {4, 0, CellPart::Upper}},
          {29, {4, 1, CellPart::Upper}},
          {35, {4, 0, CellPart::Lower}},
          {36, {4, 1, CellPart::Lower}},
          {30, {4, 2, CellPart::Whole}}}},
        {"five weeks: nothing folds", 3, 30, 5, {{34, {4, 6, CellPart::Whole}}}},
        {"February of four weeks", 0, 28, 4, {{27, {3, 6, CellPart::Whole}}}},
    };
    for (const auto& c : cases) {
        const MonthPage page = pageOf(c.lead, c.days);
        EXPECT_EQ(gridRows(page), c.rows) << c.what;
        for (const auto& [index, want] : c.slots) {
            const GridSlot got = gridSlot(page, index);
            EXPECT_EQ(got.row, want.row) << c.what << " " << index;
            EXPECT_EQ(got.column, want.column) << c.what << " " << index;
            EXPECT_EQ(got.part, want.part) << c.what << " " << index;
        }
        // Every day of the month is drawn, and no square holds more than two.
        int drawn = 0;
        for (std::size_t i = 0; i < page.cells.size(); ++i) {
            const GridSlot slot = gridSlot(page, i);
            EXPECT_LT(slot.row, kPageRows) << c.what;
            if (page.cells[i].inMonth) {
                EXPECT_NE(slot.part, CellPart::Hidden) << c.what << " " << i;
                ++drawn;
            }
        }
        EXPECT_EQ(drawn, c.days) << c.what;
    }
}

TEST(MonthPageGrid, CrowdedCellShowsItsFirstLinesAndHowManyMore) {
    const struct {
        std::vector<int> rows; // rows each line takes
        int capacity;
        std::size_t shown;
    } cases[] = {
        {{1, 1, 1}, 3, 3},          // all fit
        {{1, 1, 1, 1, 1}, 3, 2},    // two lines and 他3件
        {{1, 2, 1}, 3, 1},          // a wrapped line does not fit beside the 他N件 row
        {{1, 1}, 1, 0},             // only 他2件
        {{}, 0, 0},                 // nothing to show
        {{1, 1, 1, 1, 1, 1}, 4, 3}, // 2026-05-03 at the page's usual size: 3 and 他3件
    };
    for (const auto& c : cases) {
        EXPECT_EQ(linesShown(c.rows, c.capacity), c.shown)
            << c.rows.size() << " lines in " << c.capacity;
    }
    EXPECT_EQ(moreText(2), "他2件");
}

} // namespace
} // namespace sorvane::almanac
