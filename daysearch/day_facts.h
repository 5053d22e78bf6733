// What the day search knows of each day: the names a query can ask for, by kind, and which
// kinds are known at all on that day (the lunisolar calendar, the holidays and the notes
// each reach only some years).
#pragma once

#include "almanac/days.h"
#include "calendar/civil_date.h"
#include "daysearch/query.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::lunisolar {
class LunisolarYear;
}

namespace sorvane::daysearch {

// One name a day carries.
struct Fact {
    std::string name; // the name a query matches ("祝日", "一の丑", "旧8月")
    std::string shown; // what a listing shows for it when it differs ("元日", "夏の土用 一の丑")
    const std::string& text() const { return shown.empty() ? name : shown; }
};

struct DayFacts {
    CivilDate date;
    std::string weekday; // 日 .. 土
    std::array<std::vector<Fact>, kKindCount> facts;
    unsigned known = 0; // bit (1 << kind) for each kind known on this day, and kLunarNotes

    bool knows(Kind kind) const { return (known >> static_cast<int>(kind)) & 1U; }
    const std::vector<Fact>& of(Kind kind) const { return facts[static_cast<std::size_t>(kind)]; }
};

// The bit of DayFacts::known for the 選日 that hang on the lunisolar date (不成就日): known
// only where the lunisolar calendar is.
inline constexpr unsigned kLunarNotes = 1U << kKindCount;

// Whether the kind of a term is known on the day; if not, the kind whose reach it lacks (the
// term's own, or 旧暦 for 不成就日 outside the lunisolar calendar's years).
std::optional<Kind> missingKind(const Term& term, const DayFacts& day);

// Whether the day decides the term: as missingKind, except that 休日 is decided on every
// Saturday and Sunday (a 休日 in any year), where the holidays are not known.
std::optional<Kind> undecidedKind(const Term& term, const DayFacts& day);

// The kinds a query names, as a mask of (1 << kind), with kLunarNotes when it names 不成就日.
unsigned kindsNamed(const Query& query);

// The facts of the days first..last of one year (both in it, first <= last) for the kinds
// of the mask (and 不成就日 with kLunarNotes); kinds outside the mask are left unknown. Only what
// the kinds need is computed: the solar terms (the precise mode where it reaches, as the day
// listing takes them) for the terms and 雑節, the lunisolar year for 六曜 and 旧暦, the holidays
// for 休日, the day notes for 選日, 十二直, 二十八宿 and 九星 (left unknown for a year whose Sun's
// dates cannot be found: near the ends of the year range, where the calendar has drifted). In a
// year that has drifted from the seasons the solar terms and 雑節 of the years before and
// after that fall in the days are listed too. Saturdays and Sundays carry 休日 in every year.
// lunarYear: the lunisolar year of the days' year when the caller has it (else it is
// computed where a kind needs it).
std::vector<DayFacts> yearFacts(const almanac::Days& days, const CivilDate& first,
                                const CivilDate& last, unsigned kinds,
                                const lunisolar::LunisolarYear* lunarYear = nullptr);

// Whether the kinds of the mask need the lunisolar year (六曜, 旧暦, and 不成就日:
// kLunarNotes).
bool needsLunisolarYear(unsigned kinds);

// The years in which a kind is known, as a phrase for messages ("1900..2100"); empty for a
// kind known in every year.
std::string kindReach(Kind kind);

} // namespace sorvane::daysearch
