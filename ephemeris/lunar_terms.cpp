#include "ephemeris/lunar_terms.h"

#include "ephemeris/nutation.h"

#include <cmath>

namespace sorvane {

LunarArguments lunarArguments(double T) {
    const double d = T * 36525;
    LunarArguments a{};
    a.D = ((d * 12.19074919142 + 350.737486) - (0.00143611 * T) * T) + ((0.00000189 * T) * T) * T;
    a.l = ((d * 13.0649924465 + 296.104608) + (0.00919167 * T) * T) + ((0.00001439 * T) * T) * T;
    const double omegaCubic = 4.6 * std::pow(10.0, -20);
    const double omegaSquare = 1.557 * std::pow(10.0, -12);
    a.Omega =
        ((omegaCubic * d) * d) * d + (((omegaSquare * d) * d) + (259.183275 - d * 0.0529539222));
    const double fSquare = 2.407 * std::pow(10.0, -12);
    const double fCubic = 0.7 * std::pow(10.0, -20);
    a.F = ((d * 13.229350449 + 11.250889) - (fSquare * d) * d) - ((fCubic * d) * d) * d;
    return a;
}

void computeLunarTerms(double T, SunComponents& c) {
    const LunarArguments a = lunarArguments(T);
    const double D = a.D;
    const double l = a.l;
    const double g = c.meanAnomalies[3];
    const double k = kDegToRad;

    const double lambda = 6.454 * std::sin(D * k) + 0.013 * std::sin((3 * D) * k) +
                          0.177 * std::sin((D + l) * k) - 0.424 * std::sin((D - l) * k) +
                          0.039 * std::sin((3 * D - l) * k) - 0.064 * std::sin((D + g) * k) +
                          0.172 * std::sin((D - g) * k);
    c.lunarLongitude = lambda / 3600;

    const double rho = 3 * std::cos((3 * D) * k) + 1336 * std::cos(D * k) +
                       37 * std::cos((D + l) * k) - 133 * std::cos((D - l) * k) +
                       8 * std::cos((3 * D - l) * k) - 14 * std::cos((D + g) * k) +
                       36 * std::cos((D - g) * k);
    c.lunarLogRadius = rho;

    c.lunarLongitude = nutation(l, c.rawSunMeanAnomaly, a.F, D, a.Omega, T) + c.lunarLongitude;
}

} // namespace sorvane
