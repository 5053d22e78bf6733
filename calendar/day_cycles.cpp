#include "calendar/day_cycles.h"

namespace sorvane {

long long floorMod(long long a, long long b) {
    const long long r = a % b;
    return (r != 0 && ((r < 0) != (b < 0))) ? r + b : r;
}

std::int16_t kanshi(double n) {
    const auto r = floorMod(static_cast<long long>(n) - 9, 60);
    return static_cast<std::int16_t>(r == 0 ? 60 : r);
}

int yearSexagenary(int year) {
    return static_cast<int>(floorMod(static_cast<long long>(year) - 4, 60)) + 1;
}

std::int16_t youbi(double n) {
    const auto r = floorMod(static_cast<long long>(n) + 3, 7);
    return static_cast<std::int16_t>(r == 0 ? 7 : r);
}

} // namespace sorvane
