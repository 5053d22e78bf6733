// The Sun's dates of the notes: every 5 degrees, in the calendar page's mode.

#include "notes/solar_dates.h"

#include "calendar/solar_terms.h"
#include "notes/notes.h"

#include <algorithm>
#include <cmath>

namespace sorvane::notes {

namespace {

constexpr double kMinutesPerDay = 1440;
// An interpolated moment this close to midnight (minutes) is searched for instead.
constexpr double kRefineMinutes = 15;
constexpr double kDoyoPastSetsu = 12; // degrees

// Minutes from the moment to the nearest midnight (JST).
double minutesFromMidnight(double jdJST) {
    const double minuteOfDay = std::fmod((jdJST - 0.5) * kMinutesPerDay, kMinutesPerDay);
    const double m = minuteOfDay < 0 ? minuteOfDay + kMinutesPerDay : minuteOfDay;
    return std::min(m, kMinutesPerDay - m);
}

} // namespace

CivilDate solarDate(const SunMoments& sun, int year, int month, double target, double guessDay) {
    return jstDateOfMoment(sun.jstMoment(year, month, target, guessDay));
}

std::vector<SolarDate> solarDates(const SunMomentsOfYear& sunOf, int year) {
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
        a.jd = sunOf(a.year).jstMoment(a.year, a.month, sekkilong(a.month, a.kind),
                                       a.kind == 0 ? 6 : 21);
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
        out.push_back({jstDateOfMoment(a.jd), longitude});
        for (int k = 1; k <= 2; ++k) {
            const double jd = interpolated(i, 5 * k);
            const int l = (longitude + 5 * k) % 360;
            out.push_back({minutesFromMidnight(jd) > kRefineMinutes
                               ? jstDateOfMoment(jd)
                               : solarDate(sunOf(a.year), a.year, a.month, l,
                                           a.kind == 0 ? 6 + 5 * k : 21 + 5 * k),
                           l});
        }
    }
    out.push_back({solarDate(sunOf(year - 1), year - 1, 6, 90, 21), 90});
    // The 土用 entries, 12 degrees past the 節 of January, April, July and October.
    for (const int month : {1, 4, 7, 10}) {
        const std::size_t i = 3 + 2 * static_cast<std::size_t>(month - 1); // that 節's anchor
        const double jd = interpolated(i, kDoyoPastSetsu);
        const int l = static_cast<int>(std::lround(dooulong(month)));
        out.push_back({minutesFromMidnight(jd) > kRefineMinutes
                           ? jstDateOfMoment(jd)
                           : solarDate(sunOf(year), year, month, l, 18),
                       l});
    }
    return out;
}

} // namespace sorvane::notes
