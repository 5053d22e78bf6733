#include "sky/precise_year.h"

#include "calendar/julian_day.h"
#include "calendar/solar_terms.h"
#include "sky/delta_t.h"
#include "sky/erfa_sun.h"
#include "sky/time_scales.h"

#include <cmath>

namespace sorvane::sky {

bool inRange(int year) {
    return year >= kFirstYear && year <= kLastYear;
}

PreciseEvent preciseEvent(int year, int month, EventKind kind, double target, double guessDay) {
    PreciseEvent e;
    e.month = month;
    e.kind = kind;
    e.target = target;
    // The calendar dates are civil (JST) dates; TT differs by minutes, far less than the
    // solver's reach.
    e.jdTT = solveApparentLongitude(target, julianday(year, month, guessDay));
    e.jdJST = jstFromTT(e.jdTT);
    e.deltaT = ttMinusUtcSeconds(e.jdTT);
    e.uncertainty = momentUncertainty(decimalYear(e.jdTT));

    const double monthStart = julianday(year, month, 1.0);
    const double minutes = std::round((e.jdJST - monthStart) * 1440.0);
    const double wholeDays = std::floor(minutes / 1440.0);
    const double minuteOfDay = minutes - wholeDays * 1440.0;
    e.day = wholeDays + 1;
    e.hour = std::floor(minuteOfDay / 60.0);
    e.minute = minuteOfDay - e.hour * 60.0;
    return e;
}

double PreciseMoments::jstMoment(int year, int month, double target, double guessDay) const {
    return jstFromTT(solveApparentLongitude(target, julianday(year, month, guessDay)));
}

std::array<PreciseEvent, 28> preciseYear(int year) {
    std::array<PreciseEvent, 28> events{};
    std::size_t n = 0;
    for (int m = 1; m <= 12; ++m) {
        events[n++] = preciseEvent(year, m, EventKind::Setsu, sekkilong(m, 0), 6);
        if (m % 3 == 1) {
            events[n++] = preciseEvent(year, m, EventKind::Doyo, dooulong(m), 18);
        }
        events[n++] = preciseEvent(year, m, EventKind::Chuki, sekkilong(m, 1), 21);
    }
    return events;
}

} // namespace sorvane::sky
