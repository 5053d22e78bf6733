// TT - UT over the precise mode's years, and how uncertain a computed moment is.
#pragma once

namespace sorvane::sky {

// espenakMeeusDeltaT: TT - UT in seconds from the polynomial expressions of Espenak and
// Meeus (2006), every piece: -500..2150 in eleven pieces and the long-term parabola
// -20 + 32 u^2, u = (y - 1820) / 100, before -500 and after 2150.
//   decimalYear  year with fraction (2000.0 = 2000 January 1)
double espenakMeeusDeltaT(double decimalYear);

// longTermDeltaT: the long-term parabola alone, -20 + 32 u^2 seconds.
double longTermDeltaT(double decimalYear);

// The year of the last leap second the program knows (TAI - UTC = 37 s from 2017 on).
inline constexpr double kLastLeapSecondYear = 2017.0;

// deltaTUncertainty: one standard error, in seconds, of the precise mode's TT - civil time.
//   Before 1600: Espenak and Meeus's sigma = 0.8 u^2 s, and at least the 20 s they give for
//   1500-1600. 1600-1960: their standard errors of the telescope era, linear in between
//   (20 s in 1600, 5 s in 1700, 2 s in 1750, 1 s in 1800, 0.5 s in 1850 and 1900, 0.1 s
//   in 1950, 0 in 1960).
//   1960 to the last leap second: 0 (civil time is UTC, whose offset from TT is defined).
//   Later: the held offset and its long-term continuation drift from the Earth's real
//   rotation; decade fluctuations of the day's length move TT - UT by up to about 0.2 s a
//   year, and the tidal term's uncertainty grows like the past one:
//   0.2 s * n + 0.8 (n / 100)^2 s, n years after the last leap second
//   (17 s in 2100, 39 s in 2200, 4.6 min in 3000).
double deltaTUncertainty(double decimalYear);

// theoryUncertainty: a bound, in seconds, on the error of a moment of the Sun's apparent
// longitude from eraEpv00 with the precession and nutation of date, measured against a
// JPL-based ephemeris from -1999 to 3000: 0.5 s + 18 s |T|^3, T in millennia from 2000
// (under 0.7 s in 1800-2200, 18.5 s in 1000 and 3000, 2.4 min in year 0, 19 min in -1999).
double theoryUncertainty(double decimalYear);

// momentUncertainty: the two combined in quadrature, seconds.
double momentUncertainty(double decimalYear);

// decimalYear: the year with fraction of a Julian date (2000.0 = 2000 January 1).
double decimalYear(double jd);

} // namespace sorvane::sky
