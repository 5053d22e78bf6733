// The year as one JSON document.
#pragma once

#include "almanac/year_almanac.h"

#include <string>

namespace sorvane::exports {

// The almanac's year: "year", "mode" ("default" or "precise"), "timeScale", the 28 "events"
// with their moments and shown JST times, the twelve "firstDays", and with withZassetsu the
// "zassetsu" array.
std::string yearJson(const almanac::YearAlmanac& almanac, bool withZassetsu);

} // namespace sorvane::exports
