#include "precise/time_scales.h"

#include <cmath>
#include <erfa.h>

namespace sorvane::precise {

namespace {

constexpr double kTTMinusTAI = 32.184;    // seconds
constexpr double kFirstUtcJd = 2436934.5; // 1960 January 1, 00:00

double decimalYearOf(double jd) {
    return 2000.0 + (jd - 2451544.5) / 365.2425;
}

// TAI - UTC in seconds for a UTC Julian date, from 1960 on.
double taiMinusUtc(double jdUtc) {
    int iy = 0;
    int im = 0;
    int id = 0;
    double fd = 0;
    if (eraJd2cal(jdUtc, 0.0, &iy, &im, &id, &fd) != 0) {
        return 0;
    }
    double dat = 0;
    // Status +1 ("dubious year") only says the table may be out of date past its last
    // entry: the value is then the last known one, which is what is wanted.
    if (eraDat(iy, im, id, fd, &dat) < 0) {
        return 0;
    }
    return dat;
}

} // namespace

double espenakMeeusDeltaT(double y) {
    if (y < 1900) {
        const double t = y - 1860;
        return 7.62 + 0.5737 * t - 0.251754 * t * t + 0.01680668 * t * t * t -
               0.0004473624 * t * t * t * t + t * t * t * t * t / 233174;
    }
    if (y < 1920) {
        const double t = y - 1900;
        return -2.79 + 1.494119 * t - 0.0598939 * t * t + 0.0061966 * t * t * t -
               0.000197 * t * t * t * t;
    }
    if (y < 1941) {
        const double t = y - 1920;
        return 21.20 + 0.84493 * t - 0.076100 * t * t + 0.0020936 * t * t * t;
    }
    const double t = y - 1950;
    return 29.07 + 0.407 * t - t * t / 233 + t * t * t / 2547;
}

double ttMinusUtcSeconds(double jdTT) {
    const double beforeUtc = espenakMeeusDeltaT(decimalYearOf(jdTT));
    if (jdTT - beforeUtc / 86400.0 < kFirstUtcJd) {
        return beforeUtc;
    }
    // TAI - UTC is a function of the UTC date: two passes settle it.
    double offset = kTTMinusTAI + taiMinusUtc(jdTT - kTTMinusTAI / 86400.0);
    offset = kTTMinusTAI + taiMinusUtc(jdTT - offset / 86400.0);
    return offset;
}

double utcFromTT(double jdTT) {
    return jdTT - ttMinusUtcSeconds(jdTT) / 86400.0;
}

double jstFromTT(double jdTT) {
    return utcFromTT(jdTT) + 9.0 / 24.0;
}

} // namespace sorvane::precise
