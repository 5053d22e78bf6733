#include "finder/theory_moments.h"

#include "calendar/julian_day.h"
#include "finder/finder.h"

#include <cmath>
#include <string>

namespace sorvane {

namespace {

constexpr int kSearchDays = 20;      // whole days the search may step
constexpr double kSearchLead = 5;    // days before the guess that the search starts
constexpr double kSlopeStep = 0.001; // days, as the finder measures its slope

// target - lambda reduced to -180..180 degrees.
double ahead(double target, double lambda) {
    double d = std::fmod(target - lambda, 360.0);
    if (d > 180) {
        d -= 360;
    } else if (d <= -180) {
        d += 360;
    }
    return d;
}

} // namespace

double TheoryMoments::jstMoment(int year, int month, double target, double guessDay) const {
    Finder f(tables_);
    f.yy = static_cast<std::int16_t>(year);
    f.mm = static_cast<std::int16_t>(month);
    f.dd = std::floor(guessDay - kSearchLead);
    for (int trials = 0;; ++trials) {
        if (trials == kSearchDays) {
            throw CalculationError(CalculationError::Code::NotReached, year, month, target,
                                   "year " + std::to_string(year) + ", month " +
                                       std::to_string(month) + ": the Sun does not reach " +
                                       std::to_string(target) + " degrees");
        }
        f.sun();
        if (ahead(target, f.sunState.longitude) <= 0) {
            break;
        }
        f.dd += 1;
    }
    const double stopLongitude = f.sunState.longitude;
    f.dd -= kSlopeStep;
    f.sun();
    f.d2 = f.dd;
    f.sekkunit = kSlopeStep / -ahead(f.sunState.longitude, stopLongitude);
    for (int step = 0; step < 3; ++step) {
        f.dd = f.d2 + ahead(target, f.sunState.longitude) * f.sekkunit;
        f.sun();
        f.d2 = f.dd;
    }
    f.hyouji(-1); // to JST; no result line
    if (!std::isfinite(f.d2)) {
        throw CalculationError(CalculationError::Code::NotFinite, year, month, target,
                               "year " + std::to_string(year) + ", month " + std::to_string(month) +
                                   ": no usable moment for " + std::to_string(target) + " degrees");
    }
    return julianday(year, month, f.d2); // hyouji left the JST moment in d2
}

} // namespace sorvane
