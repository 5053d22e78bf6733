// A crossing of zero inside a bracket.
#pragma once

#include <cmath>

namespace sorvane::horizon {

// solveBracketed: where f crosses zero between a and b. The crossings of the horizon need a
// bracket that the program's Newton search on angles (precise::findAngle) does not keep:
// near the poles a body grazes the horizon, its altitude's rate falls to zero, and a Newton
// step would leave the interval between two culminations.
//   f       a continuous function with f(a) = fa and f(b) = fb of opposite signs
//   a, b    the bracket, a < b
//   tol     the width at which the search stops, same unit as a and b
// Returns a point within tol of a crossing. Method: false position with the Illinois
// modification (the retained end's value halved when the same end is kept twice), which
// keeps the bracket and converges superlinearly on a smooth crossing; about six evaluations
// from a half-day bracket of a rising or setting to 1e-6 day.
template <class F>
double solveBracketed(F&& f, double a, double b, double fa, double fb, double tol) {
    int kept = 0; // -1: a was kept last time, +1: b was
    double c = a;
    for (int i = 0; i < 100; ++i) {
        c = (a * fb - b * fa) / (fb - fa);
        const double fc = f(c);
        if (fc == 0) {
            return c;
        }
        if ((fc < 0) == (fa < 0)) {
            a = c;
            fa = fc;
            if (kept == +1) {
                fb /= 2;
            }
            kept = +1;
        } else {
            b = c;
            fb = fc;
            if (kept == -1) {
                fa /= 2;
            }
            kept = -1;
        }
        if (b - a < tol || std::fabs(c - (a * fb - b * fa) / (fb - fa)) < tol / 4) {
            break;
        }
    }
    return (a * fb - b * fa) / (fb - fa);
}

} // namespace sorvane::horizon
