// The sexagenary (干支) day cycle and the week.
#pragma once

#include <cstdint>

namespace sorvane {

// Remainder of floored division: takes the sign of the divisor, so the cycles run on
// without a break through zero and negative numbers.
long long floorMod(long long a, long long b);

// kanshi: sexagenary index of a day.
//   n  day number: the integer part of the Julian date of the day's 00:00 (a whole number)
// Returns 1..60, 1 = 甲子; 1949-10-01 (n = 2433190) is 甲子.
std::int16_t kanshi(double n);

// yearSexagenary: sexagenary index of a year, 1..60, 1 = 甲子 (1984 and year 4 are 甲子,
// 2026 is 丙午). The same cycle runs on through year 0 (庚申) and below. The year here is the
// one whose 干支 is meant: the civil year, the lunisolar year or the 節 year from 立春.
int yearSexagenary(int year);

// youbi: weekday index of a day.
//   n  day number, as for kanshi
// Returns 1..7, 1 = Sunday (日) .. 7 = Saturday (土).
std::int16_t youbi(double n);

} // namespace sorvane
