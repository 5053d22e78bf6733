#include "sky/earth_table.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <erfa.h>
#include <mutex>

namespace sorvane::sky {

namespace {

// The value and the derivative (per unit of x) of a Chebyshev series with integer
// coefficients at x in -1..1 (Clenshaw's recurrence).
void chebyshev(const std::int64_t* c, int degree, double x, double& value, double& derivative) {
    double b1 = 0;
    double b2 = 0;
    double d1 = 0;
    double d2 = 0;
    for (int i = degree; i >= 1; --i) {
        const double ci = static_cast<double>(c[i]) * kEarthTableUnit;
        const double b = 2.0 * x * b1 - b2 + ci;
        const double d = 2.0 * x * d1 - d2 + 2.0 * b1;
        b2 = b1;
        b1 = b;
        d2 = d1;
        d1 = d;
    }
    value = x * b1 - b2 + static_cast<double>(c[0]) * kEarthTableUnit;
    derivative = x * d1 - d2 + b1;
}

// The series of a segment: first column and degree of each.
struct Series {
    int column;
    int degree;
};
constexpr Series kSeries[6] = {{0, kEarthDegree},
                               {kEarthDegree + 1, kEarthDegree},
                               {2 * (kEarthDegree + 1), kEarthDegree},
                               {3 * (kEarthDegree + 1), kSunDegree},
                               {3 * (kEarthDegree + 1) + kSunDegree + 1, kSunDegree},
                               {3 * (kEarthDegree + 1) + 2 * (kSunDegree + 1), kSunDegree}};

// What continuity with the previous segment p predicts for c1 (the derivative at x = -1 equal
// to p's at +1; T_i'(1) = i^2, T_i'(-1) = (-1)^(i+1) i^2) and then for c0 (the value at -1
// equal to p's at +1), from the segment's other coefficients c.
std::int64_t predictedC1(const std::int64_t* p, const std::int64_t* c, int degree) {
    std::int64_t end = 0;
    for (int i = 1; i <= degree; ++i) {
        end += static_cast<std::int64_t>(i) * i * p[i];
    }
    std::int64_t rest = 0;
    for (int i = 2; i <= degree; ++i) {
        rest += (i % 2 == 1 ? 1 : -1) * static_cast<std::int64_t>(i) * i * c[i];
    }
    return end - rest;
}

std::int64_t predictedC0(const std::int64_t* p, const std::int64_t* c, int degree) {
    std::int64_t end = 0;
    for (int i = 0; i <= degree; ++i) {
        end += p[i];
    }
    std::int64_t rest = 0;
    for (int i = 1; i <= degree; ++i) {
        rest += (i % 2 == 0 ? 1 : -1) * c[i];
    }
    return end - rest;
}

// The residuals stored for the segment at values + offset (offset > 0): the values with each
// series' c1 and c0 replaced by their differences from the predictions.
void residuals(const std::int64_t* values, std::size_t offset, std::int64_t* out) {
    const std::int64_t* c = values + offset;
    const std::int64_t* p = c - kEarthSegmentValues;
    for (int k = 0; k < kEarthSegmentValues; ++k) {
        out[k] = c[k];
    }
    for (const Series& s : kSeries) {
        out[s.column + 1] = c[s.column + 1] - predictedC1(p + s.column, c + s.column, s.degree);
        out[s.column] = c[s.column] - predictedC0(p + s.column, c + s.column, s.degree);
    }
}

// Whether column k is a series' c0 or c1, which continuity predicts.
bool continuityColumn(int k) {
    for (const Series& series : kSeries) {
        if (k == series.column || k == series.column + 1) {
            return true;
        }
    }
    return false;
}

// The prediction weights as doubles, segment before first: weights[i * kEarthSegmentValues + k]
// for column k and the segment i + 1 before (zero for the c0 and c1 columns).
std::vector<double> weightRows(const std::int64_t* predictor) {
    std::vector<double> rows(kEarthPredictorValues);
    for (int k = 0; k < kEarthSegmentValues; ++k) {
        for (int i = 0; i < kEarthPredictorOrder; ++i) {
            rows[static_cast<std::size_t>(i * kEarthSegmentValues + k)] =
                continuityColumn(k) ? 0.0
                                    : static_cast<double>(predictor[k * kEarthPredictorOrder + i]);
        }
    }
    return rows;
}

// The linear predictions of a segment's coefficients from the same columns of the
// kEarthPredictorOrder segments before it (before[i]: the segment i + 1 back, as doubles), with
// weightRows: per column the products summed in IEEE double precision in one fixed order (no
// contraction, no reassociation: the same doubles, so the same integers, on every machine),
// scaled by 2^-kEarthPredictorShift and rounded to the nearest integer, a half up (nothing
// beyond what 64 bits hold). Each column's sum is a local of its own, and each coefficient is
// made a double once (RowsAsDoubles), not once per prediction: the first unpacking, which runs
// on the browser's baseline code, takes about a third less time.
void predictRow(const double* const* before, const double* weights, std::int64_t* out) {
    constexpr std::size_t n = kEarthSegmentValues;
    constexpr double scale = 1.0 / static_cast<double>(std::int64_t{1} << kEarthPredictorShift);
    for (std::size_t k = 0; k < n; ++k) {
        double sum = 0;
        for (std::size_t i = 0; i < static_cast<std::size_t>(kEarthPredictorOrder); ++i) {
            sum += weights[i * n + k] * before[i][k];
        }
        const double x = sum * scale; // exact: a power of two
        if (!(std::fabs(x) < 0x1p62)) {
            out[k] = 0;
            continue;
        }
        // Half up, by truncation and the exact fraction left (no library call).
        const auto t = static_cast<std::int64_t>(x);
        const double fraction = x - static_cast<double>(t);
        out[k] = t + (fraction >= 0.5 ? 1 : 0) - (fraction < -0.5 ? 1 : 0);
    }
}

// The last kEarthPredictorOrder + 1 segments of a table as the doubles predictRow multiplies,
// segment s at s % kSlots.
class RowsAsDoubles {
  public:
    // Keeps segment s of values.
    void keep(const std::int64_t* values, std::size_t s) {
        double* row = rows_.data() + (s % kSlots) * kEarthSegmentValues;
        for (std::size_t k = 0; k < static_cast<std::size_t>(kEarthSegmentValues); ++k) {
            row[k] = static_cast<double>(values[s * kEarthSegmentValues + k]);
        }
    }
    // The kEarthPredictorOrder segments before segment s, nearest first (all kept).
    std::array<const double*, kEarthPredictorOrder> before(std::size_t s) const {
        std::array<const double*, kEarthPredictorOrder> rows{};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            rows[i] = rows_.data() + ((s - 1 - i) % kSlots) * kEarthSegmentValues;
        }
        return rows;
    }

