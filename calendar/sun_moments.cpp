#include "calendar/sun_moments.h"

#include <cmath>

namespace sorvane {

CivilDate jstDateOfMoment(double jdJST) {
    constexpr double kMinutesPerDay = 1440;
    const double minutes = std::round((jdJST - 0.5) * kMinutesPerDay);
    return civilDate(static_cast<long long>(std::floor(minutes / kMinutesPerDay)));
}

} // namespace sorvane
