// The nutation the Sun's search takes outside 1900-2100: the largest terms of IAU 2000A, the
// full model keeping the last word near a minute's edge.
#pragma once

namespace sorvane::sky {

// seriesNutationInLongitude: IAU 2000A's nutation in longitude (eraNut06a) from its largest
// terms (100 microarcseconds or more over -1999..3000: 90 luni-solar and 9 planetary of
// 1,365, written by tools/make_search_series.py from ERFA's nut00a.c) on eraNut00a's own
// fundamental arguments, so that it follows eraNut06a over the whole span (IAU 2000B's
// linear arguments drift by arcseconds there); radians. Within 0.002" of eraNut06a over
// -1999..3000 (0.05 s of time in the Sun's longitude; tests/sky/search_series_test.cpp), in a
// twentieth of its time.
double seriesNutationInLongitude(double jdTT);

namespace detail {

struct LunisolarTerm {
    int multipliers[5];                  // l, l', F, D, Omega
    double sine, sinePerCentury, cosine; // 0.1 microarcsecond
};
extern const LunisolarTerm kLunisolar[];
extern const int kLunisolarTerms;

struct PlanetaryTerm {
    int multipliers[13]; // l, F, D, Omega, Mercury..Neptune, general precession
    double sine, cosine; // 0.1 microarcsecond
};
extern const PlanetaryTerm kPlanetary[];
extern const int kPlanetaryTerms;

} // namespace detail

} // namespace sorvane::sky