  private:
    static constexpr std::size_t kSlots = kEarthPredictorOrder + 1;
    std::vector<double> rows_ = std::vector<double>(kSlots * kEarthSegmentValues);
};

// a + b and a - b modulo 2^64, as the packed residuals take them.
std::int64_t wrappedSum(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}
std::int64_t wrappedDifference(std::int64_t a, std::int64_t b) {
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b));
}

// Least-squares weights predicting column k of every segment from kEarthPredictorOrder on
// from the kEarthPredictorOrder before it, in units of 2^-kEarthPredictorShift (the normal
// equations, the column scaled to its largest value, by Gaussian elimination with partial
// pivoting).
std::vector<std::int64_t> fittedWeights(const std::vector<std::int64_t>& values, int k) {
    constexpr int m = kEarthPredictorOrder;
    const std::size_t n = kEarthSegmentValues;
    const std::size_t segments = values.size() / n;
    std::vector<std::int64_t> weights(m, 0);
    double scale = 0;
    for (std::size_t s = 0; s < segments; ++s) {
        scale = std::max(scale, std::fabs(static_cast<double>(values[s * n + k])));
    }
    if (scale == 0 || segments <= static_cast<std::size_t>(m)) {
        return weights;
    }
    const auto x = [&](std::size_t s) { return static_cast<double>(values[s * n + k]) / scale; };
    double a[m][m + 1] = {};
    for (std::size_t s = m; s < segments; ++s) {
        for (int i = 0; i < m; ++i) {
            a[i][m] += x(s) * x(s - 1 - i);
            for (int j = 0; j < m; ++j) {
                a[i][j] += x(s - 1 - i) * x(s - 1 - j);
            }
        }
    }
    // A little ridge on the diagonal: a column of a few sinusoids leaves the equations
    // singular (its values span fewer than kEarthPredictorOrder dimensions), which this
    // resolves without moving a well-posed fit.
    double largest = 0;
    for (int i = 0; i < m; ++i) {
        largest = std::max(largest, a[i][i]);
    }
    for (int i = 0; i < m; ++i) {
        a[i][i] += 1e-11 * largest;
    }
    for (int i = 0; i < m; ++i) {
        int pivot = i;
        for (int r = i + 1; r < m; ++r) {
            if (std::fabs(a[r][i]) > std::fabs(a[pivot][i])) {
                pivot = r;
            }
        }
        if (std::fabs(a[pivot][i]) < 1e-12) {
            return weights;
        }
        std::swap(a[i], a[pivot]);
        for (int r = 0; r < m; ++r) {
            if (r != i) {
                const double f = a[r][i] / a[i][i];
                for (int c = i; c <= m; ++c) {
                    a[r][c] -= f * a[i][c];
                }
            }
        }
    }
    for (int i = 0; i < m; ++i) {
        const double w =
            a[i][m] / a[i][i] * static_cast<double>(std::int64_t{1} << kEarthPredictorShift);
        if (!(std::fabs(w) < 1e15)) {
            return std::vector<std::int64_t>(m, 0);
        }
        weights[i] = std::llround(w);
    }
    return weights;
}

