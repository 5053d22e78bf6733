// The Sun's dates of the notes: every 5 degrees, in the calendar page's mode.

#include "notes/solar_dates.h"

#include "calendar/julian_day.h"
#include "calendar/solar_terms.h"
#include "finder/finder.h"
#include "notes/notes.h"
#include "precise/precise_year.h"

#include <algorithm>
#include <cmath>

namespace sorvane::notes {

namespace {

constexpr int kSearchDays = 20;      // whole days the default mode's search may step
constexpr double kSearchLead = 5;    // days before the guess that the search starts
constexpr double kSlopeStep = 0.001; // days, as the finder measures its slope
constexpr double kMinutesPerDay = 1440;
// An interpolated moment this close to midnight (minutes) is searched for instead.
constexpr double kRefineMinutes = 15;
constexpr double kDoyoPastSetsu = 12; // degrees

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

double theoryMoment(const Tables& tables, int year, int month, double target, double guessDay) {
    Finder f(tables);
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

// The moment (a JST Julian date, before rounding) at which the Sun reaches target.
double solarMoment(const Tables& tables, int year, int month, double target, double guessDay,
                   bool precise) {
    if (precise) {
        return precise::preciseEvent(year, month, EventKind::Longitude, target, guessDay).jdJST;
    }
    return theoryMoment(tables, year, month, target, guessDay);
}

// The JST date of a moment, rounded to the minute first as the calendar page shows it.
CivilDate dateOfMoment(double jdJST) {
    const double minutes = std::round((jdJST - 0.5) * kMinutesPerDay);
    return civilDate(static_cast<long long>(std::floor(minutes / kMinutesPerDay)));
}

// Minutes from the moment to the nearest midnight (JST).
double minutesFromMidnight(double jdJST) {
    const double minuteOfDay = std::fmod((jdJST - 0.5) * kMinutesPerDay, kMinutesPerDay);
    const double m = minuteOfDay < 0 ? minuteOfDay + kMinutesPerDay : minuteOfDay;
    return std::min(m, kMinutesPerDay - m);
}

} // namespace

CivilDate solarDate(const Tables& tables, int year, int month, double target, double guessDay,
                    bool precise) {
    return dateOfMoment(solarMoment(tables, year, month, target, guessDay, precise));
}

std::vector<SolarDate> solarDates(const Tables& tables, int year) {
    // The anchors: every 節 and 中気 from 小雪 of year - 1 to 大寒 of year + 1, found by the
    // mode of their year. The 5 and 10 degrees past each come from the cubic through the four
    // anchors around them (within about 3 minutes: the Moon's pull on the Earth moves the
    // Sun by up to 6", which no interpolation over 15 days follows); where that lands within
    // kRefineMinutes of midnight the date is found by the search itself.
    struct Anchor {
        int year, month, kind; // kind 0 節, 1 中気
        double jd = 0;
    };
    std::vector<Anchor> anchors;
    anchors.push_back({year - 1, 11, 1});
    anchors.push_back({year - 1, 12, 0});
    anchors.push_back({year - 1, 12, 1});
    for (int m = 1; m <= 12; ++m) {
        anchors.push_back({year, m, 0});
        anchors.push_back({year, m, 1});
    }
    anchors.push_back({year + 1, 1, 0});
    anchors.push_back({year + 1, 1, 1});
    for (Anchor& a : anchors) {
        a.jd = solarMoment(tables, a.year, a.month, sekkilong(a.month, a.kind),
                           a.kind == 0 ? 6 : 21, precise::inRange(a.year));
    }
    // The moment of the longitude `offset` degrees past anchor i, from anchors i - 1 .. i + 2.
    auto interpolated = [&](std::size_t i, double offset) {
        const double x = offset / 15.0; // in units of the anchors' spacing, 0..1
        const double xs[4] = {-1, 0, 1, 2};
        double jd = 0;
        for (int j = 0; j < 4; ++j) {
            double w = 1;
            for (int k = 0; k < 4; ++k) {
                if (k != j) {
                    w *= (x - xs[k]) / (xs[j] - xs[k]);
                }
            }
            jd += w * anchors[i - 1 + static_cast<std::size_t>(j)].jd;
        }
        return jd;
    };

    std::vector<SolarDate> out;
    out.reserve(80);
    for (std::size_t i = 1; i + 2 < anchors.size(); ++i) {
        const Anchor& a = anchors[i];
        const int longitude = static_cast<int>(std::lround(sekkilong(a.month, a.kind)));
        out.push_back({dateOfMoment(a.jd), longitude});
        for (int k = 1; k <= 2; ++k) {
            const double jd = interpolated(i, 5 * k);
            const int l = (longitude + 5 * k) % 360;
            out.push_back(
                {minutesFromMidnight(jd) > kRefineMinutes
                     ? dateOfMoment(jd)
                     : solarDate(tables, a.year, a.month, l, a.kind == 0 ? 6 + 5 * k : 21 + 5 * k,
                                 precise::inRange(a.year)),
                 l});
        }
    }
    out.push_back({solarDate(tables, year - 1, 6, 90, 21, precise::inRange(year - 1)), 90});
    // The 土用 entries, 12 degrees past the 節 of January, April, July and October.
    for (const int month : {1, 4, 7, 10}) {
        const std::size_t i = 3 + 2 * static_cast<std::size_t>(month - 1); // that 節's anchor
        const double jd = interpolated(i, kDoyoPastSetsu);
        const int l = static_cast<int>(std::lround(dooulong(month)));
        out.push_back({minutesFromMidnight(jd) > kRefineMinutes
                           ? dateOfMoment(jd)
                           : solarDate(tables, year, month, l, 18, precise::inRange(year)),
                       l});
    }
    return out;
}

} // namespace sorvane::notes
