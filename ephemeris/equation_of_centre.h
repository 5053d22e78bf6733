// The elliptic motion of the Sun: equation of the centre and elliptic radius vector.
//
// Reference: S. Newcomb, Tables of the Sun, Astronomical Papers prepared for the use of the
// American Ephemeris and Nautical Almanac, vol. VI part I (Washington, 1895).
// Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of date at 600
// instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector within
// 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

#include "ephemeris/sun_components.h"

namespace sorvane {

// computeEquationOfCentre: true minus mean longitude, and the elliptic log radius.
//   T  Julian centuries from JD 2415020.0
// Reads g = c.meanAnomalies[3] (degrees; computeMeanAnomaly must have run for the same T).
// Writes c.equationOfCentre, degrees (series in sin g .. sin 4g, arcseconds / 3600), and
// c.ellipticLogRadius, log10 of the radius vector in units of 1e-8 (series in cos g .. cos 4g).
// The multiples of g are formed in degrees before the conversion to radians.
void computeEquationOfCentre(double T, SunComponents& c);

} // namespace sorvane