std::uint64_t zigzag(std::int64_t v) {
    return (static_cast<std::uint64_t>(v) << 1) ^ (v < 0 ? ~std::uint64_t{0} : 0);
}

std::int64_t unzigzag(std::uint64_t u) {
    return static_cast<std::int64_t>(u >> 1) ^ -static_cast<std::int64_t>(u & 1);
}

// The residuals' code: per column a Rice parameter r, each zigzagged value u as q = u >> r
// one-bits, a zero-bit and the r low bits of u; a quotient of kEscapeQuotient or more as
// kEscapeQuotient one-bits and u in 64 bits (a value no column of the carried table reaches,
// whose quotients stay under 10). Bits from the lowest of each 32-bit word.
constexpr int kEscapeQuotient = 16;

// The bits value u takes with parameter r.
std::uint64_t codedBits(std::uint64_t u, int r) {
    const std::uint64_t q = u >> r;
    return q < static_cast<std::uint64_t>(kEscapeQuotient) ? q + 1 + static_cast<std::uint64_t>(r)
                                                           : kEscapeQuotient + 64;
}

class BitWriter {
  public:
    explicit BitWriter(std::vector<std::uint32_t>& words) : words_(words) {}
    // The low `count` bits of value (count 0..32).
    void put(std::uint64_t value, int count) {
        if (count == 0) {
            return;
        }
        bits_ |= (value & ((std::uint64_t{1} << count) - 1)) << used_;
        used_ += count;
        if (used_ >= 32) {
            words_.push_back(static_cast<std::uint32_t>(bits_));
            bits_ >>= 32;
            used_ -= 32;
        }
    }
    void finish() {
        if (used_ > 0) {
            words_.push_back(static_cast<std::uint32_t>(bits_));
        }
    }

