// The solar theory's single entry point: the Sun's longitude and radius vector for a moment.
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

// sunPosition: one complete, independent evaluation of the solar theory.
//   year, month, day  the moment in the theory's uniform time scale: astronomical year,
//                     month 1..12 and day of the month whose fraction is the time of day
//   tables            the loaded tables (planetTerms is read)
//   c                 receives this evaluation's partial results
// Returns the Sun's longitude (degrees, 0..360, mean equinox of date plus nutation, no
// aberration) and radius vector (au).
// Method: JD and T, then the six steps in this order: mean longitude, mean anomaly,
// equation of the centre, planetary terms, lunar terms with nutation, long-period terms;
// longitude = reduce(centre + mean + planetary + lunar + long period), summed left to right;
// radius = 10^((lunar + elliptic) 1e-8 + planetary 1e-9).
SunState sunPosition(int year, int month, double day, const Tables& tables, SunComponents& c);

// Same, for callers that have no use for the partial results.
SunState sunPosition(int year, int month, double day, const Tables& tables);

} // namespace sorvane
