#include "calendar/julian_day.h"

#include <cmath>
#include <cstdint>

namespace sorvane {

double julianday(int year, int month, double day) {
    int y = year;
    int m = month;
    if (m < 3) {
        y = y - 1;
        m = m + 12;
    }
    const double a = std::floor(365.25 * y) + std::floor(30.59 * (m - 2));
    const double j = (a + day) + 1721086.5;
    // The Gregorian correction is a small whole number (|B| < 100 for 16-bit years).
    const auto b = static_cast<std::int16_t>(std::floor(y / 400.0) - std::floor(y / 100.0) + 2);
    return j + b;
}

double tcentury(double jd) {
    return (jd - 2415020.0) / 36525.0;
}

} // namespace sorvane
