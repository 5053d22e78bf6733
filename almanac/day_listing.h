// The year day by day: the two day cycles, the lunisolar date and 六曜, the national holiday
// and every event of each day, as the terminal program's --days lists them.
#pragma once

#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/moon_phases.h"
#include "zassetsu/zassetsu.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::almanac {

// What a day's item is.
enum class DayItemKind {
    Term,      // 節 and 中気
    Doyo,      // 土用 entry
    Zassetsu,  // 雑節
    Phase,     // 朔, 上弦, 望, 下弦
    Lunisolar, // 旧正月, 伝統的七夕, 十五夜, 十三夜
};

// The kind's key in the --days JSON: "term", "doyo", "zassetsu", "phase", "lunisolar".
const char* dayItemKindKey(DayItemKind kind);

// One event of a day.
struct DayItem {
    std::string name; // as printed: "春分", "夏の土用入り", "節分", "朔", "旧正月"
    DayItemKind kind = DayItemKind::Term;
    bool timed = false; // an instant, shown at hour:minute JST
    int hour = 0;
    int minute = 0;
    // The almanac event it comes from (a solar term or 土用 entry), or the 雑節; both absent
    // for the phases and the lunisolar days.
    std::optional<Event> event;
    std::optional<zassetsu::Item> zassetsu;
    // The phase of the Moon it comes from (kind Phase), else absent.
    std::optional<lunisolar::PhaseMoment> phase;
};

struct DayEntry {
    CivilDate date;
    std::string weekday;                      // 日 .. 土
    std::string sexagenary;                   // 甲子 .. 癸亥
    std::optional<lunisolar::LunarDay> lunar; // absent outside the lunisolar range
    bool historicalLunar = false;       // lunar is the historical calendar's (addHistoricalLunar)
    std::optional<std::string> holiday; // the national holiday's name
    std::vector<DayItem> items;         // the instants in time order, then the whole days
};

// Every day of the almanac's year (365 or 366). The items come from the almanac's solar
// terms and 雑節 (a 土用 period is left out: its entry stands for it; its 丑の日 are listed)
// and, when the almanac has its lunisolar year, the phases and the lunisolar days
// (旧正月, 伝統的七夕, 十五夜, 十三夜); the holiday column from its holidays (when the almanac
// was made with them).
std::vector<DayEntry> dayListing(const YearAlmanac& almanac);

// Gives the days up to 1872-12-31 that have no lunisolar date the historical calendar's
// (wareki/: the table of the calendars then in use), with the 六曜 from it, marked
// historicalLunar; the lunisolar days (旧正月 ..) are not added. The days of 1873-1899 and
// before the table keep none. Returns whether a day got one.
bool addHistoricalLunar(std::vector<DayEntry>& days);
// The same for one day; returns whether it got one.
bool addHistoricalLunar(DayEntry& day);

// Puts the almanac's solar terms, 土用 entries, 雑節 (not a 土用 period) and phases on the day
// dayOf gives for their date, where it gives one (null: not a day being listed).
void placeItems(const YearAlmanac& almanac,
                const std::function<DayEntry*(const CivilDate&)>& dayOf);

// Orders a day's items: the instants in time order, then the whole days, each group in the
// order it was placed.
void sortItems(DayEntry& day);

} // namespace sorvane::almanac
