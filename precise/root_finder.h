// The one search under the Sun's and the Moon's moments: Newton's method on an angle.
#pragma once

#include <cmath>

namespace sorvane::precise {

// What a searched function gives at a moment: how far the angle still has to go to its
// target (degrees, reduced to -180..180) and the angle's rate (degrees per day).
struct AngleToGo {
    double degrees = 0;
    double rate = 0;
};

struct Found {
    double jd = 0;   // the moment, in the time scale the function takes
    double rate = 0; // the angle's rate at the last step, degrees per day
};

// findAngle: the moment at which an angle reaches its target.
//   toGo       the function of the moment (a Julian date) described by AngleToGo
//   jdGuess    a moment near the answer, where Newton's method converges (within about a
//              quarter of the angle's period of its monotonic stretch)
//   tolerance  days: the search stops after a step smaller than this
//   maxSteps   at most this many evaluations
// Returns the moment after the last step and the rate there. Newton's method: each step
// is the angle to go over its rate, so the error falls quadratically; with an analytic
// rate it needs two to four evaluations from a guess within an hour.
template <class ToGo> Found findAngle(ToGo&& toGo, double jdGuess, double tolerance, int maxSteps) {
    Found f{jdGuess, 0};
    for (int i = 0; i < maxSteps; ++i) {
        const AngleToGo a = toGo(f.jd);
        f.rate = a.rate;
        const double step = a.degrees / a.rate;
        f.jd += step;
        if (std::fabs(step) < tolerance) {
            break;
        }
    }
    return f;
}

} // namespace sorvane::precise
