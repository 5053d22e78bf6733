#include "sky/moon_series.h"

#include "calendar/path_text.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <string>

namespace sorvane::sky {

namespace {

constexpr double kArcsecond = std::numbers::pi / 648000.0; // radians
constexpr double kDaysPerCentury = 36525.0;
constexpr double kJ2000 = 2451545.0;
constexpr double kKmPerAu = 149597870.7;

double dms(double d, double m, double s) {
    return (d * 3600.0 + m * 60.0 + s);
}

// The corrections of the fit to DE405 (the note's table 3, arcseconds, per century, per
// century squared) and the additive corrections to the secular terms (table 6).
constexpr double kDW1[5] = {-0.07008, -0.35106, -0.03743, -0.00018865, -0.00001024};
constexpr double kDW2[4] = {0.20794, 0.08017, 0.00470602, -0.00025213};
constexpr double kDW3[4] = {-0.07215, -0.04317, -0.00261070, -0.00010712};
constexpr double kDGamma = 0.00085;
constexpr double kDE = -0.00006;
constexpr double kDT0 = -0.00033;
constexpr double kDT1 = 0.00732;
constexpr double kDPerihelion = -0.00749;
constexpr double kDEccentricity = 0.00224;

// The nominal mean motions of the Moon, its perigee and its node (table 1), "/cy.
constexpr double kNu = 1732559343.73604;
constexpr double kPerigeeMotion = 14643420.3171;
constexpr double kNodeMotion = -6967919.5383;

// m = n'/nu and alpha = a0/a' (section 4.3.1).
constexpr double kM = 0.074801329;
constexpr double kAlpha = 0.002571881;

// The derivatives of the perigee's and the node's mean motions over nu with respect to
// (nu, Gamma, E, e', n') (table 5).
constexpr double kPerigeeB[5] = {0.311079095, -0.004482398, -0.001102485, 0.001056062, 0.000050928};
constexpr double kNodeB[5] = {-0.103837907, 0.000668287, -0.001298072, -0.000178028, -0.000037342};

// The correction of a perigee's or node's mean motion (section 4.3.2), "/cy.
double meanMotionCorrection(double motion, const double (&b)[5]) {
    const double nuRadians = kNu * kArcsecond;
    const double g = b[0] + 2.0 * kAlpha / (3.0 * kM) * b[4];
    return (motion / kNu - kM * g) * kDW1[1] + g * kDT1 +
           nuRadians * (b[1] * kDGamma + b[2] * kDE + b[3] * kDEccentricity);
}

// A polynomial in t of degree four, arcseconds.
struct Polynomial {
    double c[5];
    double at(double t) const { return c[0] + t * (c[1] + t * (c[2] + t * (c[3] + t * c[4]))); }
    double rate(double t) const {
        return c[1] + t * (2.0 * c[2] + t * (3.0 * c[3] + t * 4.0 * c[4]));
    }
};

// The Moon's and the Earth-Moon barycentre's arguments with the DE405 corrections.
struct Arguments {
    Polynomial w1;
    Polynomial w2;
    Polynomial w3;
    Polynomial t;
    Polynomial perihelion;
};

const Arguments& arguments() {
    static const Arguments a = [] {
        Arguments r{};
        r.w1 = {{dms(218, 18, 59.95571) + kDW1[0], kNu + kDW1[1], -6.8084 + kDW1[2],
                 0.006604 + kDW1[3], -0.00003169 + kDW1[4]}};
        r.w2 = {{dms(83, 21, 11.67475) + kDW2[0],
                 kPerigeeMotion + kDW2[1] + meanMotionCorrection(kPerigeeMotion, kPerigeeB),
                 -38.2631 + kDW2[2], -0.045047 + kDW2[3], 0.00021301}};
        r.w3 = {{dms(125, 2, 40.39816) + kDW3[0],
                 kNodeMotion + kDW3[1] + meanMotionCorrection(kNodeMotion, kNodeB),
                 6.3590 + kDW3[2], 0.007625 + kDW3[3], -0.00003586}};
        r.t = {
            {dms(100, 27, 59.13885) + kDT0, 129597742.2930 + kDT1, -0.0202, 0.000009, 0.00000015}};
        r.perihelion = {{dms(102, 56, 14.45766) + kDPerihelion, 1161.24342, 0.529265, -0.00011814,
                         0.000011379}};
        return r;
    }();
    return a;
}

// The planets' mean longitudes, linear (table 2), arcseconds and "/cy.
constexpr double kPlanets[7][2] = {
    {252 * 3600.0 + 15 * 60.0 + 3.216919, 538101628.68888},  // Mercury
    {181 * 3600.0 + 58 * 60.0 + 44.758419, 210664136.45777}, // Venus
    {0, 0},                                                  // the Earth-Moon barycentre: T
    {355 * 3600.0 + 26 * 60.0 + 3.642778, 68905077.65936},   // Mars
    {34 * 3600.0 + 21 * 60.0 + 5.379392, 10925660.57335},    // Jupiter
    {50 * 3600.0 + 4 * 60.0 + 38.902495, 4399609.33632},     // Saturn
    {314 * 3600.0 + 3 * 60.0 + 4.354234, 1542482.57845},     // Uranus
};
constexpr double kNeptune[2] = {304 * 3600.0 + 20 * 60.0 + 56.808371, 786547.89700};

// The precession constant and its correction, "/cy (section 3.1).
constexpr double kPrecession = 5029.0966 - 0.29965;

// The 13 arguments (radians) and their rates (radians per century) at t.
void argumentsAt(double t, double x[kMoonArguments], double rate[kMoonArguments]) {
    const Arguments& a = arguments();
    const double w1 = a.w1.at(t);
    const double w2 = a.w2.at(t);
    const double w3 = a.w3.at(t);
    const double tt = a.t.at(t);
    const double p = a.perihelion.at(t);
    const double w1r = a.w1.rate(t);
    const double tr = a.t.rate(t);
    const double arcsec[kMoonArguments] = {
        w1 - tt + 648000.0, // D
        w1 - w3,            // F
        w1 - w2,            // l
        tt - p,             // l'
        kPlanets[0][0] + kPlanets[0][1] * t,
        kPlanets[1][0] + kPlanets[1][1] * t,
        a.t.c[0] + a.t.c[1] * t,
        kPlanets[3][0] + kPlanets[3][1] * t,
        kPlanets[4][0] + kPlanets[4][1] * t,
        kPlanets[5][0] + kPlanets[5][1] * t,
        kPlanets[6][0] + kPlanets[6][1] * t,
        kNeptune[0] + kNeptune[1] * t,
        w1 + kPrecession * t, // zeta
    };
    const double rates[kMoonArguments] = {
        w1r - tr,
        w1r - a.w3.rate(t),
        w1r - a.w2.rate(t),
        tr - a.perihelion.rate(t),
        kPlanets[0][1],
        kPlanets[1][1],
        tr,
        kPlanets[3][1],
        kPlanets[4][1],
        kPlanets[5][1],
        kPlanets[6][1],
        kNeptune[1],
        w1r + kPrecession,
    };
    for (int j = 0; j < kMoonArguments; ++j) {
        // Reduced to one turn before the radians, so that the sine keeps its digits.
        x[j] = std::fmod(arcsec[j], 1296000.0) * kArcsecond;
        rate[j] = rates[j] * kArcsecond;
    }
}

// The Main Problem's coefficient corrected for the DE405 fit (section 4.3.1).
//   a  the coefficient; b  its six derivatives; distance  whether a distance term
double correctedMainTerm(double a, const double b[6], bool distance) {
    const double delnu = (0.55604 + kDW1[1]) / kNu;
    const double dele = (0.01789 + kDE) * kArcsecond;
    const double delg = (-0.08066 + kDGamma) * kArcsecond;
    const double delnp = (-0.0642 + kDT1) / kNu;
    const double delep = (-0.12879 + kDEccentricity) * kArcsecond;
    const double tgv = b[0] + 2.0 * kAlpha / (3.0 * kM) * b[4];
    double corrected = a + tgv * (delnp - kM * delnu) + b[1] * delg + b[2] * dele + b[3] * delep;
    if (distance) {
        // The semi-major axis follows the mean motion by Kepler's third law.
        corrected -= 2.0 * a * delnu / 3.0;
    }
    return corrected;
}

[[noreturn]] void unreadable(const std::filesystem::path& file, int line, const std::string& why) {
    throw std::runtime_error(pathText(file) + ", line " + std::to_string(line) + ": " + why);
}

// A Fortran number, with D for the exponent.
double fortranNumber(std::string text, const std::filesystem::path& file, int line) {
    std::replace(text.begin(), text.end(), 'D', 'E');
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) {
        unreadable(file, line, "not a number: '" + text + "'");
    }
    return value;
}

int integerField(const std::string& text, const std::filesystem::path& file, int line) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (end == text.c_str() || value < -128 || value > 127) {
        unreadable(file, line, "not a small integer: '" + text + "'");
    }
    return static_cast<int>(value);
}

