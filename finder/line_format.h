// The text of one result line.
#pragma once

#include "calendar/civil_date.h" // formatTwoDigits
#include "calendar/solar_terms.h"

#include <string>

namespace sorvane {

// The result line of month's event of the given kind (節, 土用, 中気) at day dx, hour hx,
// minute mx: the name, five spaces, then "DD 日 HH 時  MM 分". 土用 lines start with two
// spaces. Returns "" for any other kind.
std::string resultLine(int month, EventKind kind, double dx, double hx, double mx);

} // namespace sorvane
