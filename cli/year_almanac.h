// The year's events and 雑節 in the form the reports print, from either mode.
#pragma once

#include "almanac/zassetsu.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"

#include <array>
#include <string>
#include <vector>

namespace sorvane::cli {

// One of the 28 events as shown.
struct ShownEvent {
    int month = 0;        // 1..12
    int kind = 0;         // LineKind
    double target = 0;    // the Sun's longitude, degrees
    double momentDay = 0; // the moment before conversion: day of month, theory time or TT
    double momentJd = 0;  // the same moment as a Julian date
    int day = 0;          // shown JST day of month, hour and minute
    int hour = 0;
    int minute = 0;
    std::string line; // the result line
};

struct YearAlmanac {
    int year = 0;
    bool precise = false;
    std::array<ShownEvent, 28> events{}; // the result lines' order
    std::vector<ZassetsuItem> zassetsu;  // time order
};

// The default mode: the 28 events of a finder that holds the calculated year, and the 雑節,
// whose moments 入梅 and 半夏生 the finder finds with its own search (start days 10 June and
// 1 July). The finder's shared variables are overwritten; its lines stay.
YearAlmanac defaultAlmanac(Finder& finder);

// The 28 events of a finder that holds the calculated year, without the 雑節.
YearAlmanac defaultEvents(const Finder& finder);

// The precise mode (IAU model); the year must lie in -1999..3000.
YearAlmanac preciseAlmanac(const Tables& tables, int year);

// A term name without the full-width space that aligns it in the result box ("小　寒" ->
// "小寒").
std::string plainName(const std::string& name);

// The plain name of an event ("立春", "冬の土用入り").
std::string eventName(const Tables& tables, const ShownEvent& event);

// The shown JST date of an event.
CivilDate eventDate(int year, const ShownEvent& event);

} // namespace sorvane::cli