void readMain(const std::filesystem::path& file, int coordinate, MoonSeries& series) {
    std::ifstream in(file);
    if (!in) {
        unreadable(file, 0, "cannot be read");
    }
    std::string text;
    int line = 1;
    std::getline(in, text);
    while (std::getline(in, text)) {
        ++line;
        if (text.find_first_not_of(" \r") == std::string::npos) {
            continue;
        }
        // 4i3, 2x, f13.5, 6f12.2
        if (text.size() < 12 + 2 + 13 + 6 * 12) {
            unreadable(file, line, "a short record");
        }
        MoonTerm term;
        for (int j = 0; j < 4; ++j) {
            term.multipliers[j] =
                static_cast<std::int8_t>(integerField(text.substr(3 * j, 3), file, line));
        }
        const double a = fortranNumber(text.substr(14, 13), file, line);
        double b[6];
        for (int j = 0; j < 6; ++j) {
            b[j] = fortranNumber(text.substr(27 + 12 * j, 12), file, line);
        }
        const double corrected = correctedMainTerm(a, b, coordinate == 2);
        // Longitude and latitude are sine series, the distance a cosine series.
        (coordinate == 2 ? term.cosine : term.sine) = corrected;
        series.terms[coordinate][0].push_back(term);
    }
}

void readPerturbations(const std::filesystem::path& file, int coordinate, MoonSeries& series) {
    std::ifstream in(file);
    if (!in) {
        unreadable(file, 0, "cannot be read");
    }
    std::string text;
    int line = 0;
    int power = -1;
    while (std::getline(in, text)) {
        ++line;
        if (text.find("PERTURBATIONS") != std::string::npos) {
            // The header of a group: its title, its number of terms and its power of t.
            const auto last = text.find_last_not_of(" \r");
            const auto first = text.find_last_of(' ', last);
            power = integerField(text.substr(first + 1, last - first), file, line);
            if (power < 0 || power > 3) {
                unreadable(file, line, "a power of t beyond 3");
            }
            continue;
        }
        if (text.find_first_not_of(" \r") == std::string::npos) {
            continue;
        }
        if (power < 0) {
            unreadable(file, line, "a term before the first header");
        }
        // 5x, 2d20.13, 13i3
        if (text.size() < 5 + 40 + 13 * 3) {
            unreadable(file, line, "a short record");
        }
        MoonTerm term;
        term.sine = fortranNumber(text.substr(5, 20), file, line);
        term.cosine = fortranNumber(text.substr(25, 20), file, line);
        for (int j = 0; j < kMoonArguments; ++j) {
            term.multipliers[j] =
                static_cast<std::int8_t>(integerField(text.substr(45 + 3 * j, 3), file, line));
        }
        series.terms[coordinate][power].push_back(term);
    }
}

