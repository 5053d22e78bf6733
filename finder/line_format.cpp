#include "finder/line_format.h"

#include "calendar/names.h"

#include <cmath>
#include <cstdio>

namespace sorvane {

std::string resultLine(int month, EventKind kind, double dx, double hx, double mx) {
    std::string name;
    switch (kind) {
    case EventKind::Setsu:
        name = solarTermNames[month][0] + "     ";
        break;
    case EventKind::Doyo:
        name = "  " + solarTermNames[0][0] + "     ";
        break;
    case EventKind::Chuki:
        name = solarTermNames[month][1] + "     ";
        break;
    default:
        return "";
    }
    return name + formatTwoDigits(dx) + " 日" + " " + formatTwoDigits(hx) + " 時" + "  " +
           formatTwoDigits(mx) + " 分";
}

} // namespace sorvane
