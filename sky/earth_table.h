// The Earth from a Chebyshev table of eraEpv00 over 1899-2102: what the searches for the Sun's
// and the Moon's moments step on, about 200 times faster than eraEpv00 itself.
#pragma once

#include "sky/erfa_sun.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace sorvane::sky {

// The table's layout, shared with tools/make_earth_table.cpp, which fits it.
// Segments of kEarthSegmentDays days from kEarthTableFirst (Julian date, TT); in each, per
// axis (ICRS, au), kEarthDegree + 1 Chebyshev coefficients of the Earth's heliocentric
// position, then kSunDegree + 1 of the Sun's barycentric position; each coefficient an integer
// number of kEarthTableUnit au.
//
// Stored compactly (packEarthTable): the first kEarthPredictorOrder segments as they are; in
// every later one, each series' c1 and c0 as the difference from what the previous segment's
// derivative and value at its end predict (a series and its derivative are continuous across
// segments, so these residuals are a few hundred units instead of 10^11), every other
// coefficient as the difference from a linear prediction from the same coefficient of the
// kEarthPredictorOrder segments before (the Earth's year and the Moon's month make each
// coefficient a sum of a few sinusoids from segment to segment: least-squares weights per
// column, in integers of 2^-kEarthPredictorShift, summed in doubles in one fixed order), and
// every value zigzag-coded and Rice-coded with its column's parameter r (u >> r one-bits, a
// zero-bit, the r low bits of u: nearer the residuals' entropy than a fixed width per column),
// bit after bit from the lowest into 32-bit words. unpackEarthTable restores the integers
// exactly.
inline constexpr double kEarthTableFirst = 2414290.5; // 1898 January 1
inline constexpr double kEarthSegmentDays = 32.0;
inline constexpr int kEarthSegments = 2320; // to 2102 April 7
inline constexpr int kEarthDegree = 17;
inline constexpr int kSunDegree = 4;
inline constexpr int kEarthSegmentValues = 3 * (kEarthDegree + 1) + 3 * (kSunDegree + 1);
inline constexpr double kEarthTableUnit = 1e-10;
inline constexpr int kEarthTableValues = kEarthSegments * kEarthSegmentValues;
inline constexpr int kEarthPredictorOrder = 16;
inline constexpr int kEarthPredictorShift = 24;
inline constexpr int kEarthPredictorValues = kEarthSegmentValues * kEarthPredictorOrder;

// The table packed: the first kEarthPredictorOrder segments, each column's prediction weights
// (kEarthPredictorOrder a column, the weight of the segment before first; zero for the c0 and
// c1 columns), each column's Rice parameter for the later segments, the words.
struct PackedEarthTable {
    std::vector<std::int64_t> first;
    std::vector<std::int64_t> predictor;
    std::vector<std::uint8_t> parameters;
    std::vector<std::uint32_t> words;
};

// packEarthTable: values (segment after segment, kEarthSegmentValues each, at least
// kEarthPredictorOrder segments) packed as described above. unpackEarthTable: the values
// back, `segments` segments from first (kEarthPredictorValues), predictor
// (kEarthPredictorValues), parameters (kEarthSegmentValues) and words; empty when the words run
// out before the last value or a parameter exceeds 63.
PackedEarthTable packEarthTable(const std::vector<std::int64_t>& values);
std::vector<std::int64_t> unpackEarthTable(const std::int64_t* first, const std::int64_t* predictor,
                                           const std::uint8_t* parameters,
                                           const std::uint32_t* words, std::size_t wordCount,
                                           int segments);

// fittedEarthSegment: segment `segment` (0 .. kEarthSegments - 1) of the table, fitted to
// eraEpv00: per axis the Earth's heliocentric position at the kEarthDegree + 1 Chebyshev
// nodes of the segment and the Sun's barycentric position at kSunDegree + 1, turned into
// Chebyshev coefficients (the discrete cosine transform of the interpolant) and rounded to
// kEarthTableUnit; kEarthSegmentValues integers in the table's order. What
// tools/make_earth_table.cpp packs into sky/earth_table_data.cpp, and what the web module
// computes in place of unpacking it, the first time a search reaches the segment (23 calls
// of eraEpv00, about a millisecond there; the same integers to the bit, tested).
std::vector<std::int64_t> fittedEarthSegment(int segment);

// The carried table, packed (sky/earth_table_data.cpp).
extern const std::int64_t kEarthTableFirstSegments[kEarthPredictorValues];
extern const std::int64_t kEarthTablePredictor[kEarthPredictorValues];
extern const std::uint8_t kEarthTableParameters[kEarthSegmentValues];
extern const std::uint32_t kEarthTableWords[];
extern const std::size_t kEarthTableWordCount;

// tabulatedEarth: the Earth at a moment from the table.
//   jdTT   Julian date, Terrestrial Time
//   earth  set to the heliocentric and barycentric position (au) and velocity (au/day),
//          ICRS axes, when jdTT lies in the table's span
// Returns false, leaving earth as it was, outside kEarthTableFirst and its end.
// Method: Clenshaw's recurrence for the positions and their derivatives; the barycentric
// state is the heliocentric one plus the Sun's. The coefficients are the carried table's,
// unpacked once per process, or in the web module each segment's fittedEarthSegment, made
// once per module on first use (the same integers: the module carries no table). Accuracy
// against eraEpv00 (tested on 20,000 moments): 1.3e-9 au (0.28 mas seen from the Earth,
// 0.007 s in the Sun's longitude) in position, 1.2e-8 au/day in velocity (0.00006" of
// aberration). 0.2 microseconds.
bool tabulatedEarth(double jdTT, EarthState& earth);

// inEarthTableSpan: whether jdTT lies in the table's span (where tabulatedEarth answers).
inline bool inEarthTableSpan(double jdTT) {
    const double position = (jdTT - kEarthTableFirst) / kEarthSegmentDays;
    return position >= 0.0 && position < kEarthSegments;
}

// searchEarth: the Earth for a search step: tabulatedEarth in the table's span, eraEpv00
// (earthState) outside it.
EarthState searchEarth(double jdTT);

} // namespace sorvane::sky
