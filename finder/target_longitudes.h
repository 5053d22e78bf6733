// The Sun's longitudes that mark the events of a month.
#pragma once

namespace sorvane {

// sekkilong: target longitude of month's 節 (kind 0) or 中気 (kind 1), degrees 0..360.
// 15 (2 month + 17 + kind), reduced once: January's 節 (小寒) is 285, March's 中気 (春分) 0.
double sekkilong(int month, int kind);

// dooulong: longitude at which the month's 土用 begins, 12 degrees past its 節; used for
// January (297), April (27), July (117) and October (207).
double dooulong(int month);

} // namespace sorvane
