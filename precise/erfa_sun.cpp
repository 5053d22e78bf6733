#include "precise/erfa_sun.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>

namespace sorvane::erfa {

namespace {

// Longitude and distance of a vector given in ICRS axes, referred to the ecliptic and
// mean equinox of date, plus the nutation in longitude.
SunOfDate ofDate(const double icrs[3], double jdTT) {
    double rm[3][3];
    eraEcm06(jdTT, 0.0, rm);
    double ecl[3];
    eraRxp(rm, const_cast<double*>(icrs), ecl);
    double dpsi = 0;
    double deps = 0;
    eraNut06a(jdTT, 0.0, &dpsi, &deps);
    double lon = std::atan2(ecl[1], ecl[0]) + dpsi;
    lon = eraAnp(lon);
    return {lon * ERFA_DR2D, eraPm(ecl)};
}

} // namespace

SunOfDate geometricSunOfDate(double jdTT) {
    double pvh[2][3];
    double pvb[2][3];
    eraEpv00(jdTT, 0.0, pvh, pvb);
    const double sun[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
    return ofDate(sun, jdTT);
}

} // namespace sorvane::erfa
