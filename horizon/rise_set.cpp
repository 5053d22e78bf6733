#include "horizon/rise_set.h"

#include "calendar/civil_date.h"
#include "calendar/jst.h"
#include "lunisolar/moon_phases.h"
#include "sky/erfa_sun.h"
#include "sky/search.h"
#include "sky/time_scales.h"

#include <algorithm>
#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <string>

namespace sorvane::horizon {

namespace {

constexpr double kEarthStep = 6.0;  // days between eraEpv00 states
constexpr double kNodeStep = 0.5;   // days between tabulated places of the Sun and the Moon
constexpr double kMargin = 1.5;     // days searched beyond the days asked for
constexpr double kTolerance = 1e-6; // days, 0.09 s: the crossing's bracket at the end
constexpr double kCulminationTolerance = 1e-5; // days, 1 s
constexpr int kGrs80 = 2;                      // eraGd2gc's ellipsoid number for GRS80

// The Earth between eraEpv00 states kEarthStep days apart: cubic Hermite interpolation of each
// position from the positions and velocities at both ends (error h^4/384 times the fourth
// derivative: 8 km for the annual and the monthly motion, 0.01" in the Sun's direction).
class EarthTable {
  public:
    EarthTable(double firstTT, double lastTT) : start_(firstTT - kEarthStep) {
        const int n = static_cast<int>(std::ceil((lastTT - start_) / kEarthStep)) + 2;
        for (int i = 0; i < n; ++i) {
            states_.push_back(sky::earthState(start_ + kEarthStep * i));
        }
    }

    sky::EarthState at(double t) const {
        const double x = (t - start_) / kEarthStep;
        const auto i = static_cast<std::size_t>(std::floor(x));
        const double s = x - static_cast<double>(i);
        const sky::EarthState& a = states_[i];
        const sky::EarthState& b = states_[i + 1];
        const double h00 = (2 * s - 3) * s * s + 1;
        const double h10 = ((s - 2) * s + 1) * s;
        const double h01 = (3 - 2 * s) * s * s;
        const double h11 = (s - 1) * s * s;
        const double d00 = (6 * s - 6) * s;
        const double d10 = (3 * s - 4) * s + 1;
        const double d11 = (3 * s - 2) * s;
        sky::EarthState e{};
        for (int k = 0; k < 3; ++k) {
            e.pvh[0][k] = h00 * a.pvh[0][k] + h10 * kEarthStep * a.pvh[1][k] + h01 * b.pvh[0][k] +
                          h11 * kEarthStep * b.pvh[1][k];
            e.pvb[0][k] = h00 * a.pvb[0][k] + h10 * kEarthStep * a.pvb[1][k] + h01 * b.pvb[0][k] +
                          h11 * kEarthStep * b.pvb[1][k];
            e.pvh[1][k] = (d00 * (a.pvh[0][k] - b.pvh[0][k])) / kEarthStep + d10 * a.pvh[1][k] +
                          d11 * b.pvh[1][k];
            e.pvb[1][k] = (d00 * (a.pvb[0][k] - b.pvb[0][k])) / kEarthStep + d10 * a.pvb[1][k] +
                          d11 * b.pvb[1][k];
        }
        return e;
    }

  private:
    double start_;
    std::vector<sky::EarthState> states_;
};

// Right ascension (radians, continued across 2 pi), declination (radians) and distance (au)
// of date.
struct Place {
    double ra = 0;
    double dec = 0;
    double distance = 0;
};

// The apparent places of the Sun and the Moon of date every kNodeStep days, and the equation
// of the equinoxes (radians), over firstTT..lastTT.
class Sky {
  public:
    Sky(double firstTT, double lastTT) : start_(firstTT - kNodeStep) {
        const EarthTable earth(start_, lastTT + 2 * kNodeStep);
        const int n = static_cast<int>(std::ceil((lastTT - start_) / kNodeStep)) + 3;
        for (int i = 0; i < n; ++i) {
            const double t = start_ + kNodeStep * i;
            const sky::EarthState e = earth.at(t);
            double rbp[3][3];
            eraPmat06(t, 0.0, rbp);
            double dpsi = 0;
            double deps = 0;
            eraNut00b(t, 0.0, &dpsi, &deps);
            const double epsa = eraObl06(t, 0.0);
            double rn[3][3];
            eraNumat(epsa, dpsi, deps, rn);
            double rbpn[3][3];
            eraRxr(rn, rbp, rbpn);
            equinoxes_.push_back(dpsi * std::cos(epsa));

            double v[3];
            sky::apparentSunVector(e, v);
            add(sun_, rbpn, v);
            lunisolar::apparentMoonVector(t, e, v);
            add(moon_, rbpn, v);
        }
    }

