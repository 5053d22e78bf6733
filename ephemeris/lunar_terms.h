// Perturbations of the Sun's longitude and radius vector by the Moon, plus the nutation.
//
// Reference: S. Newcomb, Tables of the Sun, Astronomical Papers prepared for the use of the
// American Ephemeris and Nautical Almanac, vol. VI part I (Washington, 1895).
// Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of date at 600
// instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector within
// 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

#include "ephemeris/sun_components.h"

namespace sorvane {

// Fundamental arguments of the Moon, degrees, unreduced.
struct LunarArguments {
    double D;     // mean elongation of the Moon from the Sun
    double l;     // mean anomaly of the Moon
    double Omega; // longitude of the Moon's mean ascending node
    double F;     // mean argument of latitude of the Moon
};

// lunarArguments: D, l, Omega and F for the moment.
//   T  Julian centuries from JD 2415020.0; d = 36525 T days
// D and l are polynomials in d and T together, Omega and F in d alone.
LunarArguments lunarArguments(double T);

// computeLunarTerms: Newcomb's lunar terms of the solar theory.
//   T  Julian centuries from JD 2415020.0
// Reads g = c.meanAnomalies[3] and c.rawSunMeanAnomaly (computeMeanAnomaly must have run
// for the same T). Writes c.lunarLongitude, degrees: the lunar perturbation in longitude
// (seven terms in D, l and g, arcseconds / 3600) plus the nutation in longitude, and
// c.lunarLogRadius, the lunar part of log10 r in units of 1e-8.
void computeLunarTerms(double T, SunComponents& c);

} // namespace sorvane
