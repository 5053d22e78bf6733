// The days a search found, as text lines, a JSON document and an iCalendar file.
#pragma once

#include "daysearch/day_search.h"
#include "daysearch/query.h"

#include <ctime>
#include <string>
#include <vector>

namespace sorvane::exports {

// One tab-separated line per day: ISO date, weekday, then for each positive word of the
// query the names that made it hold ("、" between two of one word); "-" when every word is
// negated.
std::string findReport(const daysearch::SearchResult& result);

// One JSON document: "query", "from", "to", "count", "days" (per day: date, weekday,
// notes) and "uncovered" (per stretch: word, kind, from, to, reach: the years its kind is
// known).
std::string findJson(const daysearch::Query& query, const CivilDate& from, const CivilDate& to,
                     const daysearch::SearchResult& result);

// The days as all-day events of category 日を探す, titled by their notes, with UIDs from the
// query and the date (the same from run to run, so a re-import replaces them). Throws
// IcsError for a day outside the years 1..9999.
std::string findCalendar(const daysearch::Query& query, const daysearch::SearchResult& result,
                         std::time_t dtstamp);

// One line per stretch of the range where a kind the words name is not known: "大安 (六曜,
// known 1900..2100): not known from 2101-01-01 to 2101-12-31, where no day matches through
// it"; the words of one kind and stretch share a line.
std::vector<std::string> uncoveredLines(const daysearch::SearchResult& result);

} // namespace sorvane::exports
