// What the terminal program prints.
#pragma once

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

} // namespace sorvane::cli
