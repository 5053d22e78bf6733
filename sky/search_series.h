// What the searches for the Sun's and the Moon's moments step on outside 1900-2100 (the
// nutation) and outside the Earth's table (the Earth): the largest terms of IAU 2000A and of
// eraEpv00, the full models keeping the last word near a minute's edge.
#pragma once

#include "sky/erfa_sun.h"

namespace sorvane::sky {

// seriesNutationInLongitude: IAU 2000A's nutation in longitude (eraNut06a) from its largest
// terms (100 microarcseconds or more over -1999..3000: 90 luni-solar and 9 planetary of
// 1,365, written by tools/make_search_series.py from ERFA's nut00a.c) on eraNut00a's own
// fundamental arguments, so that it follows eraNut06a over the whole span (IAU 2000B's
// linear arguments drift by arcseconds there); radians. Within 0.002" of eraNut06a over
// -1999..3000 (0.05 s of time in the Sun's longitude; tests/sky/search_series_test.cpp), in a
// twentieth of its time.
double seriesNutationInLongitude(double jdTT);

// seriesEarth: eraEpv00's Earth from its largest terms: the Sun-to-Earth x and y terms whose
// largest value over -1999..3000 reaches 2e-9 au, z's that reach 1e-6 au (the longitude
// hardly depends on z), and the barycentre-to-Sun terms whose velocity reaches 1e-5 au a year
// (1,111 of eraEpv00's 2,415 terms, on 465 frequencies, 421 of them the sum of two others;
// tools/make_search_series.py from ERFA's epv00.c). Each frequency's sine and cosine is taken
// once for all its terms, from those of the two it is the sum of where it is one. Heliocentric
// and barycentric position and velocity, BCRS axes, as earthState gives them. The apparent
// Sun's longitude from it lies within 0.0071" of eraEpv00's over -1999..3000 (0.17 s of time;
// tests/sky/search_series_test.cpp), the Earth's barycentric velocity within 2.1e-7 au/day
// (0.0003" of aberration); the barycentric position is only as good as the Sun's few terms
// (the searches take only the velocity). An eighth of eraEpv00's time.
EarthState seriesEarth(double jdTT);

// How far the apparent Sun's longitude from seriesEarth's Earth may lie from eraEpv00's over
// -1999..3000, arcseconds: the largest difference on 20,000 moments, 0.0071", with a margin.
inline constexpr double kSeriesEarthArcsec = 0.01;

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

// The terms of one frequency follow one another in kEarthTerms: first those whose sine
// enters the velocity, then those that enter only the position (their rate under 1e-9
// au/day).
// A frequency's sine and cosine come from its own angle or, when it is the sum of two lower
// ones (to 1e-11 au in every term of it over the span), from theirs by the angle sums.
struct EarthFrequency {
    double rate;      // radians per Julian year
    int sumOf[2];     // the two lower frequencies it is the sum of, or -1
    int withVelocity; // how many of kEarthTerms, in order, have it and enter the velocity
    int positionOnly; // and then how many enter only the position
};
inline constexpr int kMaxEarthFrequencies = 512;
struct EarthTerm {
    int slot;         // 3 coordinate + power: coordinate 0..2 Sun-to-Earth x, y, z, 3..5
                      // barycentre-to-Sun x, y, z; power of t, Julian years from J2000
    double amplitude; // au; in the velocity times the frequency's rate
    double cosPhase, sinPhase;
};
extern const EarthFrequency kEarthFrequencies[];
extern const int kEarthFrequencyCount;
extern const EarthTerm kEarthTerms[];
extern const int kEarthTermCount;
extern const double kEarthToBcrs[3][3]; // eraEpv00's ecliptic axes to the BCRS

// sineCosine: sin x and cos x, for the series' angles (up to 1.7e6 radians over -1999..3000:
// c t for c = 417 rad/yr at 4000 years): x less the nearest multiple of pi/2 in three parts,
// exact for |x| < 1.6e6 and within an ulp of x itself beyond, then fdlibm's polynomials,
// within an ulp on |r| <= pi/4. Half the time of the C library's sincos, which reduces large
// arguments to the last bit.
void sineCosine(double x, double& s, double& c);

} // namespace detail

} // namespace sorvane::sky