// A series prepared for summing: each term's non-zero multipliers as places in a table of
// the arguments' multiples, its coefficients and the rate of its phase.
// The series regrouped for evaluation: each distinct combination of the arguments once (a
// combination serves terms of several coordinates and powers of t: 2,683 carried terms share
// 1,353), with the terms it carries.
struct Prepared {
    struct Combination {
        std::uint8_t count;
        std::uint8_t argument[kMoonArguments];
        std::int8_t multiplier[kMoonArguments];
        std::uint16_t place[kMoonArguments];
        std::uint32_t firstTerm; // its terms are terms[firstTerm .. next combination's)
    };
    struct Term {
        std::uint8_t group; // coordinate * 4 + power of t
        double sine;
        double cosine;
    };
    // The largest multiple of each argument, and where its multiples start in the table.
    int largest[kMoonArguments]{};
    int start[kMoonArguments]{};
    int tableSize = 0;
    std::vector<Combination> combinations;
    std::vector<Term> terms;
};

std::unique_ptr<Prepared> prepare(const MoonSeries& series) {
    auto p = std::make_unique<Prepared>();
    for (const auto& coordinate : series.terms) {
        for (const auto& group : coordinate) {
            for (const MoonTerm& term : group) {
                for (int j = 0; j < kMoonArguments; ++j) {
                    p->largest[j] = std::max(p->largest[j], std::abs(int{term.multipliers[j]}));
                }
            }
        }
    }
    // Multiples -largest..largest of each argument.
    for (int j = 0; j < kMoonArguments; ++j) {
        p->start[j] = p->tableSize + p->largest[j];
        p->tableSize += 2 * p->largest[j] + 1;
    }
    // The terms of each combination, in the order the combinations first appear.
    using Multipliers = std::array<std::int8_t, kMoonArguments>;
    std::map<Multipliers, std::size_t> index;
    std::vector<Multipliers> order;
    std::vector<std::vector<Prepared::Term>> byCombination;
    for (int c = 0; c < 3; ++c) {
        for (int n = 0; n < 4; ++n) {
            for (const MoonTerm& term : series.terms[c][n]) {
                Multipliers m{};
                std::copy(std::begin(term.multipliers), std::end(term.multipliers), m.begin());
                const auto [it, added] = index.emplace(m, order.size());
                if (added) {
                    order.push_back(m);
                    byCombination.emplace_back();
                }
                byCombination[it->second].push_back(
                    {static_cast<std::uint8_t>(c * 4 + n), term.sine, term.cosine});
            }
        }
    }
    for (std::size_t i = 0; i < order.size(); ++i) {
        Prepared::Combination k{};
        for (int j = 0; j < kMoonArguments; ++j) {
            if (order[i][static_cast<std::size_t>(j)] != 0) {
                k.argument[k.count] = static_cast<std::uint8_t>(j);
                k.multiplier[k.count] = order[i][static_cast<std::size_t>(j)];
                k.place[k.count++] =
                    static_cast<std::uint16_t>(p->start[j] + order[i][static_cast<std::size_t>(j)]);
            }
        }
        k.firstTerm = static_cast<std::uint32_t>(p->terms.size());
        p->combinations.push_back(k);
        p->terms.insert(p->terms.end(), byCombination[i].begin(), byCombination[i].end());
    }
    return p;
}

