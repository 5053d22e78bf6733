// The JST date on which the Sun reaches one longitude, from the engine the caller chose.
#pragma once

#include "calendar/civil_date.h"
#include "calendar/sun_moments.h"

namespace sorvane::notes {

// solarDate: the JST date on which the Sun's apparent longitude reaches target (degrees).
//   sun          the engine of the year (SunMoments::jstMoment)
//   year, month  the month whose days guessDay counts (the event may fall a few days into
//                the next month)
//   guessDay     a day of that month within five days of the event
// The moment is rounded to the minute, as the calendar page shows it, before its date is
// taken.
CivilDate solarDate(const SunMoments& sun, int year, int month, double target, double guessDay);

} // namespace sorvane::notes
