#include "precise/erfa_sun.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>

namespace sorvane::precise {

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

// The Sun's barycentric position (au, BCRS axes) at jdTT: the Earth's barycentric
// position minus its heliocentric position.
void sunBarycentric(double jdTT, double out[3]) {
    double pvh[2][3];
    double pvb[2][3];
    eraEpv00(jdTT, 0.0, pvh, pvb);
    for (int i = 0; i < 3; ++i) {
        out[i] = pvb[0][i] - pvh[0][i];
    }
}

// The longitude difference target - lon reduced to -180..180 degrees.
double wrapDifference(double target, double lon) {
    double d = std::fmod(target - lon, 360.0);
    if (d >= 180.0) {
        d -= 360.0;
    } else if (d < -180.0) {
        d += 360.0;
    }
    return d;
}

} // namespace

SunOfDate geometricSunOfDate(double jdTT) {
    double pvh[2][3];
    double pvb[2][3];
    eraEpv00(jdTT, 0.0, pvh, pvb);
    const double sun[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
    return ofDate(sun, jdTT);
}

SunOfDate apparentSunOfDate(double jdTT) {
    double pvh[2][3];
    double pvb[2][3];
    eraEpv00(jdTT, 0.0, pvh, pvb);

    // Geocentric vector to the Sun where it was when the light left it.
    const double cAuPerDay = ERFA_DAYSEC / ERFA_AULT;
    double geo[3] = {-pvh[0][0], -pvh[0][1], -pvh[0][2]};
    double tau = 0;
    for (int i = 0; i < 4; ++i) {
        tau = eraPm(geo) / cAuPerDay;
        double sunThen[3];
        sunBarycentric(jdTT - tau, sunThen);
        for (int k = 0; k < 3; ++k) {
            geo[k] = sunThen[k] - pvb[0][k];
        }
    }
    const double distance = eraPm(geo);

    // Annual aberration: the Earth's barycentric velocity in units of c.
    double v[3];
    double v2 = 0;
    for (int k = 0; k < 3; ++k) {
        v[k] = pvb[1][k] / cAuPerDay;
        v2 += v[k] * v[k];
    }
    const double bm1 = std::sqrt(1.0 - v2);
    double pnat[3];
    eraSxp(1.0 / distance, geo, pnat);
    double ppr[3];
    eraAb(pnat, v, eraPm(pvh[0]), bm1, ppr);

    double apparent[3];
    eraSxp(distance, ppr, apparent);
    return ofDate(apparent, jdTT);
}

double solveApparentLongitude(double targetDegrees, double jdGuessTT) {
    const double target = std::fmod(std::fmod(targetDegrees, 360.0) + 360.0, 360.0);
    const double h = 0.01; // days, for the derivative
    double jd = jdGuessTT;
    for (int i = 0; i < 20; ++i) {
        const double lon = apparentSunOfDate(jd).longitude;
        const double ahead = apparentSunOfDate(jd + h).longitude;
        const double rate = wrapDifference(ahead, lon) / h; // degrees per day
        const double step = wrapDifference(target, lon) / rate;
        jd += step;
        if (std::fabs(step) < 1e-8) { // about 1 ms
            break;
        }
    }
    return jd;
}

} // namespace sorvane::precise
