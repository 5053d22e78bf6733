#include "precise/erfa_sun.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>

namespace sorvane::erfa {

namespace {

constexpr double kCAuPerDay = ERFA_DAYSEC / ERFA_AULT; // speed of light, au/day

// Longitude and distance of a vector given in ICRS axes, referred to the ecliptic and
// mean equinox of date, plus the nutation in longitude.
SunOfDate ofDate(const double icrs[3], double jdTT) {
    double rm[3][3];
    eclipticRotation(jdTT, rm);
    double lon = eclipticLongitude(rm, icrs, nullptr, nullptr) + nutationInLongitude(jdTT);
    lon = eraAnp(lon);
    return {lon * ERFA_DR2D, eraPm(const_cast<double*>(icrs))};
}

} // namespace

EarthState earthState(double jdTT) {
    EarthState e;
    eraEpv00(jdTT, 0.0, e.pvh, e.pvb);
    return e;
}

void apparentSunVector(const EarthState& earth, double out[3]) {
    // The Sun's barycentric position and velocity: the Earth's barycentric minus its
    // heliocentric ones.
    double sun[3];
    double sunVelocity[3];
    double geo[3];
    for (int k = 0; k < 3; ++k) {
        sun[k] = earth.pvb[0][k] - earth.pvh[0][k];
        sunVelocity[k] = earth.pvb[1][k] - earth.pvh[1][k];
        geo[k] = -earth.pvh[0][k];
    }
    // Geocentric vector to the Sun where it was when the light left it.
    for (int i = 0; i < 3; ++i) {
        const double tau = eraPm(geo) / kCAuPerDay;
        for (int k = 0; k < 3; ++k) {
            geo[k] = sun[k] - sunVelocity[k] * tau - earth.pvb[0][k];
        }
    }
    aberrate(geo, earth, out);
}

void aberrate(const double geo[3], const EarthState& earth, double out[3]) {
    // The Earth's barycentric velocity in units of c.
    double v[3];
    double v2 = 0;
    for (int k = 0; k < 3; ++k) {
        v[k] = earth.pvb[1][k] / kCAuPerDay;
        v2 += v[k] * v[k];
    }
    const double bm1 = std::sqrt(1.0 - v2);
    const double distance = eraPm(const_cast<double*>(geo));
    double pnat[3];
    eraSxp(1.0 / distance, const_cast<double*>(geo), pnat);
    double ppr[3];
    eraAb(pnat, v, eraPm(const_cast<double*>(earth.pvh[0])), bm1, ppr);
    eraSxp(distance, ppr, out);
}

void eclipticRotation(double jdTT, double rm[3][3]) {
    eraEcm06(jdTT, 0.0, rm);
}

double nutationInLongitude(double jdTT) {
    double dpsi = 0;
    double deps = 0;
    eraNut06a(jdTT, 0.0, &dpsi, &deps);
    return dpsi;
}

double eclipticLongitude(const double rm[3][3], const double p[3], const double* velocity,
                         double* rate) {
    double ecl[3];
    eraRxp(const_cast<double(*)[3]>(rm), const_cast<double*>(p), ecl);
    if (velocity != nullptr && rate != nullptr) {
        double v[3];
        eraRxp(const_cast<double(*)[3]>(rm), const_cast<double*>(velocity), v);
        *rate = (ecl[0] * v[1] - ecl[1] * v[0]) / (ecl[0] * ecl[0] + ecl[1] * ecl[1]);
    }
    return std::atan2(ecl[1], ecl[0]);
}

double wrapDegrees(double d) {
    d = std::fmod(d, 360.0);
    if (d >= 180.0) {
        d -= 360.0;
    } else if (d < -180.0) {
        d += 360.0;
    }
    return d;
}

SunOfDate geometricSunOfDate(double jdTT) {
    const EarthState earth = earthState(jdTT);
    const double sun[3] = {-earth.pvh[0][0], -earth.pvh[0][1], -earth.pvh[0][2]};
    return ofDate(sun, jdTT);
}

SunOfDate apparentSunOfDate(double jdTT) {
    double apparent[3];
    apparentSunVector(earthState(jdTT), apparent);
    return ofDate(apparent, jdTT);
}

double solveApparentLongitude(double targetDegrees, double jdGuessTT) {
    const double target = std::fmod(std::fmod(targetDegrees, 360.0) + 360.0, 360.0);
    double jd = jdGuessTT;
    double nutationAt = jd;
    double dpsi = nutationInLongitude(jd);
    for (int i = 0; i < 30; ++i) {
        const EarthState earth = earthState(jd);
        double apparent[3];
        apparentSunVector(earth, apparent);
        const double sunVelocity[3] = {-earth.pvh[1][0], -earth.pvh[1][1], -earth.pvh[1][2]};
        double rm[3][3];
        eclipticRotation(jd, rm);
        double rate = 0;
        const double lon = eclipticLongitude(rm, apparent, sunVelocity, &rate) + dpsi;
        const double step = wrapDegrees(target - lon * ERFA_DR2D) / (rate * ERFA_DR2D);
        jd += step;
        if (std::fabs(jd - nutationAt) > 1e-3) {
            nutationAt = jd;
            dpsi = nutationInLongitude(jd);
        } else if (std::fabs(step) < 1e-3) {
            // The step after this would be under 1e-7 of it (the rate is that of the
            // geometric Sun, the curvature tiny): about 10 ms at most.
            break;
        }
    }
    return jd;
}

} // namespace sorvane::erfa
