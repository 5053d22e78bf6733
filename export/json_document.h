// The year as one JSON document.
#pragma once

#include "almanac/year_almanac.h"

#include <string>

namespace sorvane::exports {

// The almanac's year: "year", "mode" ("default" or "precise"), "timeScale", the 28 "events"
// with their moments and shown JST times, the twelve "firstDays", and with withZassetsu the
// "zassetsu" array, with withHolidays the "holidays" array (date, name, kind, provisional;
// empty for a year without holidays).
std::string yearJson(const almanac::YearAlmanac& almanac, bool withZassetsu,
                     bool withHolidays = false);

} // namespace sorvane::exports
