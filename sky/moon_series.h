// The geocentric Moon from the lunar solution ELP/MPP02 (Chapront & Francou 2003, A&A 404,
// 735) with the constants fitted to JPL DE405 and the additive corrections to the secular
// terms that keep it near DE406 over six millennia, written from the authors' explanatory
// note (data/elpmpp02/elpmpp02.pdf). The series the program carries are a truncation of the
// authors' files made by tools/make_moon_table.cpp (sky/moon_table.cpp).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <vector>

namespace sorvane::sky {

// One periodic term of the solution: S sin(phi) + C cos(phi), phi the sum of the
// multipliers times the arguments D, F, l, l', Me, V, T, Ma, J, S, U, N, zeta (the note's
// section 3). S and C are arcseconds for the longitude and the latitude, kilometres for the
// distance. The Main Problem's terms are of this form with only the first four multipliers
// and their coefficients already corrected for the DE405 fit (the note's section 4.3.1).
struct MoonTerm {
    std::array<std::int8_t, 13> multipliers{};
    double sine = 0;
    double cosine = 0;
};

inline constexpr int kMoonArguments = 13;

// The whole of a solution: terms[coordinate][power], coordinate 0 longitude, 1 latitude,
// 2 distance; power n multiplies the terms by t^n (t in Julian centuries from J2000).
struct MoonSeries {
    std::array<std::array<std::vector<MoonTerm>, 4>, 3> terms;
    std::size_t size() const;
};

// readMoonSeries: the authors' six files (ELP_MAIN.S1..S3, ELP_PERT.S1..S3) in dir, the
// Main Problem's coefficients corrected for the DE405 fit. Throws std::runtime_error naming
// the file and the line that cannot be read.
MoonSeries readMoonSeries(const std::filesystem::path& dir);

// truncateMoonSeries: the terms whose largest value over |t| <= tMax centuries,
// sqrt(S^2 + C^2) tMax^n, reaches the threshold: arcseconds for the two angles, and the
// length those arcseconds span at the Moon's mean distance for the distance.
MoonSeries truncateMoonSeries(const MoonSeries& full, double arcseconds, double tMax);

// carriedMoonSeries: the series the program carries (sky/moon_table.cpp).
const MoonSeries& carriedMoonSeries();

// The Moon's geocentric position (km) and velocity (km/day) at a moment.
struct MoonState {
    double position[3];
    double velocity[3];
};

// moonEclipticJ2000: the geocentric Moon, rectangular, inertial mean ecliptic and equinox of
// J2000, as the authors' check values give it.
//   series  the terms to sum
//   jdTDB   Julian date, Barycentric Dynamical Time (TT serves: they differ by under 2 ms)
// Method: the note's sections 3 to 5: the arguments with the DE405 corrections, the
// Fourier and Poisson series summed with each argument's multiples from one sine and cosine
// by their recurrences, the longitude and latitude on the inertial mean ecliptic of date from
// the departure point, rotated to J2000 with Laskar's P and Q. The velocity is the series'
// analytic derivative, the slow turn of the ecliptic of date left out (under 0.1 m/day).
MoonState moonEclipticJ2000(const MoonSeries& series, double jdTDB);

// geocentricMoon: the geocentric Moon the program uses, from the carried series.
//   jdTT  Julian date, Terrestrial Time
// Returns in pv the position (au) and velocity (au/day) in ICRS axes: the J2000 ecliptic
// rotated to the equator of DE405's frame with the note's angles (epsilon = 23 26' 21.40960",
// phi = -0.05028"). Against JPL DE431 (tools/moon_reference.py): see the README's accuracy
// table; 0.2" at most over 1900-2100, a few arcseconds by -1999 and 3000 (mostly the T^2
// drift of the tidal acceleration).
void geocentricMoon(double jdTT, double pv[2][3]);

// The terms of the search series: kSearchSeriesArcsec or more over -1999..3000.
inline constexpr double kSearchSeriesArcsec = 1.0;

// searchGeocentricMoon: the same from the carried series' largest terms only (181 terms, a
// tenth of the cost; within 25" of geocentricMoon over -1999..3000), for the steps of a
// search whose last step the carried series takes.
void searchGeocentricMoon(double jdTT, double pv[2][3]);

} // namespace sorvane::sky
