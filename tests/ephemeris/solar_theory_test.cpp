// The steps of the solar theory against hand-worked values, each step on its own.
#include "calendar/julian_day.h"
#include "ephemeris/equation_of_centre.h"
#include "ephemeris/lunar_terms.h"
#include "ephemeris/mean_elements.h"
#include "ephemeris/nutation.h"
#include "ephemeris/planetary_terms.h"
#include "ephemeris/sun_position.h"

#include <cmath>
#include <gtest/gtest.h>

namespace sorvane {
namespace {

Tables tablesWithoutPerturbations() {
    Tables t;
    fillFixedTables(t);
    for (int i = 1; i <= kPlanetTermCount; ++i) {
        t.planetTerms[i].planetCode = 2;
    }
    return t;
}

TEST(MeanElements, AtTheEpochAndOneCenturyEitherSide) {
    SunComponents c;
    computeMeanLongitude(0, c);
    computeMeanAnomaly(0, c);
    computeLongPeriodLongitude(0, c);
    EXPECT_DOUBLE_EQ(c.meanLongitude, 279.696677778);
    EXPECT_DOUBLE_EQ(c.rawSunMeanAnomaly, 358.475833333);
    EXPECT_NEAR(c.longPeriodArcsec, -3.26424, 5e-6);
    EXPECT_NEAR(c.meanAnomalies[3], 358.474927, 5e-7);
    EXPECT_NEAR(c.longPeriodLongitude, -0.000945991, 5e-10);

    computeMeanLongitude(1, c);
    computeMeanAnomaly(1, c);
    computeLongPeriodLongitude(1, c);
    EXPECT_NEAR(c.meanLongitude, 280.465905, 5e-7);
    EXPECT_NEAR(c.rawSunMeanAnomaly, 36357.52543, 5e-6); // stored unreduced
    EXPECT_NEAR(c.longPeriodArcsec, -6.79750, 5e-6);
    EXPECT_NEAR(c.meanAnomalies[3], 357.523542, 5e-7);
    // 0.202" sin(1208.9 deg) = 0.157205" on top of the anomaly step's -6.797503".
    EXPECT_NEAR(c.longPeriodLongitude, -0.00184452707, 5e-12);

    computeMeanLongitude(-1, c);
    computeMeanAnomaly(-1, c);
    EXPECT_NEAR(c.meanLongitude, 278.928055, 5e-7); // negative raw values land in 0..360
    EXPECT_NEAR(c.meanAnomalies[3], 359.424421, 5e-7);
}

TEST(MeanElements, ReductionKeepsEveryAngleInsideTheCircle) {
    EXPECT_DOUBLE_EQ(reduceDegrees(-0.5), 359.5);
    EXPECT_NEAR(reduceDegrees(720.25), 0.25, 1e-12);
    EXPECT_DOUBLE_EQ(reduceDegrees(360), 0);
    EXPECT_NEAR(reduceDegrees(-0.001), 359.999, 1e-9);
    EXPECT_NEAR(reduceDegrees(360.001), 0.001, 1e-9);
}

TEST(EquationOfCentre, PerihelionQuadratureAphelion) {
    struct Case {
        double g, T, centreArcsec, logRadius, tolerance;
    };
    const Case cases[] = {
        {0, 0, 0, -733640, 1e-6},
        {90, 0, 6909.003, 12193, 0.5},
        {180, 0, 0, 721474, 1e-6},
        {270, 0, -6909.003, 12193, 0.5},
        {90, 1, 6891.712, 12193 - 15 - 46, 0.5},
    };
    for (const auto& k : cases) {
        SunComponents c;
        c.meanAnomalies[3] = k.g;
        computeEquationOfCentre(k.T, c);
        EXPECT_NEAR(c.equationOfCentre * 3600, k.centreArcsec, 1e-3) << k.g << " " << k.T;
        EXPECT_NEAR(c.ellipticLogRadius, k.logRadius, k.tolerance) << k.g << " " << k.T;
    }
    SunComponents c;
    c.meanAnomalies[3] = 90;
    computeEquationOfCentre(0, c);
    EXPECT_NEAR(c.equationOfCentre, 1.9191675, 1e-7);
}

// The series are the expansion of an elliptic orbit in its eccentricity: around the whole
// orbit they must agree with the orbit itself, found by solving Kepler's equation, for
// Newcomb's eccentricity 0.01675104 - 0.0000418 T - 0.000000126 T^2 and mean distance
// 1.0000002 au. The series stop at the fourth power of e, so they agree to about 0.01"
// and a few 1e-8 in log10 r.
TEST(EquationOfCentre, FollowsKeplersEquationAroundTheOrbit) {
    for (double T : {-1.0, 0.0, 1.0}) {
        const double e = 0.01675104 - 0.0000418 * T - 0.000000126 * T * T;
        for (int degrees = 0; degrees < 360; degrees += 15) {
            const double M = degrees * kDegToRad;
            double E = M;
            for (int i = 0; i < 20; ++i) {
                E -= (E - e * std::sin(E) - M) / (1 - e * std::cos(E));
            }
            const double trueAnomaly = 2 * std::atan2(std::sqrt(1 + e) * std::sin(E / 2),
                                                      std::sqrt(1 - e) * std::cos(E / 2));
            const double centreArcsec =
                std::remainder(trueAnomaly - M, 2 * std::acos(-1.0)) / kDegToRad * 3600;
            const double logRadius = std::log10(1.0000002 * (1 - e * std::cos(E))) * 1e8;

            SunComponents c;
            c.meanAnomalies[3] = degrees;
            computeEquationOfCentre(T, c);
            EXPECT_NEAR(c.equationOfCentre * 3600, centreArcsec, 0.02) << degrees << " " << T;
            EXPECT_NEAR(c.ellipticLogRadius, logRadius, 5) << degrees << " " << T;
        }
    }
}

TEST(PlanetaryTerms, AnomaliesAndSingleTerms) {
    Tables t = tablesWithoutPerturbations();
    SunComponents c;
    c.meanAnomalies[3] = 123;
    computePlanetaryTerms(2415020.0, t, c);
    EXPECT_EQ(c.planetaryLongitude, 0); // all amplitudes zero
    EXPECT_EQ(c.planetaryLogRadius, 0);
    EXPECT_NEAR(c.meanAnomalies[1], 74982.2888, 5e-4); // unreduced
    EXPECT_NEAR(c.meanAnomalies[6], 895.5963, 5e-4);
    EXPECT_EQ(c.meanAnomalies[3], 123); // left as the mean-anomaly step set it

    // At the planets' epoch Venus's anomaly is its constant; a term whose phase equals it
    // contributes cos 0 * 3600" = one degree.
    t.planetTerms[7] = {2, 1, 0, 3600, 114.5, 0, 0};
    computePlanetaryTerms(2396758.0, t, c);
    EXPECT_EQ(c.meanAnomalies[2], 114.5);
    EXPECT_DOUBLE_EQ(c.planetaryLongitude, 1.0);

    // With no multiples the term is a constant amplitude cos(phase).
    t.planetTerms[7] = {5, 0, 0, 7.2, 60, 10, 180};
    computePlanetaryTerms(2451545.0, t, c);
    EXPECT_NEAR(c.planetaryLongitude * 3600, 3.6, 1e-9);
    EXPECT_NEAR(c.planetaryLogRadius, -10, 1e-9);

    // The sun multiple enters with g: phase - s g.
    t.planetTerms[7] = {4, 0, 2, 3600, 246, 0, 0};
    computePlanetaryTerms(2451545.0, t, c);
    EXPECT_NEAR(c.planetaryLongitude, 1.0, 1e-12);
}

TEST(PlanetaryTerms, HandBuiltCodeOutsideTheTableThrows) {
    Tables t = tablesWithoutPerturbations();
    t.planetTerms[3].planetCode = 7;
    SunComponents c;
    EXPECT_THROW(computePlanetaryTerms(2451545.0, t, c), std::out_of_range);
}

TEST(LunarTerms, FundamentalArgumentsAndPerturbations) {
    const LunarArguments a0 = lunarArguments(0);
    EXPECT_DOUBLE_EQ(a0.D, 350.737486);
    EXPECT_DOUBLE_EQ(a0.l, 296.104608);
    EXPECT_DOUBLE_EQ(a0.F, 11.250889);
    EXPECT_DOUBLE_EQ(a0.Omega, 259.183275);

    const LunarArguments a1 = lunarArguments(1);
    EXPECT_NEAR(a1.D, 445617.85027, 5e-5);
    EXPECT_NEAR(a1.l, 477494.96292, 5e-5);
    EXPECT_NEAR(a1.F, 483213.27283, 5e-5);
    EXPECT_NEAR(a1.Omega, -1674.95665, 5e-5); // negative and unreduced

    SunComponents c;
    computeMeanAnomaly(0, c);
    computeLunarTerms(0, c);
    const double nut = nutation(a0.l, c.rawSunMeanAnomaly, a0.F, a0.D, a0.Omega, 0);
    EXPECT_NEAR((c.lunarLongitude - nut) * 3600, -1.548243, 5e-7);
    EXPECT_NEAR(c.lunarLogRadius, 1283.355, 5e-4);
}

TEST(Nutation, WorkedArgumentsAndBounds) {
    EXPECT_EQ(nutation(0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(nutation(0, 0, 0, 0, 0, 5), 0);
    EXPECT_NEAR(nutation(0, 0, 0, 0, 90, 0) * 3600, -17.2581, 1e-9);
    EXPECT_NEAR(nutation(0, 0, 0, 0, 90, 0), -0.00479392, 5e-9);
    EXPECT_NEAR(nutation(0, 0, 0, 0, 90, 1) * 3600, -17.2755, 1e-9);

    // Large unreduced arguments agree with their reduced forms up to rounding.
    const double l = 477494.96292, lp = 36357.52543, F = 483213.27283, D = 445617.85027;
    const double Om = -1674.95665;
    EXPECT_NEAR(nutation(l, lp, F, D, Om, 1),
                nutation(reduceDegrees(l), reduceDegrees(lp), reduceDegrees(F), reduceDegrees(D),
                         reduceDegrees(Om), 1),
                1e-9);
    for (double x = 0; x < 360; x += 7.3) {
        EXPECT_LE(std::fabs(nutation(x, 2 * x, 3 * x + 1, 5 * x, 360 - x, 1)) * 3600, 19.3772);
    }
}

TEST(SunPosition, EpochWithoutPlanetaryTerms) {
    const Tables t = tablesWithoutPerturbations();
    // 1899-12-31 12:00 is JD 2415020.0, T = 0.
    SunComponents c;
    const SunState s = sunPosition(1899, 12, 31.5, t, c);
    EXPECT_NEAR(s.longitude, 279.647950, 5e-7);
    EXPECT_NEAR(s.radius, 0.983284, 5e-7);
    EXPECT_NEAR(c.equationOfCentre, -0.0521784, 5e-8);
    const LunarArguments a = lunarArguments(0);
    EXPECT_NEAR(nutation(a.l, c.rawSunMeanAnomaly, a.F, a.D, a.Omega, 0) * 3600, 17.3776, 5e-5);

    const SunState again = sunPosition(1899, 12, 31.5, t, c);
    EXPECT_EQ(again.longitude, s.longitude);
    EXPECT_EQ(again.radius, s.radius);
}

} // namespace
} // namespace sorvane
