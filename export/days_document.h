// The year day by day and the Moon's phases, as text lines and as a JSON document.
#pragma once

#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"

#include <string>
#include <vector>

namespace sorvane::exports {

// One tab-separated line per day: ISO date, weekday, 干支, lunisolar date, 六曜, holiday,
// then the day's events separated by "、" (an instant with its JST time: "朔 21:36"). An
// empty field is "-".
std::string daysReport(const std::vector<almanac::DayEntry>& days);

// One line per phase of the almanac's lunisolar year, "MM-DD HH:MM  朔", in time order;
// empty without it.
std::string phasesReport(const almanac::YearAlmanac& almanac);

// One JSON document: "year", "mode" ("precise" or "default": where the solar terms came
// from), "lunisolar" (whether the lunisolar fields are given), "note" when the moments are
// uncertain by minutes ("注：この年の時刻は±5分ほどずれることがあります"), then with days a "days"
// array (per day: date, weekday, sexagenary (the day's 干支, the key the year and month
// documents use), kanshi, lunar {month, day, leap, monthLength} or null, rokuyo or null,
// holiday or null, events [{name, kind, jst}], jst an ISO 8601 time with +09:00 for an
// instant and null for a whole day), and with withPhases a "phases" array
// ([{name, phase, jst}]). "kanshi" is the former name of "sexagenary", with the same value,
// kept for one release.
std::string daysJson(const almanac::YearAlmanac& almanac,
                     const std::vector<almanac::DayEntry>* days, bool withPhases);

} // namespace sorvane::exports
