// Woolard's series for the nutation in longitude, in the order in which it is summed.
//
// Reference: E. W. Woolard, Theory of the rotation of the Earth around its center of mass,
// Astronomical Papers prepared for the use of the American Ephemeris and Nautical Almanac,
// vol. XV part I (Washington, 1953); used with S. Newcomb, Tables of the Sun, ibid. vol. VI
// part I (1895). Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of
// date at 600 instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector
// within 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

namespace sorvane {

struct NutationTerm {
    int l, lPrime, F, D, Omega; // multiples of the fundamental arguments
    double A;                   // amplitude, arcseconds
    double B;                   // rate of the amplitude, arcseconds per Julian century
};

inline constexpr int kNutationTermCount = 69;

extern const NutationTerm kNutationTerms[kNutationTermCount];

} // namespace sorvane
