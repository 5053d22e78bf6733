// The JST date on which the Sun reaches one longitude, by the mode the calendar page uses.
#pragma once

#include "calendar/civil_date.h"
#include "ephemeris/tables.h"

namespace sorvane::notes {

// solarDate: the JST date on which the Sun's apparent longitude reaches target (degrees).
//   year, month  the month whose days guessDay counts (the event may fall a few days into
//                the next month)
//   guessDay     a day of that month within five days of the event
//   precise      the precise mode (years precise::inRange only), else the solar theory
// Method: in the precise mode the moment of precise::preciseEvent; else
// the solar theory's as the finder finds its terms (a whole-day search from guessDay - 5,
// the slope over 0.001 day, three chord steps, hyouji's conversion to JST), with the search
// taken modulo 360 degrees so that it also brackets the targets next to 0. Either moment is
// rounded to the minute, as the calendar page shows it, before its date is taken.
CivilDate solarDate(const Tables& tables, int year, int month, double target, double guessDay,
                    bool precise);

} // namespace sorvane::notes
