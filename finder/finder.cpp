#include "finder/finder.h"

#include "calendar/jst.h"
#include "calendar/solar_terms.h"
#include "ephemeris/sun_position.h"
#include "finder/line_format.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace sorvane {

namespace {

// The Sun gains about one degree a day, so any event is reached within a year of days;
// more trials than this mean the theory has stopped moving forward.
constexpr int kMaxSearchDays = 1000;

// hyouji's conversion from the theory's time scale to JST, constant by constant in the
// order it applies them (the JST offset itself, kJstOffsetDays, is calendar/jst.h's).
constexpr double kAuIn1e8Metres = 1495.9787; // the astronomical unit, 1e8 m
constexpr double kLightSpeedIn1e8MetresPerSecond = 2.99792458;
constexpr int kTimeScaleEpochYear = 1885;                   // the correction counts from here
constexpr double kTimeScaleDaysPerYear = 1.05337078651E-05; // 0.91 s a year, in days

bool hasDoyo(int month) {
    return month % 3 == 1;
}

// The result box's order of the 28 lines as (month, kekka column): per month the 節, the
// 土用 entry (January, April, July, October) and the 中気.
std::array<std::pair<int, int>, 28> lineOrder() {
    std::array<std::pair<int, int>, 28> order{};
    std::size_t n = 0;
    for (int m = 1; m <= 12; ++m) {
        for (const EventKind kind : {EventKind::Setsu, EventKind::Doyo, EventKind::Chuki}) {
            if (kind != EventKind::Doyo || hasDoyo(m)) {
                order[n++] = {m, lineColumn(kind)};
            }
        }
    }
    return order;
}

std::string degreesText(double target) {
    return std::to_string(static_cast<int>(target)) + " degrees";
}

// A found moment (day of month, fraction = time of day) that can be shown: finite and near
// its month.
void checkMoment(double day, int year, int month, double target) {
    if (std::isfinite(day) && std::fabs(day) <= kMomentDayLimit) {
        return;
    }
    const std::string where = "year " + std::to_string(year) + ", month " + std::to_string(month) +
                              ": the moment the Sun reaches " + degreesText(target);
    throw CalculationError(
        std::isfinite(day) ? CalculationError::Code::TooFar : CalculationError::Code::NotFinite,
        year, month, target,
        where +
            (std::isfinite(day)
                 ? " lies more than " + std::to_string(static_cast<int>(kMomentDayLimit)) +
                       " days from its month"
                 : " is not a finite number") +
            " (check the term values in planet.txt)");
}

} // namespace

void Finder::sun() {
    sunState = sunPosition(yy, mm, dd, tables_, components);
}

void Finder::reach(int bl) {
    const double target = sekkilong(mm, bl);
    double delta = target - sunState.longitude;
    if (bl == 1 && mm == 3 && sunState.longitude > 5) {
        delta = delta + 360;
    }
    chordStep(delta);
}

void Finder::reachdoou() {
    const double delta = dooulong(mm) - sunState.longitude;
    chordStep(delta);
}

void Finder::chordStep(double delta) {
    dd = d2 + delta * sekkunit;
    sun();
    d2 = dd;
}

void Finder::hyouji(int hl) {
    // Light time: the radius vector (au) times the metres of an au over the speed of light,
    // seconds, then days.
    gosa = sunState.radius * kAuIn1e8Metres / kLightSpeedIn1e8MetresPerSecond / 3600 / 24 +
           kJstOffsetDays;
    d2 = (gosa + d2) - (yy - kTimeScaleEpochYear) * kTimeScaleDaysPerYear;

    dx = std::floor(d2);
    hhx = (d2 - dx) * 24;
    hx = std::floor(hhx);
    mx = std::floor((hhx - hx) * 60);
    // 0..59 for any finite moment; a moment that is not finite has no seconds to round.
    const double seconds = std::floor(((hhx - hx) * 60 - mx) * 60);
    sx = std::isfinite(seconds) ? static_cast<std::int16_t>(seconds) : std::int16_t{0};

    if (sx >= 30) {
        mx = mx + 1;
    }
    if (mx >= 60) {
        hx = hx + 1;
        mx = 0;
    }
    if (hx >= 24) {
        dx = dx + 1;
        hx = 0;
    }

    if (hl < 0 || hl > 2) {
        return;
    }
    kekka[mm][hl] = resultLine(mm, static_cast<EventKind>(hl), dx, hx, mx);
}

