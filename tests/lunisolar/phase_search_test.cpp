// The phase search outside the Earth's table, where it steps on eraEpv00's largest terms
// (sky::seriesEarth): every minute it gives is the full models' (the carried lunar series and
// eraEpv00 at the moment itself, apparentElongation).
#include "calendar/julian_day.h"
#include "lunisolar/moon_phases.h"
#include "sky/time_scales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <gtest/gtest.h>

namespace {

using namespace sorvane;
using namespace sorvane::lunisolar;

// The moment the full models put the elongation at the phase's angle, by Newton's steps on
// apparentElongation from a moment within a minute of it: to a microsecond.
double fullModelPhase(Phase phase, double jd) {
    for (int i = 0; i < 3; ++i) {
        double rate = 0;
        const double angle = apparentElongation(jd, &rate);
        jd += std::remainder(90.0 * static_cast<int>(phase) - angle, 360.0) / rate;
    }
    return jd;
}

// Every phase of years spread over 1000-1897 and 2103-3000: the JST minute equals the full
// models', the moment within 0.1 s of theirs (seriesEarth's Sun is within 0.0071", 0.015 s of
// the elongation; the carried Earth within 0.0004"). Phases the full models put within
// 0.05 s of a minute's edge, where the search must have taken eraEpv00's own Earth, are
// counted.
TEST(PhaseSearch, MinutesOutsideTheTableAreTheFullModels) {
    struct Span {
        int first;
        int last;
        int step;
    };
    const Span spans[] = {{1000, 1897, 37}, {2103, 3000, 37}};
    int cases = 0;
    int nearEdge = 0;
    double worstSeconds = 0;
    for (const Span& span : spans) {
        for (int year = span.first; year <= span.last; year += span.step) {
            const auto first = static_cast<long long>(std::floor(julianday(year, 1, 1)));
            for (const PhaseMoment& p : phasesBetween(first, first + 180)) {
                const double full = fullModelPhase(p.phase, p.jdTT);
                const double seconds = std::fabs(p.jdTT - full) * 86400.0;
                worstSeconds = std::max(worstSeconds, seconds);
                const double jst = (sorvane::sky::jstFromTT(full) - 0.5) * 1440.0;
                nearEdge += std::fabs(jst - std::floor(jst) - 0.5) * 60.0 < 0.05 ? 1 : 0;
                EXPECT_EQ(p.jstMinute, jstMinute(full))
                    << year << " " << phaseName(p.phase) << " JD " << full << ": "
                    << (p.jdTT - full) * 86400.0 << " s from the full models";
                EXPECT_LT(seconds, 0.1) << year << " " << phaseName(p.phase);
                ++cases;
            }
        }
    }
    std::printf("verified %d cases, max error %.3f s from the full models, %d within 0.05 s of "
                "a minute's edge\n",
                cases, worstSeconds, nearEdge);
    EXPECT_GE(cases, 1000);
}

} // namespace
