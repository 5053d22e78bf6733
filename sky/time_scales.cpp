#include "sky/time_scales.h"

#include "calendar/jst.h"
#include "calendar/julian_day.h"
#include "sky/delta_t.h"

#include <cmath>
#include <erfa.h>

namespace sorvane::sky {

namespace {

constexpr double kTTMinusTAI = 32.184;     // seconds
constexpr double kFirstUtcJd = 2436934.5;  // 1960 January 1, 00:00
constexpr double kHeldUntilJd = 2488434.5; // 2101 January 1: held through 2100

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

double ttMinusUtcSeconds(double jdTT) {
    const double beforeUtc = espenakMeeusDeltaT(decimalYear(jdTT));
    if (jdTT - beforeUtc / 86400.0 < kFirstUtcJd) {
        return beforeUtc;
    }
    // TAI - UTC is a function of the UTC date: two passes settle it.
    double offset = kTTMinusTAI + taiMinusUtc(jdTT - kTTMinusTAI / 86400.0);
    offset = kTTMinusTAI + taiMinusUtc(jdTT - offset / 86400.0);
    // After 2100 the held offset grows as the long-term parabola does from 2101 on.
    if (jdTT > kHeldUntilJd) {
        offset += longTermDeltaT(decimalYear(jdTT)) - longTermDeltaT(decimalYear(kHeldUntilJd));
    }
    return offset;
}

double defaultModeOffsetSeconds(int year) {
    // The default mode's TT - JST correction, 1.05337078651e-5 day a year since 1885.
    constexpr double kDefaultSecondsPerYear = 1.05337078651E-05 * 86400.0;
    const double midYear = julianday(year, 7, 2);
    return ttMinusUtcSeconds(midYear) - kDefaultSecondsPerYear * (year - 1885);
}

double utcFromTT(double jdTT) {
    return jdTT - ttMinusUtcSeconds(jdTT) / 86400.0;
}

double jstFromTT(double jdTT) {
    return utcFromTT(jdTT) + kJstOffsetDays;
}

} // namespace sorvane::sky
