#include "eclipse/eclipses.h"

#include "calendar/civil_date.h"
#include "calendar/jst.h"
#include "lunisolar/moon_phases.h"
#include "sky/delta_t.h"
#include "sky/earth_table.h"
#include "sky/erfa_sun.h"
#include "sky/moon_series.h"
#include "sky/precise_year.h"
#include "sky/search.h"
#include "sky/search_series.h"
#include "sky/time_scales.h"

#include <algorithm>
#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <stdexcept>
#include <string>

namespace sorvane::eclipse {

namespace {

constexpr int kNodes = 9;
constexpr double kNodeStep = 2.0 / 24.0; // days
constexpr double kSpan = 7.0 / 24.0;     // days searched either side of the phase
constexpr double kScanStep = 5.0 / 1440.0;
constexpr double kTolerance = 1e-6; // days
constexpr int kGrs80 = 2;
constexpr double kFlattening = 1.0 / 298.257222101;
const double kEarthAu = kEarthRadiusKm * 1000.0 / ERFA_DAU;
const double kMoonAu = kMoonRadiusRatio * kEarthAu;
const double kSunAu = horizon::kSunSemidiameterArcsec * ERFA_DAS2R; // radius at 1 au, au
const double kHorizon = horizon::kHorizonArcsec * ERFA_DAS2R;

struct Bodies {
    double sun[3];
    double moon[3];
};

// The apparent Sun and Moon of date around a phase: nine moments two hours apart and the
// polynomial through them (barycentric form), with the equation of the equinoxes and the
// rotation of date taken once at the phase (they change by under 0.03" in eight hours).
class Syzygy {
  public:
    explicit Syzygy(double t0) : start_(t0 - kNodeStep * (kNodes - 1) / 2) {
        double rbp[3][3];
        eraPmat06(t0, 0.0, rbp);
        double dpsi = 0;
        double deps = 0;
        eraNut00b(t0, 0.0, &dpsi, &deps);
        const double epsa = eraObl06(t0, 0.0);
        double rn[3][3];
        eraNumat(epsa, dpsi, deps, rn);
        eraRxr(rn, rbp, rbpn_);
        equinoxes_ = dpsi * std::cos(epsa);
        for (int j = 0; j < kNodes; ++j) {
            const double t = start_ + kNodeStep * j;
            const sky::EarthState e = sky::earthState(t);
            double v[3];
            sky::apparentSunVector(e, v);
            eraRxp(rbpn_, v, nodes_[static_cast<std::size_t>(j)].sun);
            lunisolar::apparentMoonVector(t, e, v);
            eraRxp(rbpn_, v, nodes_[static_cast<std::size_t>(j)].moon);
        }
        double c = 1;
        for (int j = 0; j < kNodes; ++j) {
            weights_[static_cast<std::size_t>(j)] = (j % 2 == 0 ? 1 : -1) * c;
            c = c * (kNodes - 1 - j) / (j + 1);
        }
    }

    Bodies at(double t) const {
        const double x = (t - start_) / kNodeStep;
        Bodies b{};
        double sum = 0;
        for (int j = 0; j < kNodes; ++j) {
            const auto& n = nodes_[static_cast<std::size_t>(j)];
            if (x == j) {
                return n;
            }
            const double w = weights_[static_cast<std::size_t>(j)] / (x - j);
            sum += w;
            for (int k = 0; k < 3; ++k) {
                b.sun[k] += w * n.sun[k];
                b.moon[k] += w * n.moon[k];
            }
        }
        for (int k = 0; k < 3; ++k) {
            b.sun[k] /= sum;
            b.moon[k] /= sum;
        }
        return b;
    }

    // Greenwich apparent sidereal time, radians, UT1 taken as the precise mode's civil time.
    double siderealTime(double t) const {
        const double ut = t - sky::ttMinusUtcSeconds(t) / ERFA_DAYSEC;
        return eraGmst06(ut, 0.0, t, 0.0) + equinoxes_;
    }

