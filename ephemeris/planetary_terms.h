// Perturbations of the Sun's apparent motion by Mercury, Venus, Mars, Jupiter and Saturn.
//
// Reference: S. Newcomb, Tables of the Sun, Astronomical Papers prepared for the use of the
// American Ephemeris and Nautical Almanac, vol. VI part I (Washington, 1895).
// Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of date at 600
// instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector within
// 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

#include "ephemeris/sun_components.h"
#include "ephemeris/tables.h"

namespace sorvane {

// computePlanetaryTerms: sums the periodic terms of tables.planetTerms.
//   jd  Julian date of the moment (theory time scale), days. The planets' mean anomalies
//       count Julian years t = (jd - 2396758.0) / 365.25 from their own epoch.
// Reads g = c.meanAnomalies[3] (computeMeanAnomaly must have run for the same moment).
// Writes c.meanAnomalies[1, 2, 4, 5, 6] (degrees, unreduced), c.planetaryLongitude (degrees)
// and c.planetaryLogRadius (log10 r in units of 1e-9). Each term adds
// amplitude * cos(phase - j*A - s*g), arguments formed in degrees.
void computePlanetaryTerms(double jd, const Tables& tables, SunComponents& c);

} // namespace sorvane
