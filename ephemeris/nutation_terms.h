// Woolard's series for the nutation in longitude, in the order in which it is summed.
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