  private:
    double start_;
    double rbpn_[3][3];
    double equinoxes_ = 0;
    std::array<Bodies, kNodes> nodes_{};
    std::array<double, kNodes> weights_{};
};

// The Moon's geocentric distance from the Sun (sign +1) or from the point opposite (-1) at a
// phase, radians: whether an eclipse is possible there, before the table is made. Only a
// screen, so from the searches' Earth (the table, else eraEpv00's largest terms) and the
// Moon's largest terms, the Moon's light time left out: within 20" of the full models' on
// the 17,781 new and full moons of every seventh year of -1999..3000, where no eclipse's
// separation exceeded 1.5522 degrees (solar) or 1.5822 (lunar), 425" below the screen's
// 1.7.
double separationAt(double t, double sign) {
    sky::EarthState e;
    if (!sky::tabulatedEarth(t, e)) {
        e = sky::seriesEarth(t);
    }
    double pv[2][3];
    sky::searchGeocentricMoon(t, pv);
    double sun[3];
    double moon[3];
    sky::apparentSunVector(e, sun);
    sky::aberrate(pv[0], e, moon);
    for (double& x : sun) {
        x *= sign;
    }
    return eraSepp(sun, moon);
}

struct Site {
    double latitude = 0;
    double longitude = 0;
    double itrs[3] = {0, 0, 0}; // au
};

Site site(const horizon::Observer& o) {
    Site s;
    s.latitude = o.latitude * ERFA_DD2R;
    s.longitude = o.longitude * ERFA_DD2R;
    double xyz[3];
    eraGd2gc(kGrs80, s.longitude, s.latitude, 0.0, xyz);
    for (int k = 0; k < 3; ++k) {
        s.itrs[k] = xyz[k] / ERFA_DAU;
    }
    return s;
}

// The place's local frame of date at a moment: position, up, east and north.
struct Frame {
    double position[3];
    double up[3];
    double east[3];
    double north[3];
};

Frame frame(const Syzygy& sky, const Site& s, double t) {
    const double theta = sky.siderealTime(t);
    const double ct = std::cos(theta);
    const double st = std::sin(theta);
    Frame f{};
    f.position[0] = s.itrs[0] * ct - s.itrs[1] * st;
    f.position[1] = s.itrs[0] * st + s.itrs[1] * ct;
    f.position[2] = s.itrs[2];
    const double local = theta + s.longitude;
    const double cl = std::cos(s.latitude);
    const double sl = std::sin(s.latitude);
    const double cx = std::cos(local);
    const double sx = std::sin(local);
    f.up[0] = cl * cx;
    f.up[1] = cl * sx;
    f.up[2] = sl;
    f.east[0] = -sx;
    f.east[1] = cx;
    f.east[2] = 0;
    f.north[0] = -sl * cx;
    f.north[1] = -sl * sx;
    f.north[2] = cl;
    return f;
}

void minus(const double a[3], const double b[3], double out[3]) {
    for (int k = 0; k < 3; ++k) {
        out[k] = a[k] - b[k];
    }
}

Horizontal horizontal(double topo[3], Frame f, double horizonLimb) {
    const double r = eraPm(topo);
    Horizontal h;
    const double alt = std::asin(eraPdp(topo, f.up) / r);
    h.altitude = alt * ERFA_DR2D;
    h.azimuth = eraAnp(std::atan2(eraPdp(topo, f.east), eraPdp(topo, f.north))) * ERFA_DR2D;
    h.above = alt > kHorizon - horizonLimb;
    return h;
}

Contact contact(double t) {
    Contact c;
    c.jdTT = t;
    c.jdJST = sky::jstFromTT(t);
    c.jstMinute = lunisolar::jstMinute(t);
    return c;
}

// The Sun for the place at t: altitude and azimuth, its upper limb deciding "above".
Horizontal sunFor(const Syzygy& sky, const Site& s, double t) {
    Frame f = frame(sky, s, t);
    Bodies b = sky.at(t);
    double topo[3];
    minus(b.sun, f.position, topo);
    return horizontal(topo, f, kSunAu / eraPm(topo));
}

Horizontal moonFor(const Syzygy& sky, const Site& s, double t) {
    Frame f = frame(sky, s, t);
    Bodies b = sky.at(t);
    double topo[3];
    minus(b.moon, f.position, topo);
    return horizontal(topo, f, 0.0);
}

// The topocentric Sun and Moon: separation of the centres and semidiameters, radians.
struct Disks {
    double separation;
    double sun;
    double moon;
};

Disks disks(const Syzygy& sky, const Site& s, double t) {
    Frame f = frame(sky, s, t);
    Bodies b = sky.at(t);
    double ts[3];
    double tm[3];
    minus(b.sun, f.position, ts);
    minus(b.moon, f.position, tm);
    return {eraSepp(ts, tm), std::asin(kSunAu / eraPm(ts)), std::asin(kMoonAu / eraPm(tm))};
}

// The fundamental plane on the Earth made a sphere of radius a (the axis coordinate stretched
// by 1 / (1 - f)): the axis's distance from the centre and the radii of the penumbra and the
// umbra there (the umbra's negative where the shadow is total), au; tanUmbra the umbral cone's
// half angle's tangent.
struct Plane {
    double axis;
    double penumbra;
    double umbra;
    double tanUmbra;
};

Plane plane(const Syzygy& sky, double t) {
    Bodies b = sky.at(t);
    b.sun[2] /= 1 - kFlattening;
    b.moon[2] /= 1 - kFlattening;
    double d[3];
    minus(b.moon, b.sun, d);
    const double sm = eraPm(d);
    for (double& x : d) {
        x /= sm;
    }
    const double along = eraPdp(b.moon, d); // negative: the Moon lies sunward of the plane
    double p[3];
    for (int k = 0; k < 3; ++k) {
        p[k] = b.moon[k] - along * d[k];
    }
    const double z = -along;
    const double f1 = std::asin((kSunAu + kMoonAu) / sm);
    const double f2 = std::asin((kSunAu - kMoonAu) / sm);
    return {eraPm(p), kMoonAu / std::cos(f1) + z * std::tan(f1),
            z * std::tan(f2) - kMoonAu / std::cos(f2), std::tan(f2)};
}

// The least of g over [from, to] by samples every kScanStep and a search on g's slope.
template <class G> double minimumOf(G&& g, double from, double to, bool* ok) {
    const int n = static_cast<int>(std::ceil((to - from) / kScanStep));
    int best = 0;
    double bestValue = g(from);
    for (int i = 1; i <= n; ++i) {
        const double v = g(from + kScanStep * i);
        if (v < bestValue) {
            bestValue = v;
            best = i;
        }
    }
    const double h = 1e-5;
    auto slope = [&](double t) { return sky::AngleToGo{(g(t + h) - g(t - h)) / (2 * h)}; };
    const double a = from + kScanStep * std::max(best - 1, 0);
    const double b = from + kScanStep * std::min(best + 1, n);
    const sky::Found f =
        sky::searchBracket(slope, {a, b}, slope(a).degrees, slope(b).degrees, kTolerance);
    *ok = f.status == sky::SearchStatus::Found;
    return *ok ? f.jd : from + kScanStep * best;
}

// The moment g crosses zero between a and b (g of opposite signs there).
template <class G> std::optional<double> crossing(G&& g, double a, double b) {
    auto f = [&](double t) { return sky::AngleToGo{g(t)}; };
    const sky::Found found = sky::searchBracket(f, {a, b}, g(a), g(b), kTolerance);
    if (found.status != sky::SearchStatus::Found) {
        return std::nullopt;
    }
    return found.jd;
}

// The first zero of g before (direction -1) or after (+1) the moment t0, where g(t0) < 0.
template <class G> std::optional<double> outward(G&& g, double t0, int direction, double limit) {
    double t = t0;
    while (std::fabs(t - t0) < limit) {
        const double next = t + direction * kScanStep;
        if (g(next) >= 0) {
            return direction < 0 ? crossing(g, next, t) : crossing(g, t, next);
        }
        t = next;
    }
    return std::nullopt;
}

// The fraction of the Sun's disc (radius rs) covered by the Moon's (rm), centres d apart.
double obscuration(double d, double rs, double rm) {
    if (d >= rs + rm) {
        return 0;
    }
    if (d <= std::fabs(rs - rm)) {
        return rm >= rs ? 1.0 : (rm * rm) / (rs * rs);
    }
    const double a = std::acos((d * d + rs * rs - rm * rm) / (2 * d * rs));
    const double b = std::acos((d * d + rm * rm - rs * rs) / (2 * d * rm));
    const double lens = rs * rs * (a - std::sin(2 * a) / 2) + rm * rm * (b - std::sin(2 * b) / 2);
    return lens / (ERFA_DPI * rs * rs);
}

bool uncertainYear(double t) {
    return sky::momentUncertainty(sky::decimalYear(t)) > 30.0;
}

std::optional<LocalSolarEclipse> localSolar(const Syzygy& sky, const Site& s, double tg,
                                            Quality* quality) {
    auto outer = [&](double t) {
        const Disks k = disks(sky, s, t);
        return k.separation - k.sun - k.moon;
    };
    // The maximum: the greatest magnitude (the Moon's topocentric semidiameter changes with
    // its altitude, so this is not quite the least distance of the centres).
    auto covered = [&](double t) {
        const Disks k = disks(sky, s, t);
        return (k.separation - k.sun - k.moon) / (2 * k.sun);
    };
    bool ok = false;
    const double tm = minimumOf(covered, tg - 4.0 / 24, tg + 4.0 / 24, &ok);
    if (outer(tm) >= 0) {
        return std::nullopt;
    }
    if (!ok) {
        *quality = Quality::Failed;
    }
    LocalSolarEclipse e;
    const Disks k = disks(sky, s, tm);
    e.magnitude = (k.sun + k.moon - k.separation) / (2 * k.sun);
    e.obscuration = obscuration(k.separation, k.sun, k.moon);
    if (e.magnitude < 1e-3) {
        *quality = std::max(*quality, Quality::Doubtful);
    }
    const std::optional<double> t1 = outward(outer, tm, -1, kSpan);
    const std::optional<double> t4 = outward(outer, tm, +1, kSpan);
    if (!t1 || !t4) {
        *quality = Quality::Failed;
        return std::nullopt;
    }
    e.begin = contact(*t1);
    e.maximum = contact(tm);
    e.end = contact(*t4);
    if (k.separation < std::fabs(k.sun - k.moon)) {
        e.kind = k.moon > k.sun ? SolarKind::Total : SolarKind::Annular;
        auto inner = [&](double t) {
            const Disks q = disks(sky, s, t);
            return q.separation - std::fabs(q.sun - q.moon);
        };
        const std::optional<double> t2 = outward(inner, tm, -1, kSpan);
        const std::optional<double> t3 = outward(inner, tm, +1, kSpan);
        if (!t2 || !t3) {
            *quality = Quality::Failed;
        } else {
            e.second = contact(*t2);
            e.third = contact(*t3);
        }
    }
    for (Contact* c : {&e.begin, &e.maximum, &e.end}) {
        c->horizontal = sunFor(sky, s, c->jdTT);
        e.seen = e.seen || c->horizontal->above;
    }
    for (auto* c : {&e.second, &e.third}) {
        if (*c) {
            (*c)->horizontal = sunFor(sky, s, (*c)->jdTT);
        }
    }
    for (double t = *t1; !e.seen && t < *t4; t += kScanStep) {
        e.seen = sunFor(sky, s, t).above;
    }
    return e;
}

std::optional<SolarEclipse> solarAt(double t0, const std::optional<horizon::Observer>& place) {
    if (separationAt(t0, +1) > 1.7 * ERFA_DD2R) {
        return std::nullopt;
    }
    const Syzygy sky(t0);
    auto axis = [&](double t) { return plane(sky, t).axis; };
    bool ok = false;
    const double tg = minimumOf(axis, t0 - kSpan, t0 + kSpan, &ok);
    const Plane g = plane(sky, tg);
    if (g.axis >= kEarthAu + g.penumbra) {
        return std::nullopt;
    }
    SolarEclipse e;
    e.quality = ok ? Quality::Sure : Quality::Failed;
    e.greatest = contact(tg);
    e.gamma = g.axis / kEarthAu;
    e.central = g.axis < kEarthAu;
    // The umbra's radius where the axis meets the sphere (or, missing it, at its nearest).
    auto umbraAt = [&](const Plane& p) {
        const double r = p.axis / kEarthAu;
        const double zeta = r < 1 ? kEarthAu * std::sqrt(1 - r * r) : 0.0;
        return p.umbra - zeta * p.tanUmbra;
    };
    const double atGreatest = umbraAt(g);
    if (g.axis >= kEarthAu + std::fabs(g.umbra)) {
        e.kind = SolarKind::Partial;
    } else {
        e.kind = atGreatest < 0 ? SolarKind::Total : SolarKind::Annular;
        if (e.central) {
            // Along the central line: a change of the umbra's sign makes it hybrid.
            for (int dir : {-1, +1}) {
                for (double t = tg; std::fabs(t - tg) < kSpan; t += dir * 2.0 / 1440) {
                    const Plane p = plane(sky, t);
                    if (p.axis >= kEarthAu) {
                        break;
                    }
                    if ((umbraAt(p) < 0) != (atGreatest < 0)) {
                        e.kind = SolarKind::Hybrid;
                    }
                }
                // The central line's end, where the axis grazes the Earth: the umbra's radius
                // there is the plane's.
                auto inside = [&](double t) { return plane(sky, t).axis - kEarthAu; };
                if (const std::optional<double> end = outward(inside, tg, dir, kSpan)) {
                    if ((plane(sky, *end).umbra < 0) != (atGreatest < 0)) {
                        e.kind = SolarKind::Hybrid;
                    }
                }
            }
        }
    }
    const double edge = std::min({std::fabs(g.axis - kEarthAu - g.penumbra),
                                  std::fabs(g.axis - kEarthAu - std::fabs(g.umbra))});
    if (e.quality == Quality::Sure && (edge < 1e-3 * kEarthAu || uncertainYear(tg))) {
        e.quality = Quality::Doubtful;
    }
    if (place) {
        e.local = localSolar(sky, site(*place), tg, &e.quality);
    }
    return e;
}

// The shadow's radii and the Moon's semidiameter, geocentric, radians, and the Moon's distance
// from the shadow's centre.
struct Shadow {
    double separation;
    double umbra;
    double penumbra;
    double moon;
};

Shadow shadow(const Syzygy& sky, double t) {
    Bodies b = sky.at(t);
    double anti[3] = {-b.sun[0], -b.sun[1], -b.sun[2]};
    const double rm = eraPm(b.moon);
    const double rs = eraPm(b.sun);
    const double moonParallax = std::asin(kEarthAu / rm);
    const double sunParallax = std::asin(kEarthAu / rs);
    const double sunRadius = std::asin(kSunAu / rs);
    return {eraSepp(anti, b.moon), kDanjonFactor * moonParallax + sunParallax - sunRadius,
            kDanjonFactor * moonParallax + sunParallax + sunRadius, std::asin(kMoonAu / rm)};
}

std::optional<LunarEclipse> lunarAt(double t0, const std::optional<horizon::Observer>& place) {
    if (separationAt(t0, -1) > 1.7 * ERFA_DD2R) {
        return std::nullopt;
    }
    const Syzygy sky(t0);
    bool ok = false;
    const double tm =
        minimumOf([&](double t) { return shadow(sky, t).separation; }, t0 - kSpan, t0 + kSpan, &ok);
    const Shadow m = shadow(sky, tm);
    LunarEclipse e;
    e.penumbralMagnitude = (m.penumbra + m.moon - m.separation) / (2 * m.moon);
    e.umbralMagnitude = (m.umbra + m.moon - m.separation) / (2 * m.moon);
    if (e.penumbralMagnitude <= 0) {
        return std::nullopt;
    }
    e.kind = e.umbralMagnitude >= 1  ? LunarKind::Total
             : e.umbralMagnitude > 0 ? LunarKind::Partial
                                     : LunarKind::Penumbral;
    e.quality = ok ? Quality::Sure : Quality::Failed;
    const double margin = std::min({std::fabs(e.penumbralMagnitude), std::fabs(e.umbralMagnitude),
                                    std::fabs(e.umbralMagnitude - 1)});
    if (e.quality == Quality::Sure && (margin < 1e-3 || uncertainYear(tm))) {
        e.quality = Quality::Doubtful;
    }
    e.contacts[Greatest] = contact(tm);
    struct Edge {
        int before;
        int after;
        double sign; // +1: the shadow's radius plus the Moon's semidiameter, -1: minus
        bool umbral;
    };
    const Edge edges[] = {{P1, P4, +1, false}, {U1, U4, +1, true}, {U2, U3, -1, true}};
    for (const Edge& edge : edges) {
        auto g = [&](double t) {
            const Shadow s = shadow(sky, t);
            return s.separation - (edge.umbral ? s.umbra : s.penumbra) - edge.sign * s.moon;
        };
        if (g(tm) >= 0) {
            continue;
        }
        const std::optional<double> a = crossing(g, tm - kSpan, tm);
        const std::optional<double> b = crossing(g, tm, tm + kSpan);
        if (!a || !b) {
            e.quality = Quality::Failed;
            continue;
        }
        e.contacts[static_cast<std::size_t>(edge.before)] = contact(*a);
        e.contacts[static_cast<std::size_t>(edge.after)] = contact(*b);
    }
    if (place) {
        const Site s = site(*place);
        for (auto& c : e.contacts) {
            if (c) {
                c->horizontal = moonFor(sky, s, c->jdTT);
            }
        }
    }
    return e;
}

void checkYear(int year) {
    if (year < sky::kFirstYear || year > sky::kLastYear) {
        throw std::out_of_range("eclipses: year " + std::to_string(year) + " outside " +
                                std::to_string(sky::kFirstYear) + ".." +
                                std::to_string(sky::kLastYear));
    }
}

// The eclipses at the phases whose JST day lies within a day of first..last, kept where the
// JST day of the greatest eclipse lies in first..last. Each phase's moment does not depend on
// the span asked for (lunisolar::phasesBetween starts every search from its own mean phase),
// so neither does an eclipse.
template <class At>
auto eclipsesOf(long long first, long long last, lunisolar::Phase phase,
                const std::optional<horizon::Observer>& place, At&& at) {
    checkYear(civilDate(first).year);
    checkYear(civilDate(last).year);
    std::vector<std::decay_t<decltype(*at(0.0, place))>> out;
    for (const lunisolar::PhaseMoment& p :
         lunisolar::phasesBetween(first - 1, last + 1, 1u << static_cast<int>(phase))) {
        if (auto e = at(p.jdTT, place)) {
            out.push_back(std::move(*e));
        }
    }
    // The year of the JST day of the greatest eclipse.
    std::erase_if(out, [&](const auto& e) {
        const long long minute = greatestOf(e).jstMinute;
        const auto day = static_cast<long long>(std::floor(static_cast<double>(minute) / 1440.0));
        return day < first || day > last;
    });
    return out;
}

} // namespace

const Contact& greatestOf(const SolarEclipse& e) {
    return e.greatest;
}
const Contact& greatestOf(const LunarEclipse& e) {
    return *e.contacts[Greatest];
}

const char* solarKindName(SolarKind kind) {
    switch (kind) {
    case SolarKind::Total:
        return "皆既日食";
    case SolarKind::Annular:
        return "金環日食";
    case SolarKind::Hybrid:
        return "金環皆既日食";
    case SolarKind::Partial:
        return "部分日食";
    }
    return "";
}

const char* lunarKindName(LunarKind kind) {
    switch (kind) {
    case LunarKind::Total:
        return "皆既月食";
    case LunarKind::Partial:
        return "部分月食";
    case LunarKind::Penumbral:
        return "半影月食";
    }
    return "";
}

std::vector<SolarEclipse> solarEclipses(int year, const std::optional<horizon::Observer>& place) {
    return solarEclipsesBetween(dayNumber({year, 1, 1}), dayNumber({year, 12, 31}), place);
}

std::vector<LunarEclipse> lunarEclipses(int year, const std::optional<horizon::Observer>& place) {
    return lunarEclipsesBetween(dayNumber({year, 1, 1}), dayNumber({year, 12, 31}), place);
}

std::vector<SolarEclipse> solarEclipsesBetween(long long firstDay, long long lastDay,
                                               const std::optional<horizon::Observer>& place) {
    return eclipsesOf(firstDay, lastDay, lunisolar::Phase::New, place, solarAt);
}

std::vector<LunarEclipse> lunarEclipsesBetween(long long firstDay, long long lastDay,
                                               const std::optional<horizon::Observer>& place) {
    return eclipsesOf(firstDay, lastDay, lunisolar::Phase::Full, place, lunarAt);
}

} // namespace sorvane::eclipse
