#include "sky/delta_t.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace sorvane::sky {

namespace {

// p[0] + p[1] t + p[2] t^2 + ...
template <std::size_t N> double horner(const std::array<double, N>& p, double t) {
    double sum = 0;
    for (std::size_t i = N; i-- > 0;) {
        sum = sum * t + p[i];
    }
    return sum;
}

} // namespace

double longTermDeltaT(double y) {
    const double u = (y - 1820.0) / 100.0;
    return -20.0 + 32.0 * u * u;
}

double espenakMeeusDeltaT(double y) {
    if (y < -500) {
        return longTermDeltaT(y);
    }
    if (y < 500) {
        return horner(std::array{10583.6, -1014.41, 33.78311, -5.952053, -0.1798452, 0.022174192,
                                 0.0090316521},
                      y / 100.0);
    }
    if (y < 1600) {
        return horner(
            std::array{1574.2, -556.01, 71.23472, 0.319781, -0.8503463, -0.005050998, 0.0083572073},
            (y - 1000.0) / 100.0);
    }
    if (y < 1700) {
        return horner(std::array{120.0, -0.9808, -0.01532, 1.0 / 7129.0}, y - 1600.0);
    }
    if (y < 1800) {
        return horner(std::array{8.83, 0.1603, -0.0059285, 0.00013336, -1.0 / 1174000.0},
                      y - 1700.0);
    }
    if (y < 1860) {
        return horner(std::array{13.72, -0.332447, 0.0068612, 0.0041116, -0.00037436, 0.0000121272,
                                 -0.0000001699, 0.000000000875},
                      y - 1800.0);
    }
    if (y < 1900) {
        return horner(
            std::array{7.62, 0.5737, -0.251754, 0.01680668, -0.0004473624, 1.0 / 233174.0},
            y - 1860.0);
    }
    if (y < 1920) {
        return horner(std::array{-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197}, y - 1900.0);
    }
    if (y < 1941) {
        return horner(std::array{21.20, 0.84493, -0.076100, 0.0020936}, y - 1920.0);
    }
    if (y < 1961) {
        return horner(std::array{29.07, 0.407, -1.0 / 233.0, 1.0 / 2547.0}, y - 1950.0);
    }
    if (y < 1986) {
        return horner(std::array{45.45, 1.067, -1.0 / 260.0, -1.0 / 718.0}, y - 1975.0);
    }
    if (y < 2005) {
        return horner(std::array{63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599},
                      y - 2000.0);
    }
    if (y < 2050) {
        return horner(std::array{62.92, 0.32217, 0.005589}, y - 2000.0);
    }
    if (y < 2150) {
        return longTermDeltaT(y) - 0.5628 * (2150.0 - y);
    }
    return longTermDeltaT(y);
}

double deltaTUncertainty(double y) {
    if (y < 1600) {
        const double u = (y - 1820.0) / 100.0;
        return std::max(0.8 * u * u, 20.0);
    }
    if (y < 1960) {
        // Standard errors of the telescope era, linear in between.
        static constexpr std::array<std::pair<double, double>, 8> kSigma{{{1600, 20},
                                                                          {1700, 5},
                                                                          {1750, 2},
                                                                          {1800, 1},
                                                                          {1850, 0.5},
                                                                          {1900, 0.5},
                                                                          {1950, 0.1},
                                                                          {1960, 0}}};
        std::size_t i = 1;
        while (y >= kSigma[i].first) {
            ++i;
        }
        const auto [y0, s0] = kSigma[i - 1];
        const auto [y1, s1] = kSigma[i];
        return s0 + (s1 - s0) * (y - y0) / (y1 - y0);
    }
    if (y <= kLastLeapSecondYear) {
        return 0;
    }
    const double n = y - kLastLeapSecondYear;
    return 0.2 * n + 0.8 * (n / 100.0) * (n / 100.0);
}

double theoryUncertainty(double y) {
    const double t = std::fabs(y - 2000.0) / 1000.0;
    return 0.5 + 18.0 * t * t * t;
}

double decimalYear(double jd) {
    return 2000.0 + (jd - 2451544.5) / 365.2425;
}

double momentUncertainty(double y) {
    return std::hypot(deltaTUncertainty(y), theoryUncertainty(y));
}

} // namespace sorvane::sky