  private:
    std::vector<std::uint32_t>& words_;
    std::uint64_t bits_ = 0;
    int used_ = 0;
};

class BitReader {
  public:
    BitReader(const std::uint32_t* words, std::size_t count) : words_(words), count_(count) {}
    // The next `count` bits (0..32); false when the words run out first.
    bool take(int count, std::uint64_t& value) {
        if (count == 0) {
            value = 0;
            return true;
        }
        if (have_ < count && !fill(count)) {
            return false;
        }
        value = bits_ & ((std::uint64_t{1} << count) - 1);
        bits_ >>= count;
        have_ -= count;
        return true;
    }
    // The one-bits before the next zero-bit, which is taken too; at most `limit` (under 32;
    // then no zero-bit follows). -1 when the words run out first.
    int ones(int limit) {
        if (have_ <= limit) {
            fill(limit + 1);
        }
        // The bits past have_ are zeros, so a run that reaches them is cut short there.
        const int run = std::min(std::countr_one(bits_), have_);
        if (run >= limit) {
            bits_ >>= limit;
            have_ -= limit;
            return limit;
        }
        if (run == have_) {
            return -1; // no zero-bit before the words end
        }
        bits_ >>= run + 1;
        have_ -= run + 1;
        return run;
    }

  private:
    bool fill(int count) {
        while (have_ <= 32 && next_ < count_) {
            bits_ |= static_cast<std::uint64_t>(words_[next_++]) << have_;
            have_ += 32;
        }
        return have_ >= count;
    }

    const std::uint32_t* words_;
    std::size_t count_;
    std::size_t next_ = 0;
    std::uint64_t bits_ = 0;
    int have_ = 0;
};

#ifdef SORVANE_EARTH_TABLE_FITTED
// The web module: each segment fitted the first time a search reaches it, then kept. Null
// never (the fit always gives its integers).
const std::int64_t* segmentRow(int segment) {
    struct Fitted {
        std::array<std::once_flag, kEarthSegments> once;
        std::vector<std::int64_t> rows = std::vector<std::int64_t>(kEarthTableValues);
    };
    static Fitted fitted;
    const auto s = static_cast<std::size_t>(segment);
    std::int64_t* row = fitted.rows.data() + s * kEarthSegmentValues;
    std::call_once(fitted.once[s], [&] {
        const std::vector<std::int64_t> values = fittedEarthSegment(segment);
        std::copy(values.begin(), values.end(), row);
    });
    return row;
}
#else
// The carried table, unpacked once per process (the first search that needs it); null when
// it does not unpack.
const std::int64_t* segmentRow(int segment) {
    static const std::vector<std::int64_t> table =
        unpackEarthTable(kEarthTableFirstSegments, kEarthTablePredictor, kEarthTableParameters,
                         kEarthTableWords, kEarthTableWordCount, kEarthSegments);
    if (table.empty()) {
        return nullptr;
    }
    return table.data() + static_cast<std::ptrdiff_t>(segment) * kEarthSegmentValues;
}
#endif

// Chebyshev coefficients of one body's position over the segment from `first`, axis after
// axis, from its values at the degree + 1 nodes. which: 0 the Earth's heliocentric
// position, 1 the Sun's barycentric position.
void fitSeries(double first, int degree, int which, std::vector<std::int64_t>& out) {
    const int n = degree + 1;
    std::vector<double> values(static_cast<std::size_t>(3 * n));
    for (int j = 0; j < n; ++j) {
        const double x = std::cos(ERFA_DPI * (j + 0.5) / n);
        double pvh[2][3];
        double pvb[2][3];
        eraEpv00(first + (x + 1.0) * 0.5 * kEarthSegmentDays, 0.0, pvh, pvb);
        for (int axis = 0; axis < 3; ++axis) {
            values[static_cast<std::size_t>(axis * n + j)] =
                which == 0 ? pvh[0][axis] : pvb[0][axis] - pvh[0][axis];
        }
    }
    for (int axis = 0; axis < 3; ++axis) {
        for (int i = 0; i < n; ++i) {
            double sum = 0;
            for (int j = 0; j < n; ++j) {
                sum += values[static_cast<std::size_t>(axis * n + j)] *
                       std::cos(ERFA_DPI * i * (j + 0.5) / n);
            }
            out.push_back(std::llround(sum * (i == 0 ? 1.0 : 2.0) / n / kEarthTableUnit));
        }
    }
}

} // namespace

