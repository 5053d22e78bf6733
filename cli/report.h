// What the terminal program prints.
#pragma once

#include "cli/year_almanac.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"

#include <string>

namespace sorvane::cli {

// The result box's 28 lines, newline-ended, a blank line, then "1月 戊午" .. "12月 癸巳".
std::string yearReport(const Tables& tables, const Finder& finder);

// The month window's content: the year caption, the month caption, a blank line, then the
// day lines, newline-ended. The finder must hold the calculated year.
std::string monthReport(const Tables& tables, const Finder& finder, int month);

// The calculated year as one JSON document.
std::string yearJson(const Tables& tables, const Finder& finder);

// The year report of either mode: the 28 lines of the almanac's mode (in the default mode
// the result box's lines themselves), a blank line, the twelve first-day lines of the
// finder, then, with withZassetsu, a blank line and one line per 雑節.
std::string yearReport(const Tables& tables, const Finder& finder, const YearAlmanac& almanac,
                       bool withZassetsu);

// The 雑節 lines, newline-ended, in time order.
std::string zassetsuReport(const YearAlmanac& almanac);

// The JSON document of either mode; "mode" is "default" or "precise", and withZassetsu adds
// the "zassetsu" array.
std::string yearJson(const Tables& tables, const Finder& finder, const YearAlmanac& almanac,
                     bool withZassetsu);

} // namespace sorvane::cli
