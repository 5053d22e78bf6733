// The Earth's table the searches step on, against eraEpv00 it was fitted to.
#include "sky/earth_table.h"
#include "sky/erfa_sun.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <erfa.h>
#include <gtest/gtest.h>
#include <vector>

namespace sorvane::sky {
namespace {

// 20,000 moments spread over the table's span (a stride prime to the segment length, so
// every part of a segment is visited): heliocentric and barycentric position and velocity.
// The bounds are what the searches' accuracy (0.007 s of time in the Sun's longitude)
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

// The packed table unpacks to the integers tools/make_earth_table.cpp fitted before packing
// them (160,080 coefficients, 64-bit each: their count, sum and FNV-1a hash of their
// little-endian bytes, computed from the tool's unpacked integers, written out for the
// purpose, by a separate Python script), so every moment the searches find is what it was
// to the bit.
TEST(EarthTable, UnpacksToTheFittedIntegers) {
    const std::vector<std::int64_t> table =
        unpackEarthTable(kEarthTableFirstSegments, kEarthTablePredictor, kEarthTableParameters,
                         kEarthTableWords, kEarthTableWordCount, kEarthSegments);
    ASSERT_EQ(table.size(), 160080u);
    std::int64_t sum = 0;
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::int64_t value : table) {
        sum += value;
        const auto bits = static_cast<std::uint64_t>(value);
        for (int b = 0; b < 8; ++b) {
            hash = (hash ^ ((bits >> (8 * b)) & 0xff)) * 0x100000001b3u;
        }
    }
    EXPECT_EQ(sum, -616692130547);
    EXPECT_EQ(hash, 0x97be74987a046e29u);
    EXPECT_EQ(table.front(), -4583861623);
    EXPECT_EQ(table[69 * 1000 + 5], -35298);
    EXPECT_EQ(table.back(), 4);
}

// The fit of each segment, which the web module makes in place of carrying the table, gives
// the carried table's integers in every one of the 2,320 segments, on the machine the suite
// runs on (natively and in WebAssembly under node): a moment found there is the native
// program's to the bit. A node or a rounding of another libm shifts coefficients by a unit
// or more somewhere.
TEST(EarthTable, EverySegmentFitsToTheCarriedIntegers) {
    const std::vector<std::int64_t> table =
        unpackEarthTable(kEarthTableFirstSegments, kEarthTablePredictor, kEarthTableParameters,
                         kEarthTableWords, kEarthTableWordCount, kEarthSegments);
    ASSERT_EQ(table.size(), static_cast<std::size_t>(kEarthTableValues));
    int differing = 0;
    for (int s = 0; s < kEarthSegments; ++s) {
        const std::vector<std::int64_t> fitted = fittedEarthSegment(s);
        ASSERT_EQ(fitted.size(), static_cast<std::size_t>(kEarthSegmentValues));
        const auto row = table.begin() + static_cast<std::ptrdiff_t>(s) * kEarthSegmentValues;
        if (!std::equal(fitted.begin(), fitted.end(), row)) {
            ADD_FAILURE() << "segment " << s << " fits to other integers";
            if (++differing == 5) {
                break;
            }
        }
    }
    std::printf("verified %d segments, %d fitted otherwise\n", kEarthSegments, differing);
}

// Packing round-trips integers of any size the coefficients can take (up to 2^53 here),
// series that are neither continuous nor predictable, sinusoids the prediction takes almost
// whole, a column that is zero throughout (no bits), and tables shorter than the prediction's
// reach; words cut short give nothing rather than a table read past its end.
TEST(EarthTable, PackingRoundTripsAnyIntegers) {
    for (const int segments : {1, 5, kEarthPredictorOrder, 40}) {
        SCOPED_TRACE(segments);
        std::vector<std::int64_t> values(static_cast<std::size_t>(segments * kEarthSegmentValues));
        std::uint64_t state = 12345;
        for (std::size_t i = 0; i < values.size(); ++i) {
            state = state * 6364136223846793005u + 1442695040888963407u;
            const int k = static_cast<int>(i % kEarthSegmentValues);
            const auto s = static_cast<double>(i / kEarthSegmentValues);
            const int shift = 24 + (k % 5) * 8;
            values[i] = k == 7 ? 0
                        : k < 30
                            ? static_cast<std::int64_t>(state) >> shift
                            : std::llround(1e9 * std::sin(0.55 * s + k) + 3e7 * std::cos(2.9 * s)) +
                                  static_cast<std::int64_t>(state >> 60);
        }
        if (segments > 3) {
            values[kEarthSegmentValues + 2] = INT64_MAX / 1024;
            values[2 * kEarthSegmentValues + 3] = INT64_MIN / 1024;
        }
        const PackedEarthTable packed = packEarthTable(values);
        EXPECT_EQ(unpackEarthTable(packed.first.data(), packed.predictor.data(),
                                   packed.parameters.data(), packed.words.data(),
                                   packed.words.size(), segments),
                  values);
        if (segments > kEarthPredictorOrder) {
            EXPECT_EQ(packed.parameters[7], 0);
            // The sinusoids leave residuals of a few units, not the 31 bits of their values.
            EXPECT_LT(packed.parameters[40], 12);
            EXPECT_TRUE(unpackEarthTable(packed.first.data(), packed.predictor.data(),
                                         packed.parameters.data(), packed.words.data(),
                                         packed.words.size() - 1, segments)
                            .empty());
            std::vector<std::uint8_t> wrong = packed.parameters;
            wrong[3] = 64;
            EXPECT_TRUE(unpackEarthTable(packed.first.data(), packed.predictor.data(), wrong.data(),
                                         packed.words.data(), packed.words.size(), segments)
                            .empty());
        }
    }
}

} // namespace
} // namespace sorvane::sky
