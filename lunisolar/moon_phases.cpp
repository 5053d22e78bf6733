#include "lunisolar/moon_phases.h"

#include "calendar/jst.h"
#include "sky/delta_t.h"
#include "sky/earth_table.h"
#include "sky/erfa_sun.h"
#include "sky/moon_series.h"
#include "sky/search.h"
#include "sky/search_series.h"
#include "sky/time_scales.h"

#include <cmath>
#include <erfa.h>
#include <erfam.h>
#include <string>

namespace sorvane::lunisolar {

namespace {

constexpr double kSynodicMonth = 29.530588861;     // days
constexpr double kMeanNewMoon2000 = 2451550.09766; // 2000 January 6, TT

// The Moon's apparent geocentric vector (au, ICRS axes) and its geocentric velocity.
void apparentMoonVector(const double pv[2][3], const sky::EarthState& earth, double out[3],
                        double velocity[3]) {
    // The light left the Moon at t - tau; the vector from the Earth's barycentric position
    // at t to the Moon's at t - tau is the geocentric one at t - tau less the Earth's own
    // displacement over tau.
    const double tau = eraPm(const_cast<double*>(pv[0])) / sky::kLightSpeedAuPerDay;
    double geo[3];
    for (int k = 0; k < 3; ++k) {
        geo[k] = pv[0][k] - (pv[1][k] + earth.pvb[1][k]) * tau;
        velocity[k] = pv[1][k];
    }
    sky::aberrate(geo, earth, out);
}

double phaseAngle(Phase phase) {
    return 90.0 * static_cast<int>(phase);
}

// The mean phase of lunation number `quarter` / 4 (0 = the new moon of 2000 January 6)
// with the largest periodic terms of Meeus (Astronomical Algorithms, ch. 49): within about
// half an hour of the true moment, so that two Newton steps settle it.
double guessPhase(long long quarter) {
    const double k = static_cast<double>(quarter) / 4.0;
    const double mean = kMeanNewMoon2000 + kSynodicMonth * k;
    const double m = (2.5534 + 29.10535670 * k) * ERFA_DD2R;     // the Sun's mean anomaly
    const double mm = (201.5643 + 385.81693528 * k) * ERFA_DD2R; // the Moon's
    const double f = (160.7108 + 390.67050284 * k) * ERFA_DD2R;  // its argument of latitude
    const long long q = ((quarter % 4) + 4) % 4;
    if (q == 0 || q == 2) {
        const double a = q == 0 ? -0.40720 : -0.40614;
        const double b = q == 0 ? 0.17241 : 0.17302;
        return mean + a * std::sin(mm) + b * std::sin(m) + 0.0161 * std::sin(2 * mm) +
               0.0104 * std::sin(2 * f);
    }
    const double w = 0.00306 - 0.00038 * std::cos(m) + 0.00026 * std::cos(mm);
    return mean - 0.62801 * std::sin(mm) + 0.17172 * std::sin(m) - 0.01183 * std::sin(mm + m) +
           0.00862 * std::sin(2 * mm) + (q == 1 ? w : -w);
}

} // namespace

namespace {

double elongation(double jdTT, const double moonPv[2][3], const sky::EarthState& earth,
                  double* rate) {
    double moon[3];
    double moonVelocity[3];
    apparentMoonVector(moonPv, earth, moon, moonVelocity);
    double sun[3];
    sky::apparentSunVector(earth, sun);
    const double sunVelocity[3] = {-earth.pvh[1][0], -earth.pvh[1][1], -earth.pvh[1][2]};

    double rm[3][3];
    sky::eclipticRotation(jdTT, rm);
    double moonRate = 0;
    double sunRate = 0;
    const double moonLon = sky::eclipticLongitude(rm, moon, moonVelocity, &moonRate);
    const double sunLon = sky::eclipticLongitude(rm, sun, sunVelocity, &sunRate);
    if (rate != nullptr) {
        *rate = (moonRate - sunRate) * ERFA_DR2D;
    }
    return eraAnp(moonLon - sunLon) * ERFA_DR2D;
}

} // namespace

double apparentElongation(double jdTT, double* rate) {
    double pv[2][3];
    sky::geocentricMoon(jdTT, pv);
    return elongation(jdTT, pv, sky::earthState(jdTT), rate);
}

void apparentMoonVector(double jdTT, const sky::EarthState& earth, double out[3]) {
    double pv[2][3];
    sky::geocentricMoon(jdTT, pv);
    double velocity[3];
    apparentMoonVector(pv, earth, out, velocity);
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
    // The Earth from the table over 1898-2102; elsewhere eraEpv00's largest terms
    // (sky::seriesEarth) at the first moment, carried on to the next ones nearby.
    sky::EarthState first;
    double firstJd = jdGuessTT + 1.0;
    bool fromSeries = false; // whether a step took seriesEarth's Earth
    const auto earthAt = [&](double t) {
        sky::EarthState earth;
        if (sky::tabulatedEarth(t, earth)) {
            return earth;
        }
        fromSeries = true;
        if (std::fabs(t - firstJd) > 0.05) {
            first = sky::seriesEarth(t);
            firstJd = t;
        }
        return t == firstJd ? first : sky::advanceEarth(first, t - firstJd);
    };
    // The steps on the Moon's largest terms (within 25" of the carried series, 50 s of a
    // phase), ...
    const auto toGo = [&](double t) {
        double pv[2][3];
        sky::searchGeocentricMoon(t, pv);
        double rate = 0;
        const double angle = elongation(t, pv, earthAt(t), &rate);
        return sky::AngleToGo{sky::wrapDegrees(target - angle), rate};
    };
    // Newton's next step would be below 0.05 step^2 (the elongation's acceleration over
    // twice its rate, per day) plus 1e-4 step (the geometric rather than the apparent rate):
    // under 1e-8 day, 1 ms, once this one is under 1e-4 day.
    const sky::Found found =
        sky::search(toGo, sky::Window{jdGuessTT - 3.0, jdGuessTT + 3.0}, jdGuessTT, 1e-4, 20);
    if (found.status != sky::SearchStatus::Found) {
        throw sky::SearchError(found.status, std::string("the Moon's ") + phaseName(phase) +
                                                 " near JD " + std::to_string(jdGuessTT) +
                                                 " (TT): " + sky::statusText(found.status));
    }
    // ... then one step on the carried series: the shift, under a minute, is linear in its
    // rate to within a millisecond.
    double pv[2][3];
    sky::geocentricMoon(found.jd, pv);
    double rate = 0;
    const double angle = elongation(found.jd, pv, earthAt(found.jd), &rate);
    const double moment = found.jd + sky::wrapDegrees(target - angle) / rate;
    if (!fromSeries) {
        return moment;
    }
    // seriesEarth's Sun lies within kSeriesEarthArcsec of eraEpv00's, its Earth's velocity (in
    // the aberration of both) within 0.0003", the carried Earth within 0.0004": within that
    // much elongation at the rate of a JST half minute, eraEpv00's own Earth decides.
    const double edgeSeconds = (sky::kSeriesEarthArcsec + 0.001) / (rate * 3600.0) * 86400.0;
    const double second = std::fmod(sky::jstFromTT(moment) * 86400.0, 60.0);
    if (std::fabs(second - 30.0) > edgeSeconds) {
        return moment;
    }
    const double fullAngle = elongation(found.jd, pv, sky::earthState(found.jd), &rate);
    return found.jd + sky::wrapDegrees(target - fullAngle) / rate;
}

double phaseUncertainty(double jdTT) {
    const double year = sky::decimalYear(jdTT);
    const double t = (year - 2000.0) / 1000.0;
    const double moonSeconds = 2.0 * (0.2 + 0.55 * t * t);
    return std::hypot(sky::momentUncertainty(year), moonSeconds);
}

long long PhaseMoment::day() const {
    return static_cast<long long>(std::floor(static_cast<double>(jstMinute) / 1440.0));
}

int PhaseMoment::minuteOfDay() const {
    return static_cast<int>(jstMinute - day() * 1440);
}

long long jstMinute(double jdTT) {
    // Day number n begins at Julian date n + 0.5.
    return std::llround((sky::jstFromTT(jdTT) - 0.5) * 1440.0);
}

std::vector<PhaseMoment> phasesBetween(long long firstDay, long long lastDay, unsigned phaseSet) {
    std::vector<PhaseMoment> found;
    if (phaseSet == 0) {
        return found;
    }
    // From the mean phase two quarters before the first day: the true one lies within a day
    // of the mean one, and JST is ahead of TT by nine hours less a minute.
    const double firstJd = static_cast<double>(firstDay) + 0.5 - kJstOffsetDays;
    auto quarter =
        static_cast<long long>(std::floor((firstJd - kMeanNewMoon2000) / kSynodicMonth * 4.0)) - 2;
    for (;; ++quarter) {
        const auto phase = static_cast<Phase>(((quarter % 4) + 4) % 4);
        if ((phaseSet & (1u << static_cast<int>(phase))) == 0) {
            continue;
        }
        PhaseMoment m;
        m.phase = phase;
        m.jdTT = solvePhase(phase, guessPhase(quarter));
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
