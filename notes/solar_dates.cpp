// The Sun's dates of the notes: every 5 degrees, in the calendar page's mode.

#include "notes/solar_dates.h"

#include "finder/finder.h"
#include "finder/target_longitudes.h"
#include "notes/notes.h"
#include "precise/precise_year.h"

#include <cmath>

namespace sorvane::notes {

namespace {

constexpr int kSearchDays = 20;      // whole days the default mode's search may step
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

CivilDate theoryDate(const Tables& tables, int year, int month, double target, double guessDay) {
    Finder f(tables);
    f.yy = static_cast<std::int16_t>(year);
    f.mm = static_cast<std::int16_t>(month);
    f.dd = std::floor(guessDay - kSearchLead);
    for (int trials = 0;; ++trials) {
        if (trials == kSearchDays) {
            throw CalculationError("year " + std::to_string(year) + ", month " +
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
    f.hyouji(-1); // to JST, rounded to the minute; no result line
    if (!std::isfinite(f.dx)) {
        throw CalculationError("year " + std::to_string(year) + ", month " + std::to_string(month) +
                               ": no usable moment for " + std::to_string(target) + " degrees");
    }
    return addDays(CivilDate{year, month, 1}, static_cast<long long>(f.dx) - 1);
}

} // namespace

CivilDate solarDate(const Tables& tables, int year, int month, double target, double guessDay,
                    bool precise) {
    if (precise) {
        const precise::PreciseEvent e =
            precise::preciseEvent(year, month, EventKind::Longitude, target, guessDay);
        return addDays(CivilDate{year, month, 1}, static_cast<long long>(e.day) - 1);
    }
    return theoryDate(tables, year, month, target, guessDay);
}

std::vector<SolarDate> solarDates(const Tables& tables, int year) {
    std::vector<SolarDate> out;
    out.reserve(80);
    // Each month holds its 節 near day 6 and five more multiples of 5 degrees after it.
    auto month = [&](int y, int m) {
        const int setsu = static_cast<int>(std::lround(sekkilong(m, 0)));
        for (int k = 0; k < 6; ++k) {
            const int longitude = (setsu + 5 * k) % 360;
            out.push_back(
                {solarDate(tables, y, m, longitude, 6 + 5 * k, precise::inRange(y)), longitude});
        }
    };
    month(year - 1, 12);
    for (int m = 1; m <= 12; ++m) {
        month(year, m);
    }
    out.push_back({solarDate(tables, year - 1, 6, 90, 21, precise::inRange(year - 1)), 90});
    return out;
}

} // namespace sorvane::notes
