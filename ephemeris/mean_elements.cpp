#include "ephemeris/mean_elements.h"

#include <cmath>

namespace sorvane {

double reduceDegrees(double x) {
    return (x / 360 - std::floor(x / 360)) * 360;
}

void computeMeanLongitude(double T, SunComponents& c) {
    const double quadratic = 3.025 * std::pow(10.0, -4);
    const double L = (279.696677778 + 36000.768925 * T) + (quadratic * T) * T;
    c.meanLongitude = reduceDegrees(L);
}

void computeMeanAnomaly(double T, SunComponents& c) {
    c.rawSunMeanAnomaly =
        ((358.475833333 + 35999.04975 * T) - (0.00015 * T) * T) - ((0.0000033333 * T) * T) * T;
    const double S = (1.882 - 0.016 * T) * std::sin((57.24 + 150.27 * T) * kDegToRad) +
                     6.4 * std::sin((231.19 + 20.2 * T) * kDegToRad) +
                     0.266 * std::sin((31.8 + 119.0 * T) * kDegToRad);
    c.longPeriodArcsec = S;
    c.meanAnomalies[3] = reduceDegrees(c.rawSunMeanAnomaly + S / 3600);
}

void computeLongPeriodLongitude(double T, SunComponents& c) {
    c.longPeriodLongitude =
        (0.202 * std::sin((315.6 + 893.3 * T) * kDegToRad) + c.longPeriodArcsec) / 3600;
}

} // namespace sorvane
