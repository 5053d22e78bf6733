#include "ephemeris/nutation.h"

#include "ephemeris/nutation_terms.h"
#include "ephemeris/sun_components.h"

#include <cmath>

namespace sorvane {

namespace {

// theta in degrees: the non-zero multiples added left to right, l first.
double argument(const NutationTerm& term, const double (&args)[5]) {
    const int multiples[5] = {term.l, term.lPrime, term.F, term.D, term.Omega};
    double theta = 0;
    bool first = true;
    for (int k = 0; k < 5; ++k) {
        if (multiples[k] == 0) {
            continue;
        }
        const double product = multiples[k] * args[k];
        theta = first ? product : theta + product;
        first = false;
    }
    return theta;
}

} // namespace

double nutation(double l, double lPrime, double F, double D, double Omega, double T) {
    const double args[5] = {l, lPrime, F, D, Omega};
    double sum = 0;
    for (const NutationTerm& term : kNutationTerms) {
        const double amplitude = term.B == 0 ? term.A : term.A + term.B * T;
        sum = sum + amplitude * std::sin(argument(term, args) * kDegToRad);
    }
    return sum / 3600;
}

} // namespace sorvane
