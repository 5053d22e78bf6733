// Julian dates and the time argument of the solar theory.
#pragma once

namespace sorvane {

// julianday: Julian date of a moment of the proleptic Gregorian calendar.
//   year   astronomical year number (year 0 is 1 BC, -1 is 2 BC)
//   month  1..12
//   day    day of the month; its fraction is the time of day (1.25 = 06:00 of the 1st)
// Returns the Julian date in days, in whatever time scale the day is given; a whole
// day at 00:00 gives a value ending in .5.
// Method: January and February are counted as months 13 and 14 of the previous year,
// then JD = Int(365.25 Y) + Int(Y/400) - Int(Y/100) + Int(30.59 (M - 2)) + day + 1721088.5,
// Int rounding towards minus infinity.
double julianday(int year, int month, double day);

// tcentury: time argument T of the solar theory.
//   jd  Julian date, days
// Returns Julian centuries of 36525 days since JD 2415020.0 (1899 December 31, 12:00).
double tcentury(double jd);

} // namespace sorvane
