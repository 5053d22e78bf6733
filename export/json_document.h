// The year as one JSON document.
#pragma once

#include "almanac/year_almanac.h"

#include <string>

namespace sorvane::exports {

// The almanac's year: "year", "mode" ("default" or "precise"), "timeScale", in the precise
// mode the year's largest "uncertainty" (seconds), in the default mode "offsetFromPrecise"
// (the estimated offset of its moments, seconds), the 28 "events" with their moments (in the
// precise mode with the deltaT used and their uncertainty) and shown JST times, the twelve
// "firstDays", and with withZassetsu the "zassetsu" array.
std::string yearJson(const almanac::YearAlmanac& almanac, bool withZassetsu);

} // namespace sorvane::exports
