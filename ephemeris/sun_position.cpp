#include "ephemeris/sun_position.h"

#include "calendar/julian_day.h"
#include "ephemeris/equation_of_centre.h"
#include "ephemeris/lunar_terms.h"
#include "ephemeris/mean_elements.h"
#include "ephemeris/planetary_terms.h"

#include <cmath>

namespace sorvane {

SunState sunPosition(int year, int month, double day, const Tables& tables, SunComponents& c) {
    const double jd = julianday(year, month, day);
    const double T = tcentury(jd);

    computeMeanLongitude(T, c);
    computeMeanAnomaly(T, c);
    computeEquationOfCentre(T, c);
    computePlanetaryTerms(jd, tables, c);
    computeLunarTerms(T, c);
    computeLongPeriodLongitude(T, c);

    const double lambda = c.equationOfCentre + c.meanLongitude + c.planetaryLongitude +
                          c.lunarLongitude + c.longPeriodLongitude;
    SunState state;
    state.longitude = reduceDegrees(lambda);
    const double x = (c.lunarLogRadius + c.ellipticLogRadius) * 1e-8 + c.planetaryLogRadius * 1e-9;
    state.radius = std::pow(10.0, x);
    return state;
}

SunState sunPosition(int year, int month, double day, const Tables& tables) {
    SunComponents c;
    return sunPosition(year, month, day, tables, c);
}

} // namespace sorvane