std::vector<std::int64_t> fittedEarthSegment(int segment) {
    std::vector<std::int64_t> values;
    values.reserve(kEarthSegmentValues);
    const double first = kEarthTableFirst + segment * kEarthSegmentDays;
    fitSeries(first, kEarthDegree, 0, values);
    fitSeries(first, kSunDegree, 1, values);
    return values;
}

PackedEarthTable packEarthTable(const std::vector<std::int64_t>& values) {
    PackedEarthTable packed;
    const std::size_t n = kEarthSegmentValues;
    const std::size_t segments = values.size() / n;
    const std::size_t head = std::min<std::size_t>(segments, kEarthPredictorOrder);
    packed.first.assign(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(head * n));
    packed.predictor.assign(kEarthPredictorValues, 0);
    for (int k = 0; k < kEarthSegmentValues; ++k) {
        if (!continuityColumn(k)) {
            const std::vector<std::int64_t> w = fittedWeights(values, k);
            std::copy(w.begin(), w.end(), packed.predictor.begin() + k * kEarthPredictorOrder);
        }
    }
    const std::vector<double> weights = weightRows(packed.predictor.data());
    std::vector<std::uint64_t> coded;
    coded.reserve(values.size());
    std::vector<std::int64_t> row(n);
    std::vector<std::int64_t> prediction(n);
    RowsAsDoubles recent;
    for (std::size_t s = 0; s < head; ++s) {
        recent.keep(values.data(), s);
    }
    for (std::size_t s = head; s < segments; ++s) {
        residuals(values.data(), s * n, row.data());
        predictRow(recent.before(s).data(), weights.data(), prediction.data());
        recent.keep(values.data(), s);
        for (std::size_t k = 0; k < n; ++k) {
            if (!continuityColumn(static_cast<int>(k))) {
                row[k] = wrappedDifference(row[k], prediction[k]);
            }
        }
        for (std::size_t k = 0; k < n; ++k) {
            coded.push_back(zigzag(row[k]));
        }
    }
    // Each column's parameter: the one that codes it in the fewest bits.
    packed.parameters.assign(n, 0);
    for (std::size_t k = 0; k < n; ++k) {
        std::uint64_t fewest = ~std::uint64_t{0};
        for (int r = 0; r < 64; ++r) {
            std::uint64_t bits = 0;
            for (std::size_t i = k; i < coded.size(); i += n) {
                bits += codedBits(coded[i], r);
            }
            if (bits < fewest) {
                fewest = bits;
                packed.parameters[k] = static_cast<std::uint8_t>(r);
            }
        }
    }
    BitWriter writer(packed.words);
    for (std::size_t i = 0; i < coded.size(); ++i) {
        const std::uint64_t u = coded[i];
        const int r = packed.parameters[i % n];
        const std::uint64_t q = u >> r;
        if (q < static_cast<std::uint64_t>(kEscapeQuotient)) {
            writer.put((std::uint64_t{1} << q) - 1, static_cast<int>(q) + 1);
            writer.put(u, std::min(r, 32));
            if (r > 32) {
                writer.put(u >> 32, r - 32);
            }
        } else {
            writer.put((std::uint64_t{1} << kEscapeQuotient) - 1, kEscapeQuotient);
            writer.put(u, 32);
            writer.put(u >> 32, 32);
        }
    }
    writer.finish();
    return packed;
}

