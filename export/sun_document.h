// The terminal program's --sun: a year of rising and setting times for one place.
#pragma once

#include "horizon/rise_set.h"

#include <string>
#include <vector>

namespace sorvane::exports {

// The place a listing is for: a name from the places list, or none for coordinates.
struct SunPlace {
    std::string name; // empty for a place given by latitude and longitude
    horizon::Observer observer;
};

// sunNote: for a year whose moments carry more than 30 s of uncertainty (the precise mode's
// TT - UT outside 1900-2100), "注：この年の時刻は±N分ほどずれることがあります", else empty.
std::string sunNote(int year);

// sunReport: one horizon::dayLine per day, then a blank line and sunNote where it applies.
std::string sunReport(int year, const std::vector<horizon::DayTimes>& days);

// sunJson: {"place": {"name", "latitude", "longitude"}, "days": [{"date", "sunrise",
// "sunset", "moonrise", "moonset", "moonAge"}]}: times "HH:MM" or null, the Moon's age at
// 12:00 JST in days with one decimal, and on a day without a sunrise and a sunset "polar":
// "day" (the Sun up all day) or "night"; "name" is null for coordinates. A day with two of
// one event also has its list, every one in time order ("moonrises": ["00:00", "23:31"];
// "sunrises", "sunsets", "moonsets" alike), the single field keeping the first. Where sunNote
// applies the document also has "uncertaintySeconds".
std::string sunJson(int year, const SunPlace& place, const std::vector<horizon::DayTimes>& days);

} // namespace sorvane::exports
