// The calendar page as JSON, for the web edition: a month's page (almanac::MonthPage with
// each cell's 暦注 lines and grid slot) and a day's details, the same texts the desktop's
// calendar page draws.
#pragma once

#include "almanac/month_page.h"
#include "horizon/places.h"

#include <string>

namespace sorvane::exports {

// The page of year-month: era, year 干支, mode line, limit notes, the small months and the
// cells (date, weekday, 干支, holiday, lunisolar text, 六曜, marks, phase with its minute,
// the 土用/彼岸 band, the 暦注 lines, the grid slot).
std::string monthPageJson(almanac::CalendarYears& years, int year, int month);

// Everything known about one day: the details lines, the 暦注 lines with their meanings and
// the rising and setting times at place.
std::string dayPageJson(almanac::CalendarYears& years, const CivilDate& date,
                        const horizon::NamedPlace& place);

} // namespace sorvane::exports
