// The Moon's apparent longitude and the moments of its phases (朔, 上弦, 望, 下弦).
#pragma once

#include "sky/erfa_sun.h"

#include <vector>

namespace sorvane::lunisolar {

// apparentElongation: the apparent Moon's longitude minus the apparent Sun's, degrees.
//   jdTT  Julian date, Terrestrial Time
//   rate  if not null, receives the rate of the difference, degrees per day
// Returns degrees, 0..360, on the ecliptic of date.
// Method: the geocentric Moon from the lunar solution ELP/MPP02 the program carries
// (sky::geocentricMoon) and the Earth from eraEpv00; GCRS axes. Its light time tau = distance /
// c taken rigorously as for the Sun: the Moon's geocentric position at t - tau plus the Earth's
// barycentric displacement over tau (both motions uniform over the 1.3 s), then annual aberration
// from the Earth's barycentric velocity (eraAb), exactly as the apparent Sun of the precise mode
// (sky::apparentSunVector). Both vectors are rotated to the ecliptic and mean equinox of
// date with eraEcm06; the nutation in longitude is the same for both and cancels in the
// difference. Phases against swetest's JPL-based ephemeris (DE431) 1900-2100: see
// tests/lunisolar/reference_table_test.cpp, which prints the agreement.
double apparentElongation(double jdTT, double* rate = nullptr);

// apparentMoonVector: the same apparent Moon as a vector, for those who need its direction
// and distance (the rising and setting of horizon/).
//   jdTT   Julian date, Terrestrial Time
//   earth  the Earth at jdTT (sky::earthState, or one carried on from it)
// Returns in out the apparent geocentric vector, au, ICRS (GCRS) axes: light time and
// annual aberration applied, no precession or nutation.
void apparentMoonVector(double jdTT, const sky::EarthState& earth, double out[3]);

enum class Phase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };

// "朔", "上弦", "望", "下弦".
const char* phaseName(Phase phase);

// solvePhase: the moment of a phase.
//   phase      the elongation 0, 90, 180 or 270 degrees
//   jdGuessTT  Julian date (TT) within about two days of the answer
// Returns the Julian date (TT) at which apparentElongation reaches the phase's angle, to
// better than 0.1 s, by sky::search (window: three days either side of the guess; Newton
// steps with the analytic rate of the
// elongation) on the Moon's largest terms (sky::searchGeocentricMoon), then one step on
// the carried series; the Earth from sky::tabulatedEarth over 1898-2102 (within 0.0003"
// of eraEpv00), elsewhere from eraEpv00's largest terms at the first step (sky::seriesEarth,
// within 0.0071" in the Sun's longitude, 0.015 s of a phase) carried on (sky::advanceEarth)
// while within 0.05 day; there a moment within that bound of a JST half minute (about
// 0.03 s) takes the carried series' step again on eraEpv00's own Earth, so the minute shown
// is always the full models'.
// Throws sky::SearchError if the search does not find it.
double solvePhase(Phase phase, double jdGuessTT);

struct PhaseMoment {
    Phase phase = Phase::New;
    double jdTT = 0;         // the moment, Terrestrial Time
    long long jstMinute = 0; // the moment in JST rounded to the minute, minutes since day 0
                             // 00:00 (day numbers as kanshi takes them)
    long long day() const;   // the JST day number of the shown minute
    int minuteOfDay() const; // 0..1439
};

// jstMinute: a moment given in TT, in Japan Standard Time (the precise mode's time scales:
// leap seconds from 1972, Espenak-Meeus Delta T before 1960), rounded to the nearest minute
// and counted from 00:00 of day number 0.
long long jstMinute(double jdTT);

// phaseUncertainty: one standard error of a phase's JST moment, seconds, at jdTT: TT - civil
// time and the Sun model (sky::momentUncertainty) with the Moon's series in quadrature:
// 0.2" + 0.55" T^2 (T in millennia from 2000; measured against DE431 over -1999..3000:
// 0.34" at most over 2001-3000, 0.73" over 1001-2000, 1.1" over 1-1000, 1.6" before, 4.6" by
// -1999), 2 s of time to the arcsecond.
double phaseUncertainty(double jdTT);

// Sets of phases for phasesBetween: a bit (1 << Phase) for each.
inline constexpr unsigned kAllPhases = 0xF;
inline constexpr unsigned kNewMoons = 1u << static_cast<int>(Phase::New);

// phasesBetween: every phase of the set whose shown JST day lies in firstDay..lastDay (day
// numbers), in time order. Starts from the mean phases with their largest periodic terms
// (Meeus, Astronomical Algorithms, ch. 49).
std::vector<PhaseMoment> phasesBetween(long long firstDay, long long lastDay,
                                       unsigned phaseSet = kAllPhases);

} // namespace sorvane::lunisolar
