// From Terrestrial Time to the civil time of Japan.
#pragma once

namespace sorvane::precise {

// espenakMeeusDeltaT: TT - UT in seconds from the polynomial expressions of Espenak and
// Meeus (2006) for the years 1860-1960.
//   decimalYear  year with fraction (2000.0 = 2000 January 1)
// Returns seconds. Outside 1860-1960 the nearest piece is extended (the callers stay inside).
double espenakMeeusDeltaT(double decimalYear);

// ttMinusUtcSeconds: TT - UTC in seconds at a moment.
//   jdTT  Julian date, Terrestrial Time
// From 1960 on: 32.184 s + TAI - UTC from eraDat (the leap seconds, and the drifting
// offsets of 1960-1971), held at its last value after the last known leap second.
// Before 1960, when there was no UTC: TT - UT from espenakMeeusDeltaT.
double ttMinusUtcSeconds(double jdTT);

// utcFromTT: the Julian date in UTC (UT before 1960) of a moment given in TT.
double utcFromTT(double jdTT);

// jstFromTT: the Julian date in Japan Standard Time (UTC + 9 h) of a moment given in TT.
double jstFromTT(double jdTT);

} // namespace sorvane::precise
