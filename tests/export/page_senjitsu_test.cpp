// The 選日 the web page shows without its 暦注 toggle (export/page_document.h: each month
// cell's "senjitsu" marks, each day's "senjitsu" names), against the rule of 天赦日 as the
// almanacs state it (戊寅 in spring, 甲午 in summer, 戊申 in autumn, 甲子 in winter, the
// seasons from 立春, 立夏, 立秋 and 立冬), on the 2026 dates of those terms published in
// 国立天文台 暦要項 令和8年 (立春 2-04, 立夏 5-05, 立秋 8-07, 立冬 11-07), and the days of
// 2026-03-05 (天赦日 and 一粒万倍日 in 新日本カレンダー's list).
#include "export/page_document.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace sorvane::exports {
namespace {

using nlohmann::json;

std::string tenshaKanshi(const std::string& date) {
    if (date >= "2026-02-04" && date < "2026-05-05") {
        return "戊寅";
    }
    if (date >= "2026-05-05" && date < "2026-08-07") {
        return "甲午";
    }
    if (date >= "2026-08-07" && date < "2026-11-07") {
        return "戊申";
    }
    return "甲子";
}

TEST(PageSenjitsu, TenshaMarkedOnTheSeasonsDays) {
    almanac::CalendarYears years(testing::shippedTables());
    int tensha = 0;
    for (int month = 1; month <= 12; ++month) {
        const json doc = json::parse(monthPageJson(years, 2026, month));
        for (const json& cell : doc["cells"]) {
            if (!cell["inMonth"].get<bool>()) {
                EXPECT_TRUE(cell["senjitsu"].empty()) << cell["date"];
                continue;
            }
            const std::string date = cell["date"];
            const std::vector<std::string> marks = cell["senjitsu"];
            const bool marked = std::find(marks.begin(), marks.end(), "天赦") != marks.end();
            EXPECT_EQ(marked, cell["kanshi"] == tenshaKanshi(date))
                << date << " " << cell["kanshi"];
            tensha += marked ? 1 : 0;
        }
    }
    // Six days: 60 days a cycle, about 91 a season.
    EXPECT_GE(tensha, 5);
    EXPECT_LE(tensha, 8);
}

TEST(PageSenjitsu, MarchFifthNamesItsSenjitsu) {
    almanac::CalendarYears years(testing::shippedTables());
    const json month = json::parse(monthPageJson(years, 2026, 3));
    for (const json& cell : month["cells"]) {
        if (cell["date"] == "2026-03-05") {
            EXPECT_EQ(cell["senjitsu"], json::array({"一粒万倍", "天赦", "寅", "三隣亡"}));
        }
    }
    const json day = json::parse(dayPageJson(years, CivilDate{2026, 3, 5}, horizon::tokyo()));
    EXPECT_EQ(day["senjitsu"], json::array({"一粒万倍日", "天赦日", "寅の日", "三隣亡"}));
    // Outside the years of the 暦注: none.
    const json far = json::parse(dayPageJson(years, CivilDate{-20000, 3, 5}, horizon::tokyo()));
    EXPECT_TRUE(far["senjitsu"].empty());
}

} // namespace
} // namespace sorvane::exports
