// The partial results of one evaluation of the solar theory, and its outcome.
//
// Reference: S. Newcomb, Tables of the Sun, Astronomical Papers prepared for the use of the
// American Ephemeris and Nautical Almanac, vol. VI part I (Washington, 1895).
// Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of date at 600
// instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector within
// 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

#include <array>

namespace sorvane {

// Degrees-to-radians factor of the whole solar theory: this 15-digit decimal, not a
// full-precision pi/180, so that every machine reproduces the same minutes.
inline constexpr double kDegToRad = 0.017453292519943;

// Reduction of an angle in degrees to 0 <= value < 360, also for negative angles.
double reduceDegrees(double x);

// Filled step by step by one call of sunPosition; every field is overwritten by each call.
struct SunComponents {
    double meanLongitude = 0;       // degrees, 0..360
    double equationOfCentre = 0;    // degrees
    double planetaryLongitude = 0;  // degrees
    double lunarLongitude = 0;      // degrees, lunar perturbation plus nutation in longitude
    double longPeriodLongitude = 0; // degrees
    double ellipticLogRadius = 0;   // log10 r, units of 1e-8
    double lunarLogRadius = 0;      // log10 r, units of 1e-8
    double planetaryLogRadius = 0;  // log10 r, units of 1e-9
    // Mean anomalies in degrees by planet code 1..6 (3 = the Sun, reduced and with the
    // long-period terms; the planets' unreduced). Slot 0 is unused.
    std::array<double, 7> meanAnomalies{};
    double rawSunMeanAnomaly = 0; // degrees, unreduced, without long-period terms
    double longPeriodArcsec = 0;  // arcseconds
};

// The Sun's geocentric position of date as the finder reads it.
struct SunState {
    double longitude = 0; // degrees, 0 <= value < 360: mean equinox of date plus nutation,
                          // no aberration
    double radius = 0;    // radius vector, astronomical units
};

} // namespace sorvane