// The value and the rate (per century) of each coordinate's sum.
struct Sums {
    double value[3]{};
    double rate[3]{};
};

Sums sum(const Prepared& p, double t) {
    double x[kMoonArguments];
    double xRate[kMoonArguments];
    argumentsAt(t, x, xRate);
    // cos and sin of every multiple, by the recurrences of the angle sums.
    thread_local std::vector<double> cosines;
    thread_local std::vector<double> sines;
    cosines.assign(static_cast<std::size_t>(p.tableSize), 0.0);
    sines.assign(static_cast<std::size_t>(p.tableSize), 0.0);
    for (int j = 0; j < kMoonArguments; ++j) {
        const double c1 = std::cos(x[j]);
        const double s1 = std::sin(x[j]);
        const auto zero = static_cast<std::size_t>(p.start[j]);
        cosines[zero] = 1.0;
        sines[zero] = 0.0;
        for (int k = 1; k <= p.largest[j]; ++k) {
            const std::size_t up = zero + static_cast<std::size_t>(k);
            const double c = cosines[up - 1] * c1 - sines[up - 1] * s1;
            const double s = sines[up - 1] * c1 + cosines[up - 1] * s1;
            cosines[up] = c;
            sines[up] = s;
            cosines[zero - static_cast<std::size_t>(k)] = c;
            sines[zero - static_cast<std::size_t>(k)] = -s;
        }
    }
    // Each combination's cos and sin once, then every term that has it, by coordinate and
    // power of t.
    double value[12]{};
    double rate[12]{};
    const std::size_t combinations = p.combinations.size();
    for (std::size_t i = 0; i < combinations; ++i) {
        const Prepared::Combination& k = p.combinations[i];
        double cp = 1.0;
        double sp = 0.0;
        double phaseRate = 0;
        for (int j = 0; j < k.count; ++j) {
            const double cq = cosines[k.place[j]];
            const double sq = sines[k.place[j]];
            const double c2 = cp * cq - sp * sq;
            sp = sp * cq + cp * sq;
            cp = c2;
            phaseRate += k.multiplier[j] * xRate[k.argument[j]];
        }
        const std::size_t end =
            i + 1 < combinations ? p.combinations[i + 1].firstTerm : p.terms.size();
        for (std::size_t n = k.firstTerm; n < end; ++n) {
            const Prepared::Term& term = p.terms[n];
            value[term.group] += term.sine * sp + term.cosine * cp;
            rate[term.group] += (term.sine * cp - term.cosine * sp) * phaseRate;
        }
    }
    Sums out;
    for (int c = 0; c < 3; ++c) {
        double tn = 1.0;
        double tnRate = 0.0; // d(t^n)/dt
        for (int n = 0; n < 4; ++n) {
            out.value[c] += value[c * 4 + n] * tn;
            out.rate[c] += rate[c * 4 + n] * tn + value[c * 4 + n] * tnRate;
            tnRate = tnRate * t + tn;
            tn *= t;
        }
    }
    return out;
}

} // namespace

