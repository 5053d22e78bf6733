// The moments at which the Sun reaches a longitude, from either of the program's two engines:
// the solar theory's finder (finder/theory_moments.h) and the IAU model of the precise mode
// (sky/precise_year.h). A front end or the almanac chooses the engine of a year
// (almanac::modeFor) and passes it down to the rule libraries (notes/, holidays/).
#pragma once

#include "calendar/civil_date.h"

#include <functional>

namespace sorvane {

class SunMoments {
  public:
    virtual ~SunMoments() = default;

    // jstMoment: the moment, a Julian date in Japan Standard Time (not rounded), at which the
    // Sun's apparent longitude reaches target.
    //   year, month  the month whose days guessDay counts (the moment may fall a few days
    //                into the next month)
    //   target       degrees, 0..360
    //   guessDay     a day of that month within five days of the event
    // Throws CalculationError when no usable moment is found.
    virtual double jstMoment(int year, int month, double target, double guessDay) const = 0;

    // Whether these are the precise mode's moments (the observatory's definition), for the
    // lists that say which mode gave them.
    virtual bool precise() const = 0;
};

// The engine each year gets. The 暦注 of a year reach into the years before and after it,
// which at the edge of the precise mode's range fall to the other engine.
using SunMomentsOfYear = std::function<const SunMoments&(int year)>;

// jstDateOfMoment: the JST date of a moment (a JST Julian date), rounded to the minute first,
// as every list of the program shows it.
CivilDate jstDateOfMoment(double jdJST);

} // namespace sorvane
