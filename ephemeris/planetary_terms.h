// Perturbations of the Sun's apparent motion by Mercury, Venus, Mars, Jupiter and Saturn.
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
