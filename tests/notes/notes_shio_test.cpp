// The 潮名 against the 海上保安庁's tables and a published tide table's month.
#include "almanac/coverage.h"
#include "notes/notes.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace sorvane;
using namespace sorvane::notes;

// The names of the lunisolar days 1..30, one character each (大 中 小 長 若), as two pages of
// the 海上保安庁 print the table:
// - 海洋情報部 「§潮(大潮・長潮・若潮・・・)の名前?」
//   https://www1.kaiho.mlit.go.jp/JODC/SODAN/faq/tidename.htm (read 2026-12-09): 1〜2 大潮,
//   3〜6 中潮, 7〜9 小潮, 10 長潮, 11 若潮, 12〜13 中潮, 14〜17 大潮, 18〜21 中潮, 22〜24 小潮,
//   25 長潮, 26 若潮, 27〜28 中潮, 29〜30 大潮;
// - 第五管区 海の相談室 「Q:潮(しお)の名前について」
//   https://www1.kaiho.mlit.go.jp/KAN5/soudan/faq_choumei.html (read 2026-12-09), its day row;
// and 大東マリン's 「潮汐の説明」 http://daidtm.net/tyoseki.html (read 2026-12-09): 大潮 29〜2・
// 14〜17, 中潮 3〜6・12・13・18〜21・27・28, 小潮 7〜9・22〜24, 長潮 10・25, 若潮 11・26.
TEST(NotesShio, ByLunarDayAsPublished) {
    const std::string jodc = "大大中中中中小小小長若中中大大大大中中中中小小小長若中中大大";
    const std::string kan5 = "大大中中中中小小小長若中中大大大大中中中中小小小長若中中大大";
    const std::string daidtm = "大大中中中中小小小長若中中大大大大中中中中小小小長若中中大大";
    for (const std::string* table : {&jodc, &kan5, &daidtm}) {
        ASSERT_EQ(table->size(), 90u);
        for (int day = 1; day <= 30; ++day) {
            const std::string name = shioName(shio(day));
            EXPECT_EQ(name.substr(0, 3), table->substr(static_cast<std::size_t>(day - 1) * 3, 3))
                << "lunisolar day " << day;
        }
    }
    EXPECT_THROW(shio(0), std::out_of_range);
    EXPECT_THROW(shio(31), std::out_of_range);
}

// A published month: the 潮汐 column of the Japan Weather Association's 鹿児島 tide table for
// June 2020 (「2020年06月 … 潮汐」, データ提供:日本気象協会鹿児島事業所, as copied at
// http://aws-cid.boxhill.edu.au/zibiwop85256.php, read 2026-12-09), 1..29 June; June 2020
// holds the end of 閏4月 and the start of 5月.
TEST(NotesShio, PublishedTideTableJune2020) {
    const std::string published = "長若中中大大大大中中中中小小小長若中中大大大中中中中小小小";
    const almanac::SunEngines engines(&sorvane::testing::shippedTables());
    const YearNotes notes = yearNotes(engines.pageChoice(), 2020);
    for (int day = 1; day <= 29; ++day) {
        const DayNotes& d = notes.day(6, day);
        ASSERT_TRUE(d.shio.has_value());
        EXPECT_EQ(std::string(shioName(*d.shio)).substr(0, 3),
                  published.substr(static_cast<std::size_t>(day - 1) * 3, 3))
            << "2020-06-" << day << " (旧" << *d.lunarMonth << "月" << *d.lunarDay << "日)";
    }
}

} // namespace
