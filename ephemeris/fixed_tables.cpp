#include "ephemeris/tables.h"

namespace sorvane {

namespace {

constexpr const char* kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr const char* kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                       "午", "未", "申", "酉", "戌", "亥"};

} // namespace

void fillFixedTables(Tables& tables) {
    tables.solarTermNames = {{
        {"土用", "土用"},
        {"小　寒", "大　寒"},
        {"立　春", "雨　水"},
        {"啓　蟄", "春　分"},
        {"清　明", "穀　雨"},
        {"立　夏", "小　満"},
        {"芒　種", "夏　至"},
        {"小　暑", "大　暑"},
        {"立　秋", "処　暑"},
        {"白　露", "秋　分"},
        {"寒　露", "霜　降"},
        {"立　冬", "小　雪"},
        {"大　雪", "冬　至"},
    }};

    for (int n = 1; n <= 60; ++n) {
        tables.sexagenaryNames[n] = std::string(kStems[(n - 1) % 10]) + kBranches[(n - 1) % 12];
    }

    tables.weekdayNames = {"", "日", "月", "火", "水", "木", "金", "土"};

    constexpr std::int16_t column1[12] = {5, 4, 6, 4, 5, 5, 7, 7, 7, 8, 7, 7};
    constexpr std::int16_t column2[12] = {20, 18, 20, 20, 21, 21, 23, 23, 23, 23, 21, 21};
    for (int m = 1; m <= 12; ++m) {
        tables.termApproxDays[m] = {0, column1[m - 1], column2[m - 1]};
    }

    tables.doyoApproxDays = {};
    tables.doyoApproxDays[1] = 16;
    tables.doyoApproxDays[4] = 16;
    tables.doyoApproxDays[7] = 19;
    tables.doyoApproxDays[10] = 20;
}

} // namespace sorvane
