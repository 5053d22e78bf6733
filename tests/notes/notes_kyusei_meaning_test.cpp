// What each 九星 stands for against published tables other than the one notes/readings.cpp took
// its 五行 and 方位 from (all read 2026-12-09): the 方角 of 「九星」, ピクシブ百科事典
// (https://dic.pixiv.net/a/九星; its 南西, 南東, 北西, 北東 are written here as 西南 ..), and the
// 五行 of 「九星のイメージ」, 高野白山の九州易学開運学院
// (https://www.takanohakusan.jp/blog/article/2937/).
#include "notes/notes.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace sorvane::notes {
namespace {

TEST(KyuseiMeaning, ElementAndDirectionMatchPublishedTables) {
    struct Case {
        int star;
        const char* element; // 高野白山: 一白 水, 二黒・五黄・八白 土, 三碧・四緑 木 ..
        const char* direction; // ピクシブ百科事典: 北, 南西, 東, 南東, 中央 ..
    };
    const Case cases[] = {
        {1, "水", "北"},   {2, "土", "西南"}, {3, "木", "東"},
        {4, "木", "東南"}, {5, "土", "中央"}, {6, "金", "西北"},
        {7, "金", "西"},   {8, "土", "東北"}, {9, "火", "南"},
    };
    for (const Case& c : cases) {
        const std::string meaning = kyuseiMeaning(c.star);
        EXPECT_EQ(
            meaning.rfind(std::string("五行は") + c.element + "、方位は" + c.direction + "、", 0),
            0u)
            << c.star << " " << meaning;
        // The element is the one in the star's name (一白水星: 水).
        EXPECT_NE(std::string(kyuseiName(c.star)).find(std::string(c.element) + "星"),
                  std::string::npos)
            << kyuseiName(c.star);
    }
    EXPECT_THROW(kyuseiMeaning(0), std::out_of_range);
    EXPECT_THROW(kyuseiMeaning(10), std::out_of_range);
}

} // namespace
} // namespace sorvane::notes
