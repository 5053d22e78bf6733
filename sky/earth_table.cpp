#include "sky/earth_table.h"

#include <cstddef>

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

} // namespace

bool tabulatedEarth(double jdTT, EarthState& earth) {
    const double position = (jdTT - kEarthTableFirst) / kEarthSegmentDays;
    if (!(position >= 0.0 && position < kEarthSegments)) {
        return false;
    }
    const int segment = static_cast<int>(position);
    const double x = 2.0 * (position - segment) - 1.0;
    const double perDay = 2.0 / kEarthSegmentDays;
    const std::int64_t* row =
        kEarthTable + static_cast<std::ptrdiff_t>(segment) * kEarthSegmentValues;
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