void Finder::searchAndMeasure(double target, bool marchChuki) {
    for (int trials = 0;; ++trials) {
        if (trials == kMaxSearchDays) {
            throw CalculationError(CalculationError::Code::NotReached, yy, mm, target,
                                   "year " + std::to_string(yy) + ", month " + std::to_string(mm) +
                                       ": the Sun does not reach " + degreesText(target) +
                                       " within " + std::to_string(kMaxSearchDays) +
                                       " days (check the term values in planet.txt)");
        }
        sun();
        const double lambda = sunState.longitude;
        const bool before = marchChuki ? (348 < lambda && lambda <= 360) : lambda < target;
        if (!before) {
            break;
        }
        dd = dd + 1;
    }
    nl1 = sunState.longitude;
    dd = dd - 0.001;
    sun();
    d2 = dd;
    double gain = nl1 - sunState.longitude;
    if (marchChuki && sunState.longitude > 5) {
        gain = gain + 360;
    }
    sekkunit = 0.001 / gain;
}

void Finder::refineAndShow(EventKind kind, double target) {
    for (int step = 0; step < 3; ++step) {
        if (kind == EventKind::Doyo) {
            reachdoou();
        } else {
            reach(termIndex(kind));
        }
    }
    moments[mm][lineColumn(kind)] = show(kind, target);
}

EventMoment Finder::show(EventKind kind, double target) {
    EventMoment moment;
    moment.month = mm;
    moment.kind = kind;
    moment.target = target;
    moment.theoryDay = d2;
    checkMoment(d2, yy, mm, target);
    hyouji(lineColumn(kind));
    checkMoment(d2, yy, mm, target);
    moment.jstDay = d2;
    moment.day = dx;
    moment.hour = hx;
    moment.minute = mx;
    return moment;
}

void Finder::calculate(std::int16_t year) {
    yy = year;
    mm = 1;
    dd = tables_.termApproxDays[1][1];
    while (mm <= 12) {
        const double setsu = sekkilong(mm, 0);
        searchAndMeasure(setsu, false);
        refineAndShow(EventKind::Setsu, setsu);

        const double chuki = sekkilong(mm, 1);
        dd = tables_.termApproxDays[mm][2];
        searchAndMeasure(chuki, mm == 3);
        refineAndShow(EventKind::Chuki, chuki);

        if (hasDoyo(mm)) {
            const double doyo = dooulong(mm);
            dd = tables_.doyoApproxDays[mm];
            searchAndMeasure(doyo, false);
            refineAndShow(EventKind::Doyo, doyo);
        }

        mm = static_cast<std::int16_t>(mm + 1);
        if (mm <= 12) {
            dd = tables_.termApproxDays[mm][1];
        }
    }
}

EventMoment Finder::findLongitude(std::int16_t year, std::int16_t month, double startDay,
                                  double target) {
    const bool wrap = target == 0;
    if (!wrap && (target < 12 || target >= 348)) {
        throw std::invalid_argument("a whole-day search cannot bracket " + std::to_string(target) +
                                    " degrees");
    }
    yy = year;
    mm = month;
    dd = startDay;
    searchAndMeasure(target, wrap);
    for (int step = 0; step < 3; ++step) {
        double delta = target - sunState.longitude;
        if (wrap && sunState.longitude > 5) {
            delta = delta + 360;
        }
        chordStep(delta);
    }
    return show(EventKind::Longitude, target); // converted and rounded, no line stored
}

std::array<EventMoment, 28> Finder::orderedMoments() const {
    std::array<EventMoment, 28> ordered{};
    const auto order = lineOrder();
    for (std::size_t i = 0; i < order.size(); ++i) {
        ordered[i] = moments[order[i].first][order[i].second];
    }
    return ordered;
}

} // namespace sorvane