std::size_t MoonSeries::size() const {
    std::size_t n = 0;
    for (const auto& coordinate : terms) {
        for (const auto& group : coordinate) {
            n += group.size();
        }
    }
    return n;
}

MoonSeries readMoonSeries(const std::filesystem::path& dir) {
    MoonSeries series;
    for (int c = 0; c < 3; ++c) {
        const std::string suffix = ".S" + std::to_string(c + 1);
        readMain(dir / ("ELP_MAIN" + suffix), c, series);
        readPerturbations(dir / ("ELP_PERT" + suffix), c, series);
    }
    return series;
}

MoonSeries truncateMoonSeries(const MoonSeries& full, double arcseconds, double tMax) {
    constexpr double kMeanDistanceKm = 384747.96;
    MoonSeries kept;
    for (int c = 0; c < 3; ++c) {
        const double threshold = c == 2 ? arcseconds * kArcsecond * kMeanDistanceKm : arcseconds;
        for (int n = 0; n < 4; ++n) {
            for (const MoonTerm& term : full.terms[c][n]) {
                if (std::hypot(term.sine, term.cosine) * std::pow(tMax, n) >= threshold) {
                    kept.terms[c][n].push_back(term);
                }
            }
        }
    }
    return kept;
}

namespace {

// The position and velocity on the J2000 ecliptic from a prepared series.
MoonState eclipticJ2000(const Prepared& prepared, double jdTDB) {
    const double t = (jdTDB - kJ2000) / kDaysPerCentury;
    const Sums s = sum(prepared, t);
    const Arguments& a = arguments();

    // Longitude from the departure point on the inertial ecliptic of date, latitude,
    // distance, and their rates per day.
    const double v = s.value[0] * kArcsecond + std::fmod(a.w1.at(t), 1296000.0) * kArcsecond;
    const double u = s.value[1] * kArcsecond;
    constexpr double kDistanceRatio = 384747.961370173 / 384747.980674318;
    const double r = s.value[2] * kDistanceRatio;
    const double vRate = (s.rate[0] + a.w1.rate(t)) * kArcsecond / kDaysPerCentury;
    const double uRate = s.rate[1] * kArcsecond / kDaysPerCentury;
    const double rRate = s.rate[2] * kDistanceRatio / kDaysPerCentury;

    const double cv = std::cos(v);
    const double sv = std::sin(v);
    const double cu = std::cos(u);
    const double su = std::sin(u);
    const double x1 = r * cv * cu;
    const double x2 = r * sv * cu;
    const double x3 = r * su;
    const double v1 = rRate * cv * cu - r * sv * cu * vRate - r * cv * su * uRate;
    const double v2 = rRate * sv * cu + r * cv * cu * vRate - r * sv * su * uRate;
    const double v3 = rRate * su + r * cu * uRate;

    // The inertial mean ecliptic of date to that of J2000 (section 5.1).
    const double pw =
        t * (0.10180391e-4 +
             t * (0.47020439e-6 + t * (-0.5417367e-9 + t * (-0.2507948e-11 + t * 0.463486e-14))));
    const double qw =
        t * (-0.113469002e-3 +
             t * (0.12372674e-6 + t * (0.12654170e-8 + t * (-0.1371808e-11 - t * 0.320334e-14))));
    const double ra = 2.0 * std::sqrt(1.0 - pw * pw - qw * qw);
    const double pwqw = 2.0 * pw * qw;
    const double pw2 = 1.0 - 2.0 * pw * pw;
    const double qw2 = 1.0 - 2.0 * qw * qw;
    const double pr = pw * ra;
    const double qr = qw * ra;
    MoonState m;
    m.position[0] = pw2 * x1 + pwqw * x2 + pr * x3;
    m.position[1] = pwqw * x1 + qw2 * x2 - qr * x3;
    m.position[2] = -pr * x1 + qr * x2 + (pw2 + qw2 - 1.0) * x3;
    m.velocity[0] = pw2 * v1 + pwqw * v2 + pr * v3;
    m.velocity[1] = pwqw * v1 + qw2 * v2 - qr * v3;
    m.velocity[2] = -pr * v1 + qr * v2 + (pw2 + qw2 - 1.0) * v3;
    return m;
}

// The carried series' and the search's, prepared once (read-only after).
const Prepared& carriedPrepared() {
    static const std::unique_ptr<Prepared> p = prepare(carriedMoonSeries());
    return *p;
}

const Prepared& searchPrepared() {
    static const std::unique_ptr<Prepared> p =
        prepare(truncateMoonSeries(carriedMoonSeries(), kSearchSeriesArcsec, 40.0));
    return *p;
}

// The ecliptic of J2000 to ICRS axes.
void toIcrs(const MoonState& m, double pv[2][3]) {
    // The J2000 ecliptic to the equator of DE405's frame (the note's table 7): a turn by
    // epsilon about the node, then by phi along the equator.
    constexpr double kEpsilon = (23 * 3600.0 + 26 * 60.0 + 21.40960) * kArcsecond;
    constexpr double kPhi = -0.05028 * kArcsecond;
    const double ce = std::cos(kEpsilon);
    const double se = std::sin(kEpsilon);
    const double cf = std::cos(kPhi);
    const double sf = std::sin(kPhi);
    const double* from[2] = {m.position, m.velocity};
    for (int i = 0; i < 2; ++i) {
        const double x = from[i][0];
        const double y = from[i][1] * ce - from[i][2] * se;
        const double z = from[i][1] * se + from[i][2] * ce;
        pv[i][0] = (x * cf - y * sf) / kKmPerAu;
        pv[i][1] = (x * sf + y * cf) / kKmPerAu;
        pv[i][2] = z / kKmPerAu;
    }
}

} // namespace

MoonState moonEclipticJ2000(const MoonSeries& series, double jdTDB) {
    // The prepared form of the series last asked for, per thread (the tests and the tools
    // ask for one at a time).
    thread_local const MoonSeries* preparedFor = nullptr;
    thread_local std::unique_ptr<Prepared> prepared;
    if (preparedFor != &series || prepared == nullptr) {
        prepared = prepare(series);
        preparedFor = &series;
    }
    return eclipticJ2000(*prepared, jdTDB);
}

void geocentricMoon(double jdTT, double pv[2][3]) {
    toIcrs(eclipticJ2000(carriedPrepared(), jdTT), pv);
}

void searchGeocentricMoon(double jdTT, double pv[2][3]) {
    toIcrs(eclipticJ2000(searchPrepared(), jdTT), pv);
}

} // namespace sorvane::sky
