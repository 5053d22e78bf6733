#include "calendar/solar_terms.h"

namespace sorvane {

double sekkilong(int month, int kind) {
    double v = 15.0 * (2 * month + 17 + kind);
    if (v >= 360) {
        v = v - 360;
    }
    return v;
}

double dooulong(int month) {
    double v = 15.0 * (2 * month + 17) + 12;
    if (v >= 360) {
        v = v - 360;
    }
    return v;
}

} // namespace sorvane
