// The Earth's table the searches step on, against eraEpv00 it was fitted to.
#include "sky/earth_table.h"
#include "sky/erfa_sun.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <erfa.h>
#include <gtest/gtest.h>

namespace sorvane::sky {
namespace {

// 20,000 moments spread over the table's span (a stride prime to the segment length, so
// every part of a segment is visited): heliocentric and barycentric position and velocity.
// The bounds are what the searches' accuracy (0.006 s of time in the Sun's longitude)
// rests on; a segment or a coefficient out of place, or a derivative in the wrong unit, is
// off by orders of magnitude.
TEST(EarthTable, AgreesWithEraEpv00AcrossItsSpan) {
    const double span = kEarthSegments * kEarthSegmentDays;
    const int samples = 20000;
    double position = 0;
    double velocity = 0;
    for (int i = 0; i < samples; ++i) {
        const double jd = kEarthTableFirst + std::fmod(i * 3.7137, span);
        EarthState table;
        ASSERT_TRUE(tabulatedEarth(jd, table)) << jd;
        double pvh[2][3];
        double pvb[2][3];
        eraEpv00(jd, 0.0, pvh, pvb);
        for (int k = 0; k < 3; ++k) {
            position = std::max({position, std::fabs(table.pvh[0][k] - pvh[0][k]),
                                 std::fabs(table.pvb[0][k] - pvb[0][k])});
            velocity = std::max({velocity, std::fabs(table.pvh[1][k] - pvh[1][k]),
                                 std::fabs(table.pvb[1][k] - pvb[1][k])});
        }
    }
    std::printf("verified %d moments, max error %.2g au (%.3f mas), %.2g au/day\n", samples,
                position, position * ERFA_DR2AS * 1000.0, velocity);
    EXPECT_LT(position, 1.5e-9);
    EXPECT_LT(velocity, 1.5e-8);
}

// Outside its span the table gives nothing and the searches fall back on eraEpv00 itself.
TEST(EarthTable, EndsAtItsSpanAndSearchEarthFallsBack) {
    const double end = kEarthTableFirst + kEarthSegments * kEarthSegmentDays;
    EarthState earth{};
    for (const double jd : {kEarthTableFirst - 1e-9, end, end + 1000.0, -1e9}) {
        EXPECT_FALSE(tabulatedEarth(jd, earth)) << jd;
        const EarthState fallback = searchEarth(jd);
        const EarthState full = earthState(jd);
        EXPECT_EQ(fallback.pvh[0][0], full.pvh[0][0]) << jd;
    }
    EXPECT_TRUE(tabulatedEarth(kEarthTableFirst, earth));
    EXPECT_TRUE(tabulatedEarth(end - 1e-6, earth));
}

} // namespace
} // namespace sorvane::sky