std::vector<std::int64_t> unpackEarthTable(const std::int64_t* first, const std::int64_t* predictor,
                                           const std::uint8_t* parameters,
                                           const std::uint32_t* words, std::size_t wordCount,
                                           int segments) {
    const std::size_t n = kEarthSegmentValues;
    std::vector<std::int64_t> values(static_cast<std::size_t>(segments) * n);
    const std::size_t head = std::min<std::size_t>(segments, kEarthPredictorOrder);
    std::copy(first, first + head * n, values.begin());
    if (std::any_of(parameters, parameters + n, [](std::uint8_t r) { return r > 63; })) {
        return {};
    }
    const std::vector<double> weights = weightRows(predictor);
    std::vector<std::int64_t> prediction(n);
    RowsAsDoubles recent;
    for (std::size_t s = 0; s < head; ++s) {
        recent.keep(values.data(), s);
    }
    BitReader reader(words, wordCount);
    for (std::size_t s = head; s < static_cast<std::size_t>(segments); ++s) {
        std::int64_t* c = values.data() + s * n;
        for (std::size_t k = 0; k < n; ++k) {
            const int r = parameters[k];
            const int q = reader.ones(kEscapeQuotient);
            std::uint64_t low = 0;
            std::uint64_t high = 0;
            if (q < 0) {
                return {};
            }
            if (q < kEscapeQuotient) {
                if (!reader.take(std::min(r, 32), low) || !reader.take(std::max(r - 32, 0), high)) {
                    return {};
                }
                c[k] = unzigzag(static_cast<std::uint64_t>(q) << r | high << 32 | low);
            } else {
                if (!reader.take(32, low) || !reader.take(32, high)) {
                    return {};
                }
                c[k] = unzigzag(high << 32 | low);
            }
        }
        // The residuals back into coefficients: the predicted columns, then c1, which c0's
        // prediction uses.
        predictRow(recent.before(s).data(), weights.data(), prediction.data());
        for (std::size_t k = 0; k < n; ++k) {
            if (!continuityColumn(static_cast<int>(k))) {
                c[k] = wrappedSum(c[k], prediction[k]);
            }
        }
        const std::int64_t* p = c - n;
        for (const Series& series : kSeries) {
            c[series.column + 1] +=
                predictedC1(p + series.column, c + series.column, series.degree);
            c[series.column] += predictedC0(p + series.column, c + series.column, series.degree);
        }
        recent.keep(values.data(), s);
    }
    return values;
}

bool tabulatedEarth(double jdTT, EarthState& earth) {
    if (!inEarthTableSpan(jdTT)) {
        return false;
    }
    const double position = (jdTT - kEarthTableFirst) / kEarthSegmentDays;
    const int segment = static_cast<int>(position);
    const double x = 2.0 * (position - segment) - 1.0;
    const double perDay = 2.0 / kEarthSegmentDays;
    const std::int64_t* row = segmentRow(segment);
    if (row == nullptr) {
        return false;
    }
    const std::int64_t* sun = row + 3 * (kEarthDegree + 1);
    for (int k = 0; k < 3; ++k) {
        double p = 0;
        double v = 0;
        chebyshev(row + k * (kEarthDegree + 1), kEarthDegree, x, p, v);
        double sp = 0;
        double sv = 0;
        chebyshev(sun + k * (kSunDegree + 1), kSunDegree, x, sp, sv);
        earth.pvh[0][k] = p;
        earth.pvh[1][k] = v * perDay;
        earth.pvb[0][k] = p + sp;
        earth.pvb[1][k] = (v + sv) * perDay;
    }
    return true;
}

EarthState searchEarth(double jdTT) {
    EarthState earth;
    if (!tabulatedEarth(jdTT, earth)) {
        earth = earthState(jdTT);
    }
    return earth;
}

} // namespace sorvane::sky
