// From Terrestrial Time to the civil time of Japan.
#pragma once

namespace sorvane::sky {

// ttMinusUtcSeconds: TT - UTC in seconds at a moment.
//   jdTT  Julian date, Terrestrial Time
// From 1960 on: 32.184 s + TAI - UTC from eraDat (the leap seconds, and the drifting
// offsets of 1960-1971), held at its last value after the last known leap second through
// 2100. From 2101 January 1 on, that value plus the growth of the Espenak-Meeus long-term
// parabola since that day: continuous, and rising as the Earth's tidal braking makes TT - UT rise,
// where their own expression would jump by more than two minutes (it gives 205 s for 2101
// against the held 69.184 s).
// Before 1960, when there was no UTC: TT - UT from espenakMeeusDeltaT (sky/delta_t.h).
double ttMinusUtcSeconds(double jdTT);

// defaultModeOffsetSeconds: how much later the default mode's JST moments of year are
// estimated to lie than the precise mode's, seconds: the difference of the two modes'
// TT - civil time at mid-year, ttMinusUtcSeconds against the default's 0.91 s a year since
// 1885. The two Sun models add less: about 3 min in 1000, 4 min in 3000, 45 min in -1999.
double defaultModeOffsetSeconds(int year);

// utcFromTT: the Julian date in UTC (UT before 1960) of a moment given in TT.
double utcFromTT(double jdTT);

// jstFromTT: the Julian date in Japan Standard Time (UTC + 9 h) of a moment given in TT.
double jstFromTT(double jdTT);

} // namespace sorvane::sky
