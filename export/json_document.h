// The year as one JSON document.
#pragma once

#include "almanac/year_almanac.h"

#include <string>

namespace sorvane::exports {

// The almanac's year: "year", "mode" ("default" or "precise"), "timeScale", in the precise
// mode the year's largest "uncertainty" (seconds), in the default mode "offsetFromPrecise"
// (the estimated offset of its moments, seconds), the 28 "events" with their moments (in the
// precise mode with the deltaT used and their uncertainty) and shown JST times, the twelve
// "firstDays", and with withZassetsu the "zassetsu" array. An event whose shown date lies
// outside its month (a year whose calendar has drifted from the seasons) carries
// "outsideMonth": true. With withHolidays the "holidays" array (date, name, kind,
// provisional; empty for a year without holidays, which then has a "holidaysNote" saying why).
std::string yearJson(const almanac::YearAlmanac& almanac, bool withZassetsu,
                     bool withHolidays = false);

// Month month of the almanac's year: "year", "month", the listing's "yearCaption" and
// "monthCaption", and "days", each with its "day", "weekday" and "sexagenary" names.
std::string monthJson(const almanac::YearAlmanac& almanac, int month);

// Whether an event's shown date lies outside the month it belongs to.
bool outsideMonth(int year, const almanac::Event& event);

} // namespace sorvane::exports
