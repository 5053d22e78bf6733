// The 雑節: the seasonal days of the Japanese almanac that hang on the solar terms.
#pragma once

#include <array>
#include <compare>
#include <string>
#include <vector>

namespace sorvane {

// A date of the proleptic Gregorian calendar (astronomical year numbers), in JST.
struct CivilDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    auto operator<=>(const CivilDate&) const = default;
};

// The day number of a date: the integer part of julianday at its 00:00 (the number that
// kanshi and youbi take).
long long dayNumber(const CivilDate& date);
// The date of a day number; the inverse of dayNumber.
CivilDate civilDate(long long dayNumber);
CivilDate addDays(const CivilDate& date, long long days);
// "MM-DD".
std::string monthDayText(const CivilDate& date);

// A moment as the result lines show it: a JST date and the time rounded to the minute.
struct ShownMoment {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    double longitude = 0; // the Sun's longitude that marks it, degrees
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

// The longest period of days the 雑節 count: a year.
inline constexpr long long kMaxPeriodDays = 366;

// The days of a period whose sexagenary (干支) branch is 丑 (the second of the twelve:
// sexagenary indexes 2, 14, 26, 38, 50), first to last inclusive. Throws std::length_error
// for a period of more than kMaxPeriodDays days (anchors from a damaged calculation).
std::vector<CivilDate> ushiDays(const CivilDate& first, const CivilDate& last);

enum class ZassetsuKind {
    Day,        // a whole day
    Moment,     // an instant: the Sun reaches a longitude
    DoyoPeriod, // the days of a 土用, date to lastDate
    UshiDay,    // a 土用の丑の日
};

struct ZassetsuItem {
    ZassetsuKind kind = ZassetsuKind::Day;
    std::string name; // Japanese, as printed
    std::string id; // short ASCII key, stable from year to year ("setsubun", "doyo-summer-ushi-2")
    CivilDate date;
    CivilDate lastDate;   // DoyoPeriod only
    int hour = 0;         // Moment only
    int minute = 0;       // Moment only
    double longitude = 0; // Moment only
    std::string rule;     // how the date follows from the solar terms, in Japanese
};

// The year's 雑節 in time order (date, then time; a 土用 period before the 丑の日 in it):
// 節分, the 土用 periods with their 丑の日, the 彼岸 入り and 明け of spring and autumn,
// 八十八夜, 入梅, 半夏生, 二百十日 and 二百二十日.
// - 節分: the day before 立春's date. 彼岸: 入り three days before 春分's and 秋分's date,
//   明け three days after. 八十八夜, 二百十日, 二百二十日: 立春's date + 87, 209, 219 days.
// - 土用: from each entry's date through the day before the next 立春, 立夏, 立秋 or 立冬.
//   Its 丑の日 are named 丑の日 when there is one and 一の丑, 二の丑 .. when there are more.
// - 入梅 and 半夏生: the given moments.
// Dates are those of the shown (minute-rounded) moments, so the list agrees with the lines.
std::vector<ZassetsuItem> zassetsu(const SeasonAnchors& anchors);

// One line: "MM-DD HH:MM  name" for a moment, "MM-DD        name" for a day, and for a
// 土用 period "MM-DD        name MM-DD〜MM-DD".
std::string zassetsuLine(const ZassetsuItem& item);

} // namespace sorvane