    // The place of a body at t by 4-point Lagrange interpolation, and the equation of the
    // equinoxes. Within half a step of the table's ends (where a search's window may reach)
    // the end's four nodes extrapolate: no node outside the table is ever read.
    Place at(Body body, double t, double* equinoxes) const {
        const std::vector<Place>& table = body == Body::Sun ? sun_ : moon_;
        const double x = (t - start_) / kNodeStep;
        const double lastFirstNode = static_cast<double>(table.size()) - 3.0;
        const auto i = static_cast<std::size_t>(std::clamp(std::floor(x), 1.0, lastFirstNode));
        const double u = x - static_cast<double>(i);
        const double w[4] = {-u * (u - 1) * (u - 2) / 6, (u + 1) * (u - 1) * (u - 2) / 2,
                             -(u + 1) * u * (u - 2) / 2, (u + 1) * u * (u - 1) / 6};
        Place p;
        double ee = 0;
        for (int k = 0; k < 4; ++k) {
            const Place& q = table[i - 1 + static_cast<std::size_t>(k)];
            p.ra += w[k] * q.ra;
            p.dec += w[k] * q.dec;
            p.distance += w[k] * q.distance;
            ee += w[k] * equinoxes_[i - 1 + static_cast<std::size_t>(k)];
        }
        if (equinoxes != nullptr) {
            *equinoxes = ee;
        }
        return p;
    }

  private:
    static void add(std::vector<Place>& table, double rbpn[3][3], double v[3]) {
        double w[3];
        eraRxp(rbpn, v, w);
        Place p;
        eraC2s(w, &p.ra, &p.dec);
        p.distance = eraPm(w);
        if (!table.empty()) {
            // Continue the right ascension from the previous node (less than pi apart).
            p.ra = table.back().ra + eraAnpm(p.ra - table.back().ra);
        }
        table.push_back(p);
    }

