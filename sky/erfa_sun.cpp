#include "sky/erfa_sun.h"

#include "sky/earth_table.h"
#include "sky/search.h"
#include "sky/search_series.h"
#include "sky/time_scales.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <string>

namespace sorvane::sky {

namespace {

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

EarthState advanceEarth(const EarthState& earth, double dt) {
    constexpr double kGaussK2 = 0.01720209895 * 0.01720209895; // GM of the Sun, au^3/day^2
    const double r = eraPm(const_cast<double*>(earth.pvh[0]));
    EarthState e = earth;
    for (int k = 0; k < 3; ++k) {
        const double a = -kGaussK2 * earth.pvh[0][k] / (r * r * r);
        e.pvh[0][k] += e.pvh[1][k] * dt + 0.5 * a * dt * dt;
        e.pvh[1][k] += a * dt;
        e.pvb[0][k] += e.pvb[1][k] * dt + 0.5 * a * dt * dt;
        e.pvb[1][k] += a * dt;
    }
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
        const double tau = eraPm(geo) / kLightSpeedAuPerDay;
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
        v[k] = earth.pvb[1][k] / kLightSpeedAuPerDay;
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
    // The IAU 2006 polynomial for 1899-2101, so that every moment the years 1900-2100
    // need (the solver's steps, the lunisolar months' neighbours) stays on it; the long-term
    // precession elsewhere.
    constexpr double kIau2006From = 2414655.5;  // 1899 January 1
    constexpr double kIau2006Until = 2488799.5; // 2102 January 1
    if (jdTT >= kIau2006From && jdTT < kIau2006Until) {
        eraEcm06(jdTT, 0.0, rm);
    } else {
        eraLtecm(eraEpj(jdTT, 0.0), rm);
    }
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

namespace {

// The years where IAU 2000B nutation stands in for IAU 2000A away from a minute's edge
// (and the Earth carried on from the search's first step for eraEpv00's own):
// 1900 January 1 to 2101 January 1 (TT), and how far from the edge, seconds of time (twice
// the models' largest difference there).
constexpr double kIau2000BFrom = 2415020.5;
constexpr double kIau2000BUntil = 2488069.5;
constexpr double kMinuteEdgeSeconds = 0.15;
// How far from the edge IAU 2000A's largest terms (seriesNutationInLongitude) decide once the
// Earth is eraEpv00's own: twice their largest difference from eraNut06a over -1999..3000
// (0.0019" on 20,000 moments, under 0.002", 0.05 s of time at the Sun's slowest).
constexpr double kSeriesNutationEdgeSeconds = 0.1;
// How far from the edge the same terms decide with the Earth of the table (within 0.0003",
// 0.0076 s): twice the sum of the two bounds at the Sun's slowest (0.0479 + 0.0076 s).
constexpr double kSeriesNutationTableEdgeSeconds = 0.12;

// The Sun's apparent longitude, degrees, from the low-precision formula of the Astronomical
// Almanac (about 0.01 degree, 1950-2050, slowly worse outside): a starting point only.
double roughSunLongitude(double jdTT) {
    const double n = jdTT - 2451545.0;
    const double g = (357.529 + 0.98560028 * n) * ERFA_DD2R;
    return 280.459 + 0.98564736 * n + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g);
}

// The Sun's apparent longitude, degrees, from Meeus's low-accuracy solar coordinates
// (Astronomical Algorithms, 2nd ed., ch. 25: 0.01 degree, the secular terms to T^2): a starting
// point far from 2000, where roughSunLongitude drifts.
double meeusSunLongitude(double jdTT) {
    const double t = (jdTT - 2451545.0) / 36525.0;
    const double l0 = 280.46646 + t * (36000.76983 + t * 0.0003032);
    const double m = (357.52911 + t * (35999.05029 - t * 0.0001537)) * ERFA_DD2R;
    const double c = (1.914602 - t * (0.004817 + t * 0.000014)) * std::sin(m) +
                     (0.019993 - 0.000101 * t) * std::sin(2 * m) + 0.000289 * std::sin(3 * m);
    const double omega = (125.04 - 1934.136 * t) * ERFA_DD2R;
    return l0 + c - 0.00569 - 0.00478 * std::sin(omega);
}

// The nutation in longitude, radians, from its four largest terms (Meeus ch. 22; within
// 0.5"): held during the Newton steps, replaced by eraNut06a's at the end.
double roughNutation(double jdTT) {
    const double t = (jdTT - 2451545.0) / 36525.0;
    const double omega = (125.04452 - 1934.136261 * t) * ERFA_DD2R;
    const double l = (280.4665 + 36000.7698 * t) * ERFA_DD2R;
    const double lm = (218.3165 + 481267.8813 * t) * ERFA_DD2R;
    const double arcsec = -17.20 * std::sin(omega) - 1.32 * std::sin(2 * l) -
                          0.23 * std::sin(2 * lm) + 0.21 * std::sin(2 * omega);
    return arcsec * ERFA_DAS2R;
}

} // namespace

double solveApparentLongitude(double targetDegrees, double jdGuessTT) {
    const double target = std::fmod(std::fmod(targetDegrees, 360.0) + 360.0, 360.0);
    // Two steps on the rough Sun bring the guess within about half an hour.
    double jd = jdGuessTT;
    for (int i = 0; i < 2; ++i) {
        jd += wrapDegrees(target - roughSunLongitude(jd)) / 0.9856474;
    }
    if (!inEarthTableSpan(jd)) {
        // Far from 2000 the rough Sun drifts by hours; one step on Meeus's brings the guess
        // within the reach of the Earth carried on from the first step.
        jd += wrapDegrees(target - meeusSunLongitude(jd)) / 0.9856474;
    }
    // The Earth from the table over 1898-2102 (0.2 microseconds); elsewhere from eraEpv00's
    // largest terms at the first moment (seriesEarth), carried on to the next ones nearby.
    EarthState first;
    double firstJd = jd + 1.0;
    bool fromSeries = false; // whether a step took seriesEarth's Earth
    const auto earthAt = [&](double t) {
        EarthState earth;
        if (tabulatedEarth(t, earth)) {
            return earth;
        }
        fromSeries = true;
        if (std::fabs(t - firstJd) > 0.05) {
            first = seriesEarth(t);
            firstJd = t;
        }
        return t == firstJd ? first : advanceEarth(first, t - firstJd);
    };
    const auto toGoWith = [&](double t, const EarthState& earth) {
        double apparent[3];
        apparentSunVector(earth, apparent);
        const double sunVelocity[3] = {-earth.pvh[1][0], -earth.pvh[1][1], -earth.pvh[1][2]};
        double rm[3][3];
        eclipticRotation(t, rm);
        double rate = 0;
        const double lon = eclipticLongitude(rm, apparent, sunVelocity, &rate) + roughNutation(t);
        return AngleToGo{wrapDegrees(target - lon * ERFA_DR2D), rate * ERFA_DR2D};
    };
    const auto toGo = [&](double t) { return toGoWith(t, earthAt(t)); };
    // The next step would be under 1e-7 of the last (the rate is the geometric Sun's, the
    // curvature tiny): about 10 ms at most after a step under 1e-3 day.
    const Found found = search(toGo, Window{jd - 20.0, jd + 20.0}, jd, 1e-3, 30);
    if (found.status != SearchStatus::Found) {
        throw SearchError(found.status, "the Sun's apparent longitude " + std::to_string(target) +
                                            " degrees near JD " + std::to_string(jdGuessTT) +
                                            " (TT): " + statusText(found.status));
    }
    jd = found.jd;
    const double rate = found.rate * ERFA_DD2R;
    // How far from a half minute the shortcuts may leave the moment, seconds: kMinuteEdgeSeconds
    // for the nutation's, the table's and the carried Earth's, and with seriesEarth its
    // kSeriesEarthArcsec at the Sun's rate.
    const double edgeSeconds =
        kMinuteEdgeSeconds +
        (fromSeries ? kSeriesEarthArcsec / (rate * ERFA_DR2AS) * ERFA_DAYSEC : 0.0);
    const auto nearMinuteEdge = [](double moment, double seconds) {
        const double second = std::fmod(jstFromTT(moment) * ERFA_DAYSEC, 60.0);
        return std::fabs(second - 30.0) <= seconds;
    };
    // The full nutation in place of the rough one: a shift of under 0.5", under 0.0002 day,
    // over which the rate holds. Over 1900-2100 IAU 2000B (2.5 microseconds, eraNut00b)
    // lies within 2.7 mas of IAU 2000A (44 microseconds, eraNut06a), 0.07 s of time: it
    // serves unless the moment falls within kMinuteEdgeSeconds of a half minute, where the
    // shown JST minute could depend on it, and then IAU 2000A's largest terms or, nearer
    // still, IAU 2000A itself decide. So every minute shown is IAU 2000A's.
    const bool inB = jd >= kIau2000BFrom && jd < kIau2000BUntil;
    // Near a half minute the Earth of the table (within 0.0003", 0.007 s), carried on from
    // the first step (within 0.0004", 0.01 s) or of seriesEarth gives way to eraEpv00's own at
    // the moment: one more step on the full model decides. With eraEpv00's Earth only the
    // largest terms' nutation is left, and IAU 2000A itself only where even that could move
    // the minute.
    const auto fullModel = [&] {
        const AngleToGo full = toGoWith(jd, earthState(jd));
        const double t = jd + full.degrees / full.rate;
        if (fromSeries && !inB) {
            const double withSeries = t + (roughNutation(t) - seriesNutationInLongitude(t)) / rate;
            if (!nearMinuteEdge(withSeries, kSeriesNutationEdgeSeconds)) {
                return withSeries;
            }
        }
        return t + (roughNutation(t) - nutationInLongitude(t)) / rate;
    };
    if (inB) {
        double dpsi = 0;
        double deps = 0;
        eraNut00b(jd, 0.0, &dpsi, &deps);
        const double moment = jd + (roughNutation(jd) - dpsi) / rate;
        if (!nearMinuteEdge(moment, edgeSeconds)) {
            return moment;
        }
        if (!fromSeries) {
            // Near a half minute IAU 2000A's largest terms (a moment within 0.05 s of IAU
            // 2000A's, in a thirtieth of its time) on the table's Earth keep the side beyond
            // kSeriesNutationTableEdgeSeconds; only nearer does the full model decide.
            const double withSeries =
                jd + (roughNutation(jd) - seriesNutationInLongitude(jd)) / rate;
            if (!nearMinuteEdge(withSeries, kSeriesNutationTableEdgeSeconds)) {
                return withSeries;
            }
            return fullModel();
        }
    }
    // Near a half minute there IAU 2000A itself; outside 1900-2100 IAU 2000A's largest terms
    // (within 0.002", 0.05 s of time, of eraNut06a over -1999..3000, a twentieth of its time)
    // serve as IAU 2000B does inside, the full model taking over near a half minute.
    const double moment =
        jd + (roughNutation(jd) - (inB ? nutationInLongitude(jd) : seriesNutationInLongitude(jd))) /
                 rate;
    if (!nearMinuteEdge(moment, edgeSeconds)) {
        return moment;
    }
    return fullModel();
}

} // namespace sorvane::sky
