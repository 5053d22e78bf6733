// Japan Standard Time, the time of every date, hour and minute the program shows: UTC + 9 h
// all year (Japan keeps no summer time). The offset in each unit the layers count in.
#pragma once

namespace sorvane {

inline constexpr int kJstOffsetHours = 9;
inline constexpr int kJstOffsetMinutes = kJstOffsetHours * 60;
inline constexpr int kJstOffsetSeconds = kJstOffsetHours * 3600;
// 9 / 24 of a day, exactly 0.375.
inline constexpr double kJstOffsetDays = kJstOffsetHours / 24.0;

} // namespace sorvane
