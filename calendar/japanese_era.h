// Japanese era names (元号) of the Gregorian years, from the adoption of the Gregorian
// calendar in Japan (1873-01-01, 明治6年) on.
#pragma once

#include <optional>
#include <string>

namespace sorvane {

// The day Japan took up the Gregorian calendar (明治6年1月1日): the first date with an era
// year, and the first year the program writes as one.
inline constexpr int kGregorianAdoptionYear = 1873;

// A year of an era: 令和 8 is 2026.
struct EraYear {
    std::string era; // "明治", "大正", "昭和", "平成", "令和"
    int year = 0;    // 1 for the era's first year
    bool operator==(const EraYear&) const = default;
};

// The era year of a Gregorian date. An era begins on the day it was proclaimed: 明治 is
// counted from 1868 (so 1873 is 明治6年), 大正 from 1912-07-30, 昭和 from 1926-12-25, 平成 from
// 1989-01-08 and 令和 from 2019-05-01. Before 1873-01-01, when Japan used the lunisolar
// calendar, no Gregorian date has an era year: nullopt.
std::optional<EraYear> eraYearOf(int year, int month, int day);

// The last year written with an era year on the calendar page (the day's details, the
// month's heading): the last year of the holidays and the lunisolar calendar, the present
// calendar's reach. The era list ends with 令和, which will not last that far; a year
// beyond is written without one (no 「令和6982年」 for 9000).
inline constexpr int kLastEraYearWritten = 2100;
// eraYearOf for the dates up to kLastEraYearWritten, nullopt after.
std::optional<EraYear> writtenEraYearOf(int year, int month, int day);

// "令和8年", or "令和元年" for an era's first year.
std::string eraYearText(const EraYear& eraYear);

// The era years a month spans, in date order, joined by " / ": "令和8年"; "昭和64年 /
// 平成元年" for January 1989, whose 1st to 7th belong to 昭和; but
// "令和元年" alone for May 2019, which 令和 began on its first day. Empty before 1873 and
// after kLastEraYearWritten.
std::string monthEraText(int year, int month);

// The Gregorian year of an era year (令和 9 is 2027), whether or not the era reached it;
// nullopt for a name that is no era above.
std::optional<int> gregorianYearOf(const EraYear& eraYear);

} // namespace sorvane
