// Newcomb's mean elements of the Sun and its long-period inequalities.
//
// Reference: S. Newcomb, Tables of the Sun, Astronomical Papers prepared for the use of the
// American Ephemeris and Nautical Almanac, vol. VI part I (Washington, 1895).
// Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of date at 600
// instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector within
// 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

#include "ephemeris/sun_components.h"

namespace sorvane {

// computeMeanLongitude: the Sun's mean longitude.
//   T  Julian centuries from JD 2415020.0 (the theory's uniform time scale)
// Writes c.meanLongitude, degrees reduced to 0..360:
//   L = 279.696677778 + 36000.768925 T + 3.025e-4 T^2.
void computeMeanLongitude(double T, SunComponents& c);

// computeMeanAnomaly: the Sun's mean anomaly, raw and with the long-period terms.
//   T  Julian centuries from JD 2415020.0
// Writes c.rawSunMeanAnomaly (degrees, unreduced):
//   M = 358.475833333 + 35999.04975 T - 0.00015 T^2 - 0.0000033333 T^3,
// c.longPeriodArcsec, the three long-period terms in arcseconds (Venus and Jupiter
// inequalities), and c.meanAnomalies[3] = g = reduce(M + S/3600), degrees.
void computeMeanAnomaly(double T, SunComponents& c);

// computeLongPeriodLongitude: the long-period terms in longitude.
//   T  Julian centuries from JD 2415020.0
// Reads c.longPeriodArcsec (computeMeanAnomaly must have run for the same T) and writes
// c.longPeriodLongitude, degrees: the same three terms plus 0.202" sin(315.6 + 893.3 T).
void computeLongPeriodLongitude(double T, SunComponents& c);

} // namespace sorvane
