// Where the program's sources end: the years the calendar keeps to the seasons, and the
// short notes that a page of a month carries for each limit it runs into.
#pragma once

#include <string>
#include <vector>

namespace sorvane::almanac {

// The years in which every event of the default mode lies in its own month (measured over
// the whole range -32768..32767); beyond them the calendar has drifted from the seasons.
inline constexpr int kFirstCleanYear = -14302;
inline constexpr int kLastCleanYear = 8455;

// True when the year's solar terms and 土用 entries all fall in their own months.
constexpr bool keepsToSeasons(int year) {
    return year >= kFirstCleanYear && year <= kLastCleanYear;
}

// One short Japanese line for each limit the month (year -32768..32767, month 1..12) runs
// into, in this order: the seasons drifted (outside kFirstCleanYear..kLastCleanYear); no era
// year before 1873 (the Gregorian calendar's adoption); the national holidays only from
// 1948-07-20 to the end of coverage(Source::Holidays); the lunisolar date, 六曜 and the Moon's
// phases only in coverage(Source::Lunisolar). Empty for a month within every source.
std::vector<std::string> monthLimitNotes(int year, int month);

} // namespace sorvane::almanac
