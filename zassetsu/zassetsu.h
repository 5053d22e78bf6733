// The 雑節: the seasonal days of the Japanese almanac that hang on the solar terms, rules over
// the terms' shown moments as holidays/ is over the equinoxes. Their kinds are their own
// (zassetsu::Kind): the solar events' EventKind has only the terms'.
#pragma once

#include "calendar/civil_date.h"

#include <array>
#include <string>
#include <vector>

namespace sorvane::zassetsu {

// A moment of the Sun as shown: its JST date, hour and minute (rounded to the minute) and the
// longitude that marks it.
struct ShownMoment {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    double longitude = 0;
};

// The shown moments that the 雑節 of a year are counted from.
struct SeasonAnchors {
    ShownMoment risshun;                    // 立春 315
    ShownMoment shunbun;                    // 春分 0
    ShownMoment rikka;                      // 立夏 45
    ShownMoment risshuu;                    // 立秋 135
    ShownMoment shuubun;                    // 秋分 180
    ShownMoment rittou;                     // 立冬 225
    std::array<ShownMoment, 4> doyoEntries; // 土用 entries of January, April, July, October
    ShownMoment nyuubai;                    // 入梅 80
    ShownMoment hangeshou;                  // 半夏生 100
};

// The kinds of 雑節.
enum class Kind {
    Day,     // a whole day (節分, 彼岸, 八十八夜 ..)
    Moment,  // an instant (入梅, 半夏生)
    Period,  // the days of a 土用, first to last
    UshiDay, // a 土用の丑の日
};

// One 雑節 of a year.
struct Item {
    Kind kind = Kind::Day;
    std::string name; // "節分", "夏の土用", "夏の土用 一の丑"
    // A short ASCII key, the same from year to year ("setsubun", "doyo-summer-ushi-2").
    std::string id;
    CivilDate date;     // JST date; a period's first day
    CivilDate lastDate; // a period's last day; otherwise date
    int hour = 0;       // a moment's JST hour and minute
    int minute = 0;
    double longitude = 0; // a moment's longitude of the Sun, degrees
    std::string rule;     // how its date follows from the solar terms, in Japanese
    std::string line;     // its line in the reports (zassetsuLine)
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
// Each item's line is zassetsuLine.
std::vector<Item> yearZassetsu(const SeasonAnchors& anchors);

// A run of days the almanac names as a whole: a 土用, from its entry through the day before
// the next season's start, or a 彼岸, seven days from its 入り (three days before the
// equinox's date) through its 明け (three days after).
struct Period {
    std::string name; // the short name: "土用", "彼岸"
    CivilDate first;
    CivilDate last;
};

// The periods of a year's 雑節 (the list of yearZassetsu), in its order: the four 土用 and the
// 彼岸 of spring and autumn.
std::vector<Period> yearPeriods(const std::vector<Item>& items);

// Every name a query can give a 雑節, in the order of a year: each item's name, a 丑の日 by
// its own ("丑の日", "一の丑", "二の丑"; a 土用 holds two at most) rather than with its
// 土用's ("夏の土用 一の丑").
std::vector<std::string> names();

// One line: "MM-DD HH:MM  name" for a moment, "MM-DD        name" for a day, and for a
// 土用 period "MM-DD        name MM-DD〜MM-DD".
std::string zassetsuLine(const Item& item);

// The same line with its dates as Japanese text, for the windows: "1月17日        冬の土用
// 1月17日〜2月2日". The date is padded to the width of "12月31日" (in a font whose Japanese
// characters are two columns wide), so the names stay in one column.
std::string zassetsuJapaneseLine(const Item& item);

} // namespace sorvane::zassetsu
