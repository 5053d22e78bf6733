#include "ephemeris/tables.h"

namespace sorvane {

void fillFixedTables(Tables& tables) {
    constexpr std::int16_t column1[12] = {5, 4, 6, 4, 5, 5, 7, 7, 7, 8, 7, 7};
    constexpr std::int16_t column2[12] = {20, 18, 20, 20, 21, 21, 23, 23, 23, 23, 21, 21};
    for (int m = 1; m <= 12; ++m) {
        tables.termApproxDays[m] = {0, column1[m - 1], column2[m - 1]};
    }

    tables.doyoApproxDays = {};
    tables.doyoApproxDays[1] = 16;
    tables.doyoApproxDays[4] = 16;
    tables.doyoApproxDays[7] = 19;
    tables.doyoApproxDays[10] = 20;
}

} // namespace sorvane
