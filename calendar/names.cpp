#include "calendar/names.h"

namespace sorvane {

namespace {

constexpr const char* kStems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr const char* kBranches[12] = {"子", "丑", "寅", "卯", "辰", "巳",
                                       "午", "未", "申", "酉", "戌", "亥"};

std::array<std::string, 61> makeSexagenaryNames() {
    std::array<std::string, 61> names;
    for (int n = 1; n <= 60; ++n) {
        names[static_cast<std::size_t>(n)] =
            std::string(kStems[(n - 1) % 10]) + kBranches[(n - 1) % 12];
    }
    return names;
}

} // namespace

const std::array<std::array<std::string, 2>, 13> solarTermNames = {{
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

const std::array<std::string, 61> sexagenaryNames = makeSexagenaryNames();

const std::array<std::string, 8> weekdayNames = {"", "日", "月", "火", "水", "木", "金", "土"};

} // namespace sorvane
