// What each 二十八宿 is said to favour and avoid, against published tables other than the one
// notes/readings.cpp took its phrases from (all read 2026-12-09): 「二十八宿」, 開運堂
// (http://www.kaiundo.info/koyomi/nijyuhachi.html), 「暦の見方 その8 二十八宿」, 高野白山の九州易学
// 開運学院 (https://www.takanohakusan.jp/blog/date/2021/12/) and KOYOMI NOTE's day page of
// 2007-02-23 (https://koyominote.com/post/calendar-day/?date=2007-02-23) for 鬼.
#include "notes/notes.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace sorvane::notes {
namespace {

TEST(ShukuMeaning, FavoursAndAvoidsMatchPublishedTables) {
    struct Case {
        int shuku; // 0 = 角
        const char* name;
        const char* favours; // said before its 吉 (nullptr: not checked)
        const char* avoids;  // said after the 吉, before its 凶 (nullptr: none checked)
    };
    const Case cases[] = {
        {0, "角", "婚礼", "葬式"},        // 開運堂
        {1, "亢", "物品の購入", nullptr}, // 開運堂
        {3, "房", "旅行", nullptr},       // 高野白山
        {4, "心", "旅行", "婚礼"},        // 開運堂
        {5, "尾", "新規事", nullptr},     // 高野白山
        {6, "箕", "集金", "葬式"},        // 開運堂
        {7, "斗", "土掘り", nullptr},     // 高野白山
        {8, "牛", "万事", nullptr},       // 開運堂
        {9, "女", nullptr, "婚礼"},       // 開運堂
        {10, "虚", "学問始め", "相談"},   // 開運堂
        {12, "室", "婚礼", nullptr},      // 高野白山
        {13, "壁", "婚礼", nullptr},      // 高野白山
        {17, "昴", "神仏詣で", nullptr},  // 高野白山
        {18, "畢", "祭祀", nullptr},      // 高野白山
        {22, "鬼", nullptr, "婚礼"},      // KOYOMI NOTE: 婚礼のみ凶
    };
    for (const Case& c : cases) {
        ASSERT_STREQ(shukuName(c.shuku), c.name);
        const std::string m = shukuMeaning(c.shuku);
        const std::size_t kichi = m.find("吉");
        ASSERT_NE(kichi, std::string::npos) << c.name << " " << m;
        if (c.favours) {
            EXPECT_LT(m.find(c.favours), kichi) << c.name << " " << m;
        }
        if (c.avoids) {
            const std::size_t at = m.find(c.avoids, kichi);
            const std::size_t kyo = m.find("凶", kichi);
            EXPECT_TRUE(at != std::string::npos && kyo != std::string::npos && at < kyo)
                << c.name << " " << m;
        }
    }
    for (int shuku = 0; shuku < 28; ++shuku) {
        EXPECT_FALSE(std::string(shukuMeaning(shuku)).empty()) << shuku;
    }
    EXPECT_THROW(shukuMeaning(28), std::out_of_range);
    EXPECT_THROW(shukuMeaning(-1), std::out_of_range);
}

} // namespace
} // namespace sorvane::notes
