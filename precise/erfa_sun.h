// The Sun's position of date from the IAU SOFA/ERFA model (liberfa), an independent check
// on the solar theory and the basis of the precise mode.
#pragma once

namespace sorvane::erfa {

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

} // namespace sorvane::erfa
