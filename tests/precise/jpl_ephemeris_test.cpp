// The Moon and the Earth read from DE405 (casacore's table), against ERFA's own series.
#include "precise/jpl_ephemeris.h"

#include <cmath>
#include <erfa.h>
#include <gtest/gtest.h>

namespace {

using sorvane::precise::de405;
using sorvane::precise::JplEphemeris;

double distance(const double a[3], const double b[3]) {
    return std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
}

// Every 97 days over the table's span: the geocentric Moon within eraMoon98's accuracy of
// it (about 3" rms, 12" at worst; tens of km in distance), the Earth within eraEpv00's (a
// few km; mm/s), and the Moon's velocity the derivative of its position.
TEST(JplEphemeris, AgreesWithErfaOverTheSpan) {
    const JplEphemeris* jpl = de405();
    ASSERT_NE(jpl, nullptr) << "casacore-data-jpl-de405 missing: "
                            << sorvane::precise::de405Table();
    EXPECT_LE(jpl->firstJd(), 2436934.5); // 1960 January 1
    EXPECT_GE(jpl->lastJd(), 2472729.5);  // 2058 January 1
    EXPECT_FALSE(jpl->covers(jpl->firstJd() - 1e-6) || jpl->covers(jpl->lastJd()));
    double worstArcsec = 0;
    for (double jd = jpl->firstJd() + 0.3; jd < jpl->lastJd(); jd += 97.0) {
        constexpr double kStep = 1e-3; // day
        ASSERT_TRUE(jpl->covers(jd) && jpl->covers(jd - kStep) && jpl->covers(jd + kStep));
        double pv[2][3];
        double ref[2][3];
        jpl->moon(jd, pv);
        eraMoon98(jd, 0.0, ref);
        const double arcsec = eraSepp(pv[0], ref[0]) * 206264.806;
        worstArcsec = std::max(worstArcsec, arcsec);
        EXPECT_LT(arcsec, 20.0) << "Moon at JD " << jd;
        EXPECT_LT(std::fabs(eraPm(pv[0]) - eraPm(ref[0])) * 1.495978707e8, 100.0)
            << "Moon's distance (km) at JD " << jd;
        double before[2][3];
        double after[2][3];
        jpl->moon(jd - kStep, before);
        jpl->moon(jd + kStep, after);
        for (int k = 0; k < 3; ++k) {
            EXPECT_NEAR(pv[1][k], (after[0][k] - before[0][k]) / (2 * kStep), 1e-10)
                << "Moon's velocity at JD " << jd;
        }

        const sorvane::precise::EarthState earth = jpl->earth(jd);
        double pvh[2][3];
        double pvb[2][3];
        eraEpv00(jd, 0.0, pvh, pvb);
        EXPECT_LT(distance(earth.pvh[0], pvh[0]), 2e-7) << "heliocentric Earth at JD " << jd;
        EXPECT_LT(distance(earth.pvb[0], pvb[0]), 2e-7) << "barycentric Earth at JD " << jd;
        EXPECT_LT(distance(earth.pvh[1], pvh[1]), 5e-9) << "Earth's velocity at JD " << jd;
    }
    std::printf("DE405 JD %.1f..%.1f; Moon within %.1f\" of eraMoon98\n", jpl->firstJd(),
                jpl->lastJd(), worstArcsec);
}

TEST(JplEphemeris, MissingTableGivesNone) {
    EXPECT_EQ(JplEphemeris::load("/nonexistent/ephemerides/DE405"), nullptr);
    EXPECT_EQ(JplEphemeris::load(SORVANE_PRECISE_TEST_DIR), nullptr); // not a table
}

} // namespace
