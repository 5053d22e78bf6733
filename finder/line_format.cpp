#include "finder/line_format.h"

#include <cmath>
#include <cstdio>

namespace sorvane {

std::string resultLine(const Tables& tables, int month, EventKind kind, double dx, double hx,
                       double mx) {
    std::string name;
    switch (kind) {
    case EventKind::Setsu:
        name = tables.solarTermNames[month][0] + "     ";
        break;
    case EventKind::Doyo:
        name = "  " + tables.solarTermNames[0][0] + "     ";
        break;
    case EventKind::Chuki:
        name = tables.solarTermNames[month][1] + "     ";
        break;
    default:
        return "";
    }
    return name + formatTwoDigits(dx) + " 日" + " " + formatTwoDigits(hx) + " 時" + "  " +
           formatTwoDigits(mx) + " 分";
}

} // namespace sorvane
