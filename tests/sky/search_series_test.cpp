// What the searches step on outside 1900-2100 and outside the Earth's table, against ERFA's
// full models: the nutation against IAU 2000A (eraNut06a), the Earth against eraEpv00.
#include "sky/erfa_sun.h"
#include "sky/search_series.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>
#include <vector>

namespace sorvane::sky {
namespace {

// 20,000 moments over -1999..3000 (a stride prime to the nutation's periods): the largest
// terms follow eraNut06a within 2 mas, 0.05 s of time in the Sun's longitude, which the
// solver's 0.15 s margin at a minute's edge rests on. IAU 2000B (eraNut00b), with linear
// arguments, drifts from it by more than 0.1" at the span's ends: a series on such
// arguments, a term or a multiplier out of place, or a unit slip fails at once.
TEST(SearchSeries, NutationFollowsIau2000AOverTheWholeSpan) {
    const double from = 990557.5; // -1999 January 1
    const double span = 1826212.5 - from;
    double worst = 0;
    double worstB = 0;
    for (int i = 0; i < 20000; ++i) {
        const double jd = from + std::fmod(i * 91.3127, span);
        double dpsi = 0;
        double deps = 0;
        eraNut06a(jd, 0.0, &dpsi, &deps);
        worst = std::max(worst, std::fabs(seriesNutationInLongitude(jd) - dpsi) * ERFA_DR2AS);
        double dpsiB = 0;
        eraNut00b(jd, 0.0, &dpsiB, &deps);
        worstB = std::max(worstB, std::fabs(dpsiB - dpsi) * ERFA_DR2AS);
    }
    std::printf("verified 20000 moments, max difference %.4f\" (IAU 2000B: %.3f\")\n", worst,
                worstB);
    EXPECT_LT(worst, 0.002);
    EXPECT_GT(worstB, 0.1);
}

// The apparent Sun's longitude from an Earth, radians.
double apparentLongitude(const EarthState& earth, double jd) {
    double apparent[3];
    apparentSunVector(earth, apparent);
    double rm[3][3];
    eclipticRotation(jd, rm);
    return eclipticLongitude(rm, apparent, nullptr, nullptr);
}

// 20,000 moments over -1999..3000: the apparent Sun from seriesEarth's Earth follows
// eraEpv00's within kSeriesEarthArcsec, the bound the searches widen a minute's edge by, and
// the Earth's barycentric velocity (the aberration's) within 3e-7 au/day. A term out of
// place, a frequency's sum taken from the wrong two, a slip in a power of t (the T^1 and T^2
// terms grow to 4000 years) or in the rotation to the BCRS fails by far more. Held
// apart from the bound, the same largest difference must stay above half of it: a bound
// far looser than the series would send needless searches to the full model.
TEST(SearchSeries, EarthFollowsEraEpv00OverTheWholeSpan) {
    const double from = 990557.5; // -1999 January 1
    const double span = 1826212.5 - from;
    double worst = 0;
    double worstVelocity = 0;
    for (int i = 0; i < 20000; ++i) {
        const double jd = from + std::fmod(i * 91.3127, span);
        const EarthState series = seriesEarth(jd);
        const EarthState full = earthState(jd);
        double d = std::remainder(apparentLongitude(series, jd) - apparentLongitude(full, jd),
                                  2 * ERFA_DPI);
        worst = std::max(worst, std::fabs(d) * ERFA_DR2AS);
        for (int k = 0; k < 3; ++k) {
            worstVelocity = std::max(worstVelocity, std::fabs(series.pvb[1][k] - full.pvb[1][k]));
            ASSERT_NEAR(series.pvh[1][k], full.pvh[1][k], 3e-7) << jd;
        }
    }
    std::printf("verified 20000 moments, max difference %.4f\" (%.2f s of time), barycentric "
                "velocity %.1e au/day\n",
                worst, worst / (360.0 * 3600.0 / 365.2422 / 86400.0), worstVelocity);
    EXPECT_LT(worst, kSeriesEarthArcsec);
    EXPECT_GT(worst, kSeriesEarthArcsec / 2);
    EXPECT_LT(worstVelocity, 3e-7);
}

// sineCosine against the C library's sin and cos: the multiples of pi/2 and the quadrants'
// edges, where the reduction chooses its quarter, and 100,000 angles up to the series' largest
// (1.7e6 rad): within 1e-15 while the reduction is exact (|x| < 1.6e6), within 3e-10 (the
// rounding of x itself there) beyond. From 1e5 on the bound is 3e-15: there mingw-w64's own
// sine is off by up to 1.7e-15 (seen at 1.5e6 under wine), where glibc's is within an ulp.
TEST(SearchSeries, SineCosineFollowsTheLibrary) {
    std::vector<double> angles = {0.0, 1e-300, -1e-300, 1e-8, 0.5, -0.5, 1.0, 3.0, 1e3, 1e5, 1.5e6};
    for (int k = -8; k <= 8; ++k) {
        for (const double offset : {-1e-9, -1e-15, 0.0, 1e-15, 1e-9}) {
            angles.push_back(k * ERFA_DPI / 4 + offset);
            angles.push_back(1e6 + k * ERFA_DPI / 4 + offset);
        }
    }
    std::uint64_t seed = 20261209;
    for (int i = 0; i < 100000; ++i) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(seed >> 11) / 9007199254740992.0;
        const double scale = i % 3 == 0 ? 10.0 : (i % 3 == 1 ? 1e4 : 1.7e6);
        angles.push_back((2 * unit - 1) * scale);
    }
    double worst = 0;
    for (const double x : angles) {
        double s = 0;
        double c = 0;
        detail::sineCosine(x, s, c);
        const double tolerance = std::fabs(x) < 1e5 ? 1e-15 : std::fabs(x) < 1.6e6 ? 3e-15 : 3e-10;
        ASSERT_NEAR(s, std::sin(x), tolerance) << x;
        ASSERT_NEAR(c, std::cos(x), tolerance) << x;
        if (std::fabs(x) < 1.6e6) {
            worst = std::max({worst, std::fabs(s - std::sin(x)), std::fabs(c - std::cos(x))});
        }
    }
    std::printf("verified %zu angles, max difference %.1e below 1.6e6\n", angles.size(), worst);
}

} // namespace
} // namespace sorvane::sky
