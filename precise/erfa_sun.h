// The Sun's position of date from the IAU SOFA/ERFA model (liberfa), an independent check
// on the solar theory and the basis of the precise mode.
#pragma once

namespace sorvane::precise {

struct SunOfDate {
    double longitude; // degrees, 0..360, ecliptic and equinox of date, with nutation
    double radius;    // geocentric distance of the Sun, au
};

// geometricSunOfDate: the Sun's geometric geocentric longitude of date.
//   jdTT  Julian date, Terrestrial Time
// Method: eraEpv00 heliocentric Earth negated, rotated to the mean ecliptic and equinox of
// date with eraEcm06, plus the nutation in longitude of eraNut06a. No light time, no
// aberration: the quantity the solar theory's longitude stands for. Valid 1900-2100.
SunOfDate geometricSunOfDate(double jdTT);

// apparentSunOfDate: the Sun's apparent geocentric longitude of date, as almanacs give it.
//   jdTT  Julian date, Terrestrial Time
// Returns longitude in degrees (0..360, true ecliptic and equinox of date) and the
// geocentric distance in au at the time the light left the Sun.
// Method: eraEpv00 for the Earth (heliocentric and barycentric) at jdTT; the Sun's
// barycentric position taken at jdTT - tau, the light time tau iterated to convergence;
// annual aberration with eraAb from the Earth's barycentric velocity; rotation from GCRS
// axes to the mean ecliptic and equinox of date with eraEcm06; plus the nutation in
// longitude of eraNut06a. Valid 1900-2100 (the range of eraEpv00).
SunOfDate apparentSunOfDate(double jdTT);

// solveApparentLongitude: the moment the Sun's apparent longitude reaches a target.
//   targetDegrees  apparent longitude of date, degrees (any value; reduced to 0..360)
//   jdGuessTT      Julian date (TT) within about ten days of the answer
// Returns the Julian date (TT) at which apparentSunOfDate gives targetDegrees, to better
// than 0.1 s of time. Newton steps with a numerical derivative; the longitude difference
// is reduced to -180..180 degrees, so a target of 0 (or 360) is found across the wrap.
double solveApparentLongitude(double targetDegrees, double jdGuessTT);

} // namespace sorvane::precise
