// The days a search found, as text lines, a JSON document and an iCalendar file.
#pragma once

#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "export/icalendar.h"

#include <ctime>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvane::exports {

// Where a writer of found days puts its text, a piece at a time.
using TextSink = std::function<void(std::string_view)>;

// One tab-separated line per day: ISO date, weekday, then for each positive word of the
// query the names that made it hold ("、" between two of one word); "-" when every word is
// negated.
std::string findReport(const daysearch::SearchResult& result);
// The line of one day, newline-ended.
std::string findReportLine(const daysearch::DayMatch& day);

// One JSON document: "query", "from", "to", "days" (per day: date, weekday, notes),
// "count" and "uncovered" (per stretch: word, kind, from, to, reach: the years its kind is
// known; "weekends": true where the word's 休日 still holds on Saturdays and Sundays).
std::string findJson(const daysearch::Query& query, const CivilDate& from, const CivilDate& to,
                     const daysearch::SearchResult& result);

// The document of findJson written as the days come (the count last, once it is known), so
// that a search of any length holds no day: the constructor writes the head, day() each
// day, finish() the rest.
class FindJsonWriter {
  public:
    FindJsonWriter(const daysearch::Query& query, const CivilDate& from, const CivilDate& to,
                   TextSink out);
    void day(const daysearch::DayMatch& day);
    void finish(const daysearch::SearchResult& result);

  private:
    TextSink out_;
    std::size_t days_ = 0;
};

// The days as all-day events of category 日を探す, titled 候補日： and their notes (候補日：大安),
// in a calendar named by the query in words (大安（三隣亡を除く）の日), with UIDs from the
// query and the date (the same from run to run, so a re-import replaces them), written as the
// days come: nothing until the first day, then the calendar's head with it; finish() ends the
// calendar and returns true, or returns false (having written nothing) when no day came (a
// calendar needs at least one event). day() throws IcsError for a day outside the years
// 1..9999.
class FindCalendarWriter {
  public:
    FindCalendarWriter(const daysearch::Query& query, std::time_t dtstamp, TextSink out);
    void day(const daysearch::DayMatch& day);
    bool finish();

  private:
    std::string words_;
    std::string name_; // the query in words: the calendar's name, and its events' description
    AllDayCalendarPieces pieces_;
    TextSink out_;
    std::size_t days_ = 0;
};

// One line per stretch of the range where a kind the words name is not known: "大安 (六曜,
// known 1900..2100): not known from 2101-01-01 to 2101-12-31, where no day matches through
// it"; the words of one kind and stretch share a line.
std::vector<std::string> uncoveredLines(const daysearch::SearchResult& result);

} // namespace sorvane::exports
