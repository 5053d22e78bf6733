#include "ephemeris/equation_of_centre.h"

#include <cmath>

namespace sorvane {

void computeEquationOfCentre(double T, SunComponents& c) {
    const double g = c.meanAnomalies[3];
    const double C = ((6910.057 - 17.24 * T) - (0.052 * T) * T) * std::sin(g * kDegToRad) +
                     (72.338 - 0.361 * T) * std::sin((g + g) * kDegToRad) +
                     (1.054 - 0.001 * T) * std::sin((3 * g) * kDegToRad) +
                     0.018 * std::sin((4 * g) * kDegToRad);
    c.equationOfCentre = C / 3600;

    const double cos4g = std::cos((4 * g) * kDegToRad);
    const double rho = (3057 - 15 * T) +
                       ((-727412 + 1814 * T) + (5 * T) * T) * std::cos(g * kDegToRad) +
                       (-9138 + 46 * T) * std::cos((g + g) * kDegToRad) +
                       (-145 + T) * std::cos((3 * g) * kDegToRad) - (cos4g + cos4g);
    c.ellipticLogRadius = rho;
}

} // namespace sorvane
