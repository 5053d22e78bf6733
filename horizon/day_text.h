// The texts of a day's rising and setting times, as the terminal program and the calendar
// page show them.
#pragma once

#include "horizon/rise_set.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvane::horizon {

// "HH:MM", or "--:--" when the event does not happen that day.
// The Sun's columns of a polar day, which has no sunrise or sunset because the Sun stays up.
inline constexpr const char* kPolarDayMark = "**:**";
std::string clockText(std::optional<int> minuteOfDay);

// One event's times on a day: clockText of the first, or, on a day with two of its kind (a
// field's list holding more than one), every one in time order joined by separator
// ("00:00,23:31").
std::string clockTimesText(std::optional<int> first, const std::vector<int>& all,
                           const char* separator);

// The Moon's age with one decimal ("1.4").
std::string moonAgeText(double age);

// The terminal program's line: "2025-01-01  06:51  16:38  09:07  19:36  1.4" (date, 日の出,
// 日の入, 月の出, 月の入, 正午月齢), no newline. On a polar day the Sun's two columns are
// "**:**" (up all day), on a polar night "--:--" as for any event that does not happen. A
// column of a day with two of its events holds both, joined by ',': "00:00,23:31".
std::string dayLine(const DayTimes& day);

// The calendar page's lines for a day, each newline-ended:
// "日の出 06:51　日の入 16:38", "月の出 09:07　月の入 19:36" (なし for a missing one),
// "正午月齢 1.4"; on a day without a sunrise and a sunset the first line says 白夜 (the Sun
// up all day) or 極夜 (down all day): "日の出 なし　日の入 なし（白夜）". Two events of one
// kind are joined by '・': "月の出 00:00・23:31".
std::string dayDetailsText(const DayTimes& day);

// The caption naming the place: "日の出入り・月の出入り：東京" for a named place, with the
// coordinates for others ("北緯43.06° 東経141.35°").
std::string placeCaption(const std::string& name, const Observer& observer);

// "北緯35.66° 東経139.74°" (南緯, 西経 for negative values), two decimals.
std::string coordinatesText(const Observer& observer);

} // namespace sorvane::horizon
