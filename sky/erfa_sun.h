// The Sun's position of date from the IAU SOFA/ERFA model (liberfa), an independent check
// on the solar theory and the basis of the precise mode.
#pragma once

#include <erfam.h>

namespace sorvane::sky {

struct SunOfDate {
    double longitude; // degrees, 0..360, ecliptic and equinox of date, with nutation
    double radius;    // geocentric distance of the Sun, au
};

// geometricSunOfDate: the Sun's geometric geocentric longitude of date.
//   jdTT  Julian date, Terrestrial Time
// Method: the heliocentric Earth of earthState negated, rotated to the mean ecliptic and equinox of
// date with eclipticRotation, plus the nutation in longitude of eraNut06a. No light time, no
// aberration: the quantity the solar theory's longitude stands for.
SunOfDate geometricSunOfDate(double jdTT);

// apparentSunOfDate: the Sun's apparent geocentric longitude of date, as almanacs give it.
//   jdTT  Julian date, Terrestrial Time
// Returns longitude in degrees (0..360, true ecliptic and equinox of date) and the
// geocentric distance in au at the time the light left the Sun.
// Method: earthState for the Earth (heliocentric and barycentric) at jdTT (eraEpv00); the
// Sun's barycentric position taken at jdTT - tau (apparentSunVector); annual aberration with eraAb
// from the Earth's barycentric velocity; rotation from GCRS axes to the mean ecliptic and equinox
// of date with eclipticRotation; plus the nutation in longitude of eraNut06a. eraEpv00 is fitted to
// 1900-2100; outside, its error in the moment of a longitude grows to 15 s by 1000 and 3000 and 16
// min by -1999 (theoryUncertainty in sky/delta_t.h bounds it).
SunOfDate apparentSunOfDate(double jdTT);

// The pieces the apparent Sun is built from, shared with the apparent Moon.

// The speed of light in au per day (ERFA's day of seconds over its light time for one au),
// for the light time of the Sun and the Moon.
inline constexpr double kLightSpeedAuPerDay = ERFA_DAYSEC / ERFA_AULT;

// The Earth at a moment, from eraEpv00: heliocentric and barycentric position (au) and
// velocity (au/day), BCRS (ICRS) axes.
struct EarthState {
    double pvh[2][3];
    double pvb[2][3];
};
EarthState earthState(double jdTT);

// advanceEarth: the Earth dt days after a known state, for |dt| up to 0.05 day: a Taylor
// step of second order with the Sun's Kepler acceleration. The Moon's pull on the Earth
// (0.6 % of the Sun's) and the higher orders are left out: under 0.3 km, 0.0004", at 0.05
// day. Newton steps take it for the moments after their first.
EarthState advanceEarth(const EarthState& earth, double dt);

// apparentSunVector: the apparent geocentric vector of the Sun, au, ICRS axes.
//   earth  the Earth at the moment of observation
// Method: the Sun's barycentric position at t - tau, the light time tau iterated, with the
// Sun's barycentric motion over tau taken as uniform (its acceleration moves it by less than
// 1e-12 au in the eight minutes); then annual aberration (see aberrate).
void apparentSunVector(const EarthState& earth, double out[3]);

// aberrate: annual aberration of a geocentric vector.
//   geo    geometric geocentric vector of a body where it was when its light left it, au
//   earth  the Earth at the moment of observation; its barycentric velocity makes the shift
// Returns in out the apparent vector, of the same length. eraAb (special relativity, with
// the Sun's gravitational term).
void aberrate(const double geo[3], const EarthState& earth, double out[3]);

// eclipticRotation: the rotation from ICRS axes to the ecliptic and mean equinox of date:
// eraEcm06 (IAU 2006 precession) over 1900-2100, elsewhere eraLtecm (the long-term
// precession of Vondrak et al. 2011, valid for 200,000 years either side of 2000). Nutation moves
// the equinox along this ecliptic by the nutation in longitude, the same for every body.
void eclipticRotation(double jdTT, double rm[3][3]);

// nutationInLongitude: eraNut06a's nutation in longitude, radians.
double nutationInLongitude(double jdTT);

// eclipticLongitude: the longitude (radians, -pi..pi) of a vector after the rotation rm,
// and, when velocity is given, its rate (radians per day) from that velocity.
double eclipticLongitude(const double rm[3][3], const double p[3], const double* velocity,
                         double* rate);

// wrapDegrees: an angle difference reduced to -180..180 degrees.
double wrapDegrees(double d);

// solveApparentLongitude: the moment the Sun's apparent longitude reaches a target.
//   targetDegrees  apparent longitude of date, degrees (any value; reduced to 0..360)
//   jdGuessTT      Julian date (TT) within about ten days of the answer
// Returns the Julian date (TT) at which apparentSunOfDate gives targetDegrees, to better
// than 0.1 s of time over 1898-2102 and 0.4 s elsewhere. The guess is first improved on the
// Astronomical Almanac's low-precision Sun (outside 1898-2102 then on Meeus's, ch. 25), then
// the search (sky/search.h; window: 20 days either side) with the rate from the Earth's
// heliocentric velocity and the four largest nutation terms; the full nutation corrects the
// last one. Over 1900-2100 that is IAU 2000B's (eraNut00b, within 0.07 s of IAU 2000A's
// moment) unless the moment lies within 0.15 s of a JST half minute, then IAU 2000A's largest
// terms (seriesNutationInLongitude, within 0.05 s) unless within 0.12 s; elsewhere those terms
// unless within 0.15 s; else IAU 2000A's (eraNut06a), so the minute shown is always IAU
// 2000A's. The Newton steps take the Earth from the Chebyshev table of eraEpv00 over
// 1898-2102 (tabulatedEarth, within 0.007 s of time), elsewhere from eraEpv00's largest terms
// at the first step (seriesEarth, within 0.0071", 0.17 s) carried on to the next
// (advanceEarth); near a half minute (over 1900-2100 within 0.12 s, elsewhere 0.15 s and
// kSeriesEarthArcsec more at the Sun's rate, 0.25 s) one more step on eraEpv00's own Earth at
// the moment decides, after which outside 1900-2100 IAU 2000A's largest terms serve unless
// the moment lies within 0.1 s of the half minute (twice their 0.05 s), so the minute shown is
// always the full model's. The longitude difference is reduced to -180..180 degrees, so a
// target of 0 (or 360) is found across the wrap.
double solveApparentLongitude(double targetDegrees, double jdGuessTT);

} // namespace sorvane::sky
