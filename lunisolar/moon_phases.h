// The Moon's apparent longitude and the moments of its phases (朔, 上弦, 望, 下弦).
#pragma once

#include "precise/erfa_sun.h"

#include <vector>

namespace sorvane::lunisolar {

// apparentElongation: the apparent Moon's longitude minus the apparent Sun's, degrees.
//   jdTT  Julian date, Terrestrial Time
//   rate  if not null, receives the rate of the difference, degrees per day
// Returns degrees, 0..360, on the ecliptic of date.
// Method: the geocentric Moon from JPL DE405 where its table reaches (precise::de405(),
// 1959-12-10 to 2060-01-30; the Earth from it too), else from eraMoon98 (the ELP-2000/82
// series as simplified by Meeus: about 3" rms in longitude) with the Earth from eraEpv00;
// GCRS axes. Its light time tau = distance / c taken rigorously as for the Sun: the Moon's
// geocentric position at t - tau plus the Earth's barycentric displacement over tau (both
// motions uniform over the 1.3 s), then annual aberration from the Earth's barycentric
// velocity (eraAb), exactly as the apparent Sun of the precise mode
// (precise::apparentSunVector). Both vectors are rotated to the ecliptic and mean equinox of
// date with eraEcm06; the nutation in longitude is the same for both and cancels in the
// difference. Phases against swetest's JPL-based ephemeris 1900-2100: within 0.03 s with
// DE405, 5.2 s rms and 24 s at most with eraMoon98.
double apparentElongation(double jdTT, double* rate = nullptr);

// apparentMoonVector: the same apparent Moon as a vector, for those who need its direction
// and distance (the rising and setting of horizon/).
//   jdTT   Julian date, Terrestrial Time
//   earth  the Earth at jdTT (precise::earthState, or one carried on from it)
// Returns in out the apparent geocentric vector, au, ICRS (GCRS) axes: light time and
// annual aberration applied, no precession or nutation.
void apparentMoonVector(double jdTT, const precise::EarthState& earth, double out[3]);

enum class Phase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };

// "朔", "上弦", "望", "下弦".
const char* phaseName(Phase phase);

// solvePhase: the moment of a phase.
//   phase      the elongation 0, 90, 180 or 270 degrees
//   jdGuessTT  Julian date (TT) within about two days of the answer
// Returns the Julian date (TT) at which apparentElongation reaches the phase's angle, to
// better than 0.1 s, by precise::findAngle (Newton steps with the analytic rate of the
// elongation); outside DE405 the Earth after the first step is carried on from the first
// (precise::advanceEarth) while within 0.05 day.
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

// Sets of phases for phasesBetween: a bit (1 << Phase) for each.
inline constexpr unsigned kAllPhases = 0xF;
inline constexpr unsigned kNewMoons = 1u << static_cast<int>(Phase::New);

// phasesBetween: every phase of the set whose shown JST day lies in firstDay..lastDay (day
// numbers), in time order. Starts from the mean phases with their largest periodic terms
// (Meeus, Astronomical Algorithms, ch. 49).
std::vector<PhaseMoment> phasesBetween(long long firstDay, long long lastDay,
                                       unsigned phaseSet = kAllPhases);

} // namespace sorvane::lunisolar
