// The 雑節: the seasonal days of the Japanese almanac that hang on the solar terms.
#pragma once

#include "almanac/event.h"
#include "calendar/civil_date.h"

#include <array>
#include <string>
#include <vector>

namespace sorvane::almanac {

// The shown moments that the 雑節 of a year are counted from (their date, hour, minute and
// longitude are read).
struct SeasonAnchors {
    Event risshun;                    // 立春 315
    Event shunbun;                    // 春分 0
    Event rikka;                      // 立夏 45
    Event risshuu;                    // 立秋 135
    Event shuubun;                    // 秋分 180
    Event rittou;                     // 立冬 225
    std::array<Event, 4> doyoEntries; // 土用 entries of January, April, July, October
    Event nyuubai;                    // 入梅 80
    Event hangeshou;                  // 半夏生 100
};

// The longest period of days the 雑節 count: a year.
inline constexpr long long kMaxPeriodDays = 366;

// The days of a period whose sexagenary (干支) branch is 丑 (the second of the twelve:
// sexagenary indexes 2, 14, 26, 38, 50), first to last inclusive. Throws std::length_error
// for a period of more than kMaxPeriodDays days (anchors from a damaged calculation).
std::vector<CivilDate> ushiDays(const CivilDate& first, const CivilDate& last);

// The year's 雑節 in time order (date, then time; a 土用 period before the 丑の日 in it):
// 節分, the 土用 periods with their 丑の日, the 彼岸 入り and 明け of spring and autumn,
// 八十八夜, 入梅, 半夏生, 二百十日 and 二百二十日.
// - 節分: the day before 立春's date. 彼岸: 入り three days before 春分's and 秋分's date,
//   明け three days after. 八十八夜, 二百十日, 二百二十日: 立春's date + 87, 209, 219 days.
// - 土用: from each entry's date through the day before the next 立春, 立夏, 立秋 or 立冬.
//   Its 丑の日 are named 丑の日 when there is one and 一の丑, 二の丑 .. when there are more.
// - 入梅 and 半夏生: the given moments.
// Dates are those of the shown (minute-rounded) moments, so the list agrees with the lines.
// Kinds: ZassetsuDay, ZassetsuMoment, DoyoPeriod, UshiDay; each item's line is zassetsuLine.
std::vector<Event> zassetsu(const SeasonAnchors& anchors);

// One line: "MM-DD HH:MM  name" for a moment, "MM-DD        name" for a day, and for a
// 土用 period "MM-DD        name MM-DD〜MM-DD".
std::string zassetsuLine(const Event& item);

// The same line with its dates as Japanese text, for the windows: "1月17日        冬の土用
// 1月17日〜2月2日". The date is padded to the width of "12月31日" (in a font whose Japanese
// characters are two columns wide), so the names stay in one column.
std::string zassetsuJapaneseLine(const Event& item);

} // namespace sorvane::almanac
