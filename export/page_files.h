// The web page's calendar files and 行事 requests, read from the page's fields: the command
// line of the terminal program that writes a file and the file's name, or the page error
// that says which field to change. The page runs the line in a worker and never reads the
// program's own (English) messages: a failed run is told by fileOutcomeJson.
#pragma once

#include "almanac/days.h"
#include "daysearch/query.h"
#include "export/page_error.h"
#include "lifeevents/life_events.h"

#include <string>
#include <string_view>
#include <variant>

namespace sorvane::exports {

// The fields of a 行事 request as the page has them: the kind's name, a date (YYYY-MM-DD or
// ""), a year ("" for none), 男/女 ("" for none) and today (YYYY-MM-DD).
struct LifeFields {
    std::string_view kind, date, year, sex, today;
};

// The request of the fields, or why it cannot be made.
std::variant<lifeevents::Request, PageError> readLifeFields(const LifeFields& fields);

// A calendar file the page offers, from a JSON request {"file": "year" | "notes" | "find" |
// "feed" | "life", and the fields of that kind: "year"; "query", "from", "to" (ISO dates);
// "feed", "from", "to" (years); the LifeFields' names}: {"args": the command line,
// "name": the file's name} or an error document (pageErrorJson) naming the field to change.
std::string pageFileJson(std::string_view request, const daysearch::Vocabulary& vocabulary,
                         const almanac::Days& days);

// How a run of the terminal program for a calendar file went, from its exit status and the
// bytes it wrote: {"ok": true}, or an error document (no day fitted the query, the data not
// read, the request refused, the file not written).
std::string fileOutcomeJson(int status, std::size_t bytes);

} // namespace sorvane::exports
