// The year day by day: the two day cycles, the lunisolar date and 六曜, the national holiday
// and every event of each day, as the terminal program's --days lists them.
#pragma once

#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "lunisolar/lunisolar_year.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvane::almanac {

// One event of a day.
struct DayItem {
    std::string name; // as printed: "春分", "夏の土用入り", "節分", "朔", "旧正月"
    // "term" (節 and 中気), "doyo" (土用 entry), "zassetsu", "phase", "lunisolar"
    std::string kind;
    bool timed = false; // an instant, shown at hour:minute JST
    int hour = 0;
    int minute = 0;
    // The almanac event it comes from (a solar term, 土用 entry or 雑節); absent for the
    // phases and the lunisolar days.
    std::optional<Event> event;
    std::optional<lunisolar::Phase> phase; // a phase of the Moon
};

struct DayEntry {
    CivilDate date;
    std::string weekday;                      // 日 .. 土
    std::string sexagenary;                   // 甲子 .. 癸亥
    std::optional<lunisolar::LunarDay> lunar; // absent outside the lunisolar range
    std::optional<std::string> holiday;       // the national holiday's name
    std::vector<DayItem> items;               // the instants in time order, then the whole days
};

// Every day of the almanac's year (365 or 366). The items come from the almanac's solar
// terms and 雑節 (a 土用 period is left out: its entry stands for it; its 丑の日 are listed)
// and, when the almanac has its lunisolar year, the phases and the lunisolar days
// (旧正月, 伝統的七夕, 十五夜, 十三夜); the holiday column from its holidays (when the almanac
// was made with them).
std::vector<DayEntry> dayListing(const YearAlmanac& almanac);

} // namespace sorvane::almanac
