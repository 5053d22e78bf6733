// The calendar's fixed vocabulary: the names of the solar terms, of the sexagenary (干支)
// cycle and of the weekdays. Constants, shared by every layer above; no file is read.
#pragma once

#include <array>
#include <string>

namespace sorvane {

// solarTermNames[month index 0..12][row 0 = 節, 1 = 中気]; month index 0 holds "土用" in
// both rows. The 24 term names have a full-width space (U+3000) between their characters.
extern const std::array<std::array<std::string, 2>, 13> solarTermNames;

// sexagenaryNames[1..60]: stem ((n - 1) mod 10) of 甲乙丙丁戊己庚辛壬癸 and branch
// ((n - 1) mod 12) of 子丑寅卯辰巳午未申酉戌亥; 1 = 甲子, 60 = 癸亥. Entry 0 is empty.
extern const std::array<std::string, 61> sexagenaryNames;

// weekdayNames[1..7]: 日 月 火 水 木 金 土 (1 = Sunday). Entry 0 is empty.
extern const std::array<std::string, 8> weekdayNames;

} // namespace sorvane
