// The search of a range of days for those that fit a query, year by year.
#pragma once

#include "calendar/civil_date.h"
#include "daysearch/day_facts.h"
#include "daysearch/query.h"
#include "ephemeris/tables.h"
#include "lunisolar/lunisolar_year.h"

#include <cstddef>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::daysearch {

// A day that fits: its weekday and the names that made each of the query's positive words
// hold, in the query's order.
struct DayMatch {
    CivilDate date;
    std::string weekday;
    std::vector<std::string> notes;
};

// Days of the range on which a kind a word names is not known (the lunisolar calendar
// outside its years, the holidays before the law or after their last year): there the word
// holds only through its other names, and a day matches through the unknown one neither
// way.
struct Uncovered {
    std::string word; // as written
    Kind kind;        // the first kind of the word that is not known
    CivilDate first;
    CivilDate last;
    bool weekends = false; // the word's 休日 still holds there on Saturdays and Sundays
};

struct SearchResult {
    std::size_t count = 0;
    std::vector<DayMatch> days; // empty when only counted or given to SearchHooks::found
    std::vector<Uncovered> uncovered;
    bool stopped = false; // SearchHooks::progress stopped the search: count and days partial
};

// What a caller follows of a long search.
struct SearchHooks {
    // Each day that fits, in date order, as it is found (SearchResult::days then stays
    // empty, so that a search of any length holds none of them).
    std::function<void(DayMatch&&)> found;
    // Called after each year with the years done and the years of the range; returning
    // false stops the search there (a window whose conditions changed).
    std::function<bool(int done, int total)> progress;
};

// Whether the day fits the query: every word holds (a negated word: none of its names is
// the day's). A word holds when one of its names is the day's; when none is and one of them
// is of a kind not known on the day, it is undecided and holds neither way (土|祝日 holds
// on a Saturday of 1900, is undecided on a Monday). Returns the notes of a match, or
// nothing.
std::optional<std::vector<std::string>> matchDay(const Query& query, const DayFacts& day);

// The searcher: computes each year's facts once and keeps the last few years it used, so
// that a window can count again as the conditions change without computing anything.
class DaySearch {
  public:
    // The facts of the days as days gives them (in the observatory's minutes wherever they
    // reach, as the day listing takes them, whatever the days' minutes).
    explicit DaySearch(const almanac::Days& days, std::size_t yearsKept = 3);
    explicit DaySearch(const Tables& tables, std::size_t yearsKept = 3);

    // The days from..to (from <= to) that fit the query, in date order; with listDays false
    // only their count. Years -32768..32767.
    SearchResult search(const Query& query, const CivilDate& from, const CivilDate& to,
                        bool listDays = true);
    // The same with the days given to hooks.found (when set) and hooks.progress asked after
    // each year.
    SearchResult search(const Query& query, const CivilDate& from, const CivilDate& to,
                        const SearchHooks& hooks);

  private:
    struct Year {
        int year = 0;
        unsigned kinds = 0;
        std::vector<DayFacts> days;
    };
    const std::vector<DayFacts>& year(int year, unsigned kinds);

    almanac::Days days_;
    std::size_t yearsKept_;
    std::deque<Year> years_; // the most recently used last
    // The last lunisolar year computed: the next year takes the 中気 and new moons the two
    // share from it instead of searching them again.
    std::optional<lunisolar::LunisolarYear> lunarYear_;
};

// The lunisolar dates (旧N月N日) of the query's positive words that fall on no day from..to
// although the lunisolar calendar covers those days: 旧3月30日 where every 旧3月 of the range
// has 29 days. A caller whose search found nothing says so rather than leave the list empty.
std::vector<std::string> absentLunarDates(DaySearch& search, const Query& query,
                                          const CivilDate& from, const CivilDate& to);

} // namespace sorvane::daysearch
