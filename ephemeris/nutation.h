// Nutation in longitude from Woolard's series of 69 terms.
//
// Reference: E. W. Woolard, Theory of the rotation of the Earth around its center of mass,
// Astronomical Papers prepared for the use of the American Ephemeris and Nautical Almanac,
// vol. XV part I (Washington, 1953); used with S. Newcomb, Tables of the Sun, ibid. vol. VI
// part I (1895). Accuracy of the whole theory (sunPosition) against ERFA's geometric Sun of
// date at 600 instants spread over 1900-2100: longitude max 2.19", rms 0.94"; radius vector
// within 2e-6 of its value (tests/ephemeris/accuracy_test.cpp).
#pragma once

namespace sorvane {

// nutation: the nutation in longitude, delta psi.
//   l       mean anomaly of the Moon, degrees (unreduced)
//   lPrime  mean anomaly of the Sun without the long-period terms, degrees (unreduced)
//   F       mean argument of latitude of the Moon, degrees
//   D       mean elongation of the Moon from the Sun, degrees
//   Omega   longitude of the Moon's mean ascending node, degrees
//   T       Julian centuries from JD 2415020.0; enters the amplitudes only
// Returns delta psi in degrees. Pure: reads and writes no other state.
// Method: term i contributes (A_i + B_i T) sin(theta_i), theta_i the integer combination of
// the five arguments in degrees, added left to right in the order l, l', F, D, Omega and
// then converted with the theory's factor; the terms are summed in table order, in
// arcseconds, and the sum divided by 3600.
double nutation(double l, double lPrime, double F, double D, double Omega, double T);

} // namespace sorvane
