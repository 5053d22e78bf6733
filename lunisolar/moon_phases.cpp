#include "lunisolar/moon_phases.h"

#include "precise/erfa_sun.h"
#include "precise/time_scales.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>

namespace sorvane::lunisolar {

namespace {

constexpr double kCAuPerDay = ERFA_DAYSEC / ERFA_AULT; // speed of light, au/day
constexpr double kSynodicMonth = 29.530588861;         // days
constexpr double kMeanNewMoon2000 = 2451550.09766;     // 2000 January 6, TT

// The Moon's apparent geocentric vector (au, ICRS axes) and its geocentric velocity.
void apparentMoonVector(double jdTT, const erfa::EarthState& earth, double out[3],
                        double velocity[3]) {
    double pv[2][3];
    eraMoon98(jdTT, 0.0, pv);
    // The light left the Moon at t - tau; the vector from the Earth's barycentric position
    // at t to the Moon's at t - tau is the geocentric one at t - tau less the Earth's own
    // displacement over tau.
    const double tau = eraPm(pv[0]) / kCAuPerDay;
    double geo[3];
    for (int k = 0; k < 3; ++k) {
        geo[k] = pv[0][k] - (pv[1][k] + earth.pvb[1][k]) * tau;
        velocity[k] = pv[1][k];
    }
    erfa::aberrate(geo, earth, out);
}

double phaseAngle(Phase phase) {
    return 90.0 * static_cast<int>(phase);
}

} // namespace

double apparentElongation(double jdTT, double* rate) {
    const erfa::EarthState earth = erfa::earthState(jdTT);
    double moon[3];
    double moonVelocity[3];
    apparentMoonVector(jdTT, earth, moon, moonVelocity);
    double sun[3];
    erfa::apparentSunVector(earth, sun);
    const double sunVelocity[3] = {-earth.pvh[1][0], -earth.pvh[1][1], -earth.pvh[1][2]};

    double rm[3][3];
    erfa::eclipticRotation(jdTT, rm);
    double moonRate = 0;
    double sunRate = 0;
    const double moonLon = erfa::eclipticLongitude(rm, moon, moonVelocity, &moonRate);
    const double sunLon = erfa::eclipticLongitude(rm, sun, sunVelocity, &sunRate);
    if (rate != nullptr) {
        *rate = (moonRate - sunRate) * ERFA_DR2D;
    }
    return eraAnp(moonLon - sunLon) * ERFA_DR2D;
}

double apparentMoonLongitude(double jdTT) {
    const erfa::EarthState earth = erfa::earthState(jdTT);
    double moon[3];
    double moonVelocity[3];
    apparentMoonVector(jdTT, earth, moon, moonVelocity);
    double rm[3][3];
    erfa::eclipticRotation(jdTT, rm);
    const double lon =
        erfa::eclipticLongitude(rm, moon, nullptr, nullptr) + erfa::nutationInLongitude(jdTT);
    return eraAnp(lon) * ERFA_DR2D;
}

const char* phaseName(Phase phase) {
    switch (phase) {
    case Phase::New:
        return "朔";
    case Phase::FirstQuarter:
        return "上弦";
    case Phase::Full:
        return "望";
    case Phase::LastQuarter:
        return "下弦";
    }
    return "";
}

double solvePhase(Phase phase, double jdGuessTT) {
    const double target = phaseAngle(phase);
    double jd = jdGuessTT;
    for (int i = 0; i < 20; ++i) {
        double rate = 0;
        const double elongation = apparentElongation(jd, &rate);
        const double step = erfa::wrapDegrees(target - elongation) / rate;
        jd += step;
        // Newton's next step would be below 0.05 step^2 (the elongation's acceleration
        // over twice its rate, per day) plus 1e-4 step (the geometric rather than the
        // apparent rate): under 1e-8 day, 1 ms, once this one is under 1e-4 day.
        if (std::fabs(step) < 1e-4) {
            break;
        }
    }
    return jd;
}

long long PhaseMoment::day() const {
    return static_cast<long long>(std::floor(static_cast<double>(jstMinute) / 1440.0));
}

int PhaseMoment::minuteOfDay() const {
    return static_cast<int>(jstMinute - day() * 1440);
}

long long jstMinute(double jdTT) {
    // Day number n begins at Julian date n + 0.5.
    return std::llround((erfa::jstFromTT(jdTT) - 0.5) * 1440.0);
}

std::vector<PhaseMoment> phasesBetween(long long firstDay, long long lastDay, unsigned phaseSet) {
    std::vector<PhaseMoment> found;
    if (phaseSet == 0) {
        return found;
    }
    // From the mean phase two quarters before the first day: the true one lies within a day
    // of the mean one, and JST is ahead of TT by nine hours less a minute.
    const double firstJd = static_cast<double>(firstDay) + 0.5 - 9.0 / 24.0;
    auto quarter =
        static_cast<long long>(std::floor((firstJd - kMeanNewMoon2000) / kSynodicMonth * 4.0)) - 2;
    for (;; ++quarter) {
        const auto phase = static_cast<Phase>(((quarter % 4) + 4) % 4);
        if ((phaseSet & (1u << static_cast<int>(phase))) == 0) {
            continue;
        }
        const double guess = kMeanNewMoon2000 + static_cast<double>(quarter) * kSynodicMonth / 4.0;
        PhaseMoment m;
        m.phase = phase;
        m.jdTT = solvePhase(phase, guess);
        m.jstMinute = jstMinute(m.jdTT);
        if (m.day() > lastDay) {
            break;
        }
        if (m.day() >= firstDay) {
            found.push_back(m);
        }
    }
    return found;
}

} // namespace sorvane::lunisolar