    double start_;
    std::vector<Place> sun_;
    std::vector<Place> moon_;
    std::vector<double> equinoxes_;
};

// The observer, fixed to the Earth.
struct Site {
    double latitude = 0; // radians
    double longitude = 0;
    double itrs[3] = {0, 0, 0}; // au
};

Site site(const Observer& observer) {
    Site s;
    s.latitude = observer.latitude * ERFA_DD2R;
    s.longitude = observer.longitude * ERFA_DD2R;
    double xyz[3];
    eraGd2gc(kGrs80, s.longitude, s.latitude, 0.0, xyz);
    for (int k = 0; k < 3; ++k) {
        s.itrs[k] = xyz[k] / ERFA_DAU;
    }
    return s;
}

// Greenwich apparent sidereal time at t (TT), radians: eraGmst06 from UT1, taken as the
// precise mode's civil time (UTC, or UT before 1960), plus the equation of the equinoxes.
double siderealTime(double t, double equinoxes) {
    const double ut = t - sky::ttMinusUtcSeconds(t) / ERFA_DAYSEC;
    return eraGmst06(ut, 0.0, t, 0.0) + equinoxes;
}

// The body's geocentric hour angle at t, radians (not reduced).
double hourAngle(const Sky& sky, Body body, const Site& s, double t) {
    double ee = 0;
    const Place p = sky.at(body, t, &ee);
    return siderealTime(t, ee) + s.longitude - p.ra;
}

// The body's topocentric geometric altitude less that of its horizon, radians.
double aboveHorizon(const Sky& sky, Body body, const Site& s, double t) {
    double ee = 0;
    const Place p = sky.at(body, t, &ee);
    const double theta = siderealTime(t, ee);
    const double ct = std::cos(theta);
    const double st = std::sin(theta);
    const double cd = std::cos(p.dec);
    double topo[3] = {p.distance * cd * std::cos(p.ra) - (s.itrs[0] * ct - s.itrs[1] * st),
                      p.distance * cd * std::sin(p.ra) - (s.itrs[0] * st + s.itrs[1] * ct),
                      p.distance * std::sin(p.dec) - s.itrs[2]};
    const double local = theta + s.longitude;
    const double cl = std::cos(s.latitude);
    double up[3] = {cl * std::cos(local), cl * std::sin(local), std::sin(s.latitude)};
    const double altitude = std::asin(eraPdp(topo, up) / eraPm(topo));
    double horizon = kHorizonArcsec * ERFA_DAS2R;
    if (body == Body::Sun) {
        horizon -= kSunSemidiameterArcsec * ERFA_DAS2R / p.distance;
    }
    return altitude - horizon;
}

// The culminations (hour angle a multiple of pi) from a to b, with a and b themselves: between
// two neighbours the altitude rises or falls throughout. Each is found by the program's one
// search (sky::search, window: six hours either side) with the hour angle's nominal rate,
// 2 pi (1.0027 - the body's mean motion in revolutions a day): three steps settle it to
// about a second, which is all the bracketing needs.
std::vector<double> culminations(const Sky& sky, Body body, const Site& s, double a, double b) {
    const double rate =
        360.0 * (body == Body::Sun ? 1.00273790935 - 1 / 365.2422 : 1.00273790935 - 1 / 27.321582);
    std::vector<double> found{a};
    const double h = hourAngle(sky, body, s, a);
    double target = (std::floor(h / ERFA_DPI) + 1) * ERFA_DPI;
    double t = a + (target - h) * ERFA_DR2D / rate;
    while (true) {
        auto toGo = [&](double jd) {
            return sky::AngleToGo{eraAnpm(target - hourAngle(sky, body, s, jd)) * ERFA_DR2D, rate};
        };
        const sky::Found culmination =
            sky::search(toGo, sky::Window{t - 0.25, t + 0.25}, t, kCulminationTolerance, 3);
        if (culmination.status == sky::SearchStatus::NotBracketed) {
            throw sky::SearchError(culmination.status,
                                   "a culmination near JD " + std::to_string(t) +
                                       " (TT): " + sky::statusText(culmination.status));
        }
        t = culmination.jd;
        if (t >= b) {
            break;
        }
        if (t > found.back()) {
            found.push_back(t);
        }
        target += ERFA_DPI;
        t += 180.0 / rate;
    }
    found.push_back(b);
    return found;
}

double dayStartTT(long long day) {
    const double utc = static_cast<double>(day) + 0.5 - kJstOffsetDays;
    return utc + sky::ttMinusUtcSeconds(utc) / ERFA_DAYSEC;
}

std::vector<RiseSetEvent> events(const Sky& sky, Body body, const Site& s, long long firstDay,
                                 long long lastDay) {
    const double a = dayStartTT(firstDay) - kMargin;
    const double b = dayStartTT(lastDay + 1) + kMargin;
    const std::vector<double> ends = culminations(sky, body, s, a, b);
    auto f = [&](double t) { return aboveHorizon(sky, body, s, t); };
    auto altitude = [&](double t) { return sky::AngleToGo{f(t)}; };
    std::vector<RiseSetEvent> found;
    double fa = f(ends[0]);
    for (std::size_t i = 1; i < ends.size(); ++i) {
        const double fb = f(ends[i]);
        if ((fa < 0) != (fb < 0)) {
            const sky::Found crossing =
                sky::searchBracket(altitude, sky::Window{ends[i - 1], ends[i]}, fa, fb, kTolerance);
            if (crossing.status != sky::SearchStatus::Found) {
                throw sky::SearchError(crossing.status,
                                       "a crossing of the horizon near JD " +
                                           std::to_string(ends[i - 1]) +
                                           " (TT): " + sky::statusText(crossing.status));
            }
            RiseSetEvent e;
            e.jdTT = crossing.jd;
            e.jstMinute = lunisolar::jstMinute(e.jdTT);
            e.rising = fa < 0;
            if (e.jstMinute >= firstDay * 1440 && e.jstMinute < (lastDay + 1) * 1440) {
                found.push_back(e);
            }
        }
        fa = fb;
    }
    return found;
}

// Gives an event to its day: the day's first of its kind in the single field, every one in
// the list (the events come in time order).
void place(std::vector<DayTimes>& days, long long firstDay, const RiseSetEvent& e,
           std::optional<int> DayTimes::*rise, std::optional<int> DayTimes::*set,
           std::vector<int> DayTimes::*rises, std::vector<int> DayTimes::*sets) {
    const auto day = static_cast<long long>(std::floor(static_cast<double>(e.jstMinute) / 1440.0));
    DayTimes& d = days[static_cast<std::size_t>(day - firstDay)];
    const int minute = static_cast<int>(e.jstMinute - day * 1440);
    std::optional<int>& first = d.*(e.rising ? rise : set);
    if (!first) {
        first = minute;
    }
    (d.*(e.rising ? rises : sets)).push_back(minute);
}

} // namespace

std::vector<RiseSetEvent> riseSetEvents(Body body, const Observer& observer, long long firstDay,
                                        long long lastDay) {
    const Sky sky(dayStartTT(firstDay) - kMargin, dayStartTT(lastDay + 1) + kMargin);
    return events(sky, body, site(observer), firstDay, lastDay);
}

std::vector<DayTimes> dayTimes(const Observer& observer, long long firstDay, long long lastDay) {
    std::vector<DayTimes> days;
    if (lastDay < firstDay) {
        return days;
    }
    for (long long d = firstDay; d <= lastDay; ++d) {
        DayTimes day;
        day.day = d;
        days.push_back(std::move(day));
    }
    const Sky sky(dayStartTT(firstDay) - kMargin, dayStartTT(lastDay + 1) + kMargin);
    const Site s = site(observer);
    for (const RiseSetEvent& e : events(sky, Body::Sun, s, firstDay, lastDay)) {
        place(days, firstDay, e, &DayTimes::sunrise, &DayTimes::sunset, &DayTimes::sunrises,
              &DayTimes::sunsets);
    }
    for (const RiseSetEvent& e : events(sky, Body::Moon, s, firstDay, lastDay)) {
        place(days, firstDay, e, &DayTimes::moonrise, &DayTimes::moonset, &DayTimes::moonrises,
              &DayTimes::moonsets);
    }
    // Without a crossing the Sun keeps one side of the horizon all day: its side at noon.
    for (DayTimes& d : days) {
        if (!d.sunrise && !d.sunset) {
            const double noon = dayStartTT(d.day) + 0.5;
            d.polar = aboveHorizon(sky, Body::Sun, s, noon) > 0 ? Polar::Day : Polar::Night;
        }
    }
    // The Moon's age at 12:00 JST: from the last new moon before it.
    const std::vector<lunisolar::PhaseMoment> newMoons =
        lunisolar::phasesBetween(firstDay - 31, lastDay, lunisolar::kNewMoons);
    std::size_t k = 0;
    for (DayTimes& d : days) {
        const double noon = dayStartTT(d.day) + 0.5;
        while (k + 1 < newMoons.size() && newMoons[k + 1].jdTT <= noon) {
            ++k;
        }
        if (!newMoons.empty()) {
            d.moonAge = noon - newMoons[k].jdTT;
        }
    }
    return days;
}

std::vector<DayTimes> yearTimes(const Observer& observer, int year) {
    return dayTimes(observer, dayNumber(CivilDate{year, 1, 1}),
                    dayNumber(CivilDate{year + 1, 1, 1}) - 1);
}

} // namespace sorvane::horizon
