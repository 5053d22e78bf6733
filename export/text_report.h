// The year and a month as the terminal program prints them.
#pragma once

#include "almanac/year_almanac.h"

#include <string>

namespace sorvane::exports {

// The 28 result lines, newline-ended, a blank line, the twelve first-day lines ("1月 戊午"
// .. "12月 癸巳"), then, with withZassetsu, a blank line and one line per 雑節. A precise
// year whose moments are uncertain by more than kNotedUncertainty ends with a blank line
// and a note of how many minutes (rounded up) they may be off.
using almanac::kNotedUncertainty;
std::string yearReport(const almanac::YearAlmanac& almanac, bool withZassetsu);

// The 雑節 lines, newline-ended, in time order.
std::string zassetsuReport(const almanac::YearAlmanac& almanac);

// Why a year has no national holidays ("no national holidays before 1948-07-20, ..."), or
// "" for a year that has some.
std::string holidaysNote(int year);

// The national holidays, one line each in date order: "MM-DD  name" (振替休日 and 国民の休日
// by those names).
std::string holidayReport(const almanac::YearAlmanac& almanac);

// The month window's content: the year caption, the month caption, a blank line, then the
// day lines, newline-ended.
std::string monthReport(const almanac::YearAlmanac& almanac, int month);

} // namespace sorvane::exports
