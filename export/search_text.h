// The day search's messages in Japanese, as a window or the web page shows them: why a query
// cannot be read, a lunar date that falls on no day, a stretch where a kind is not known.
#pragma once

#include "daysearch/day_search.h"
#include "daysearch/query.h"

#include <string>
#include <string_view>

namespace sorvane::exports {

// Why the query cannot be read: an empty query, a name of two kinds, an unknown name (with
// the nearest known one), or a word that is not written as a word.
std::string queryRefusal(const daysearch::QueryError& error);

// How many days a search found, as the window and the page say it: "該当 4 件" (a bare
// "4日" reads as the fourth of a month).
std::string foundCountText(long long count);

// A lunar date of the query (旧3月30日) that falls on no day of the range.
std::string absentDateNote(const std::string& date);

// A stretch of the range where a kind the query names is not known.
std::string uncoveredNote(const daysearch::Uncovered& uncovered);

// Text from a user quoted in a message: printableText (escaped, cut to limit characters,
// "..." when cut) in 「」, so that a message never grows with its input nor turns around.
std::string quotedInput(std::string_view text, std::size_t limit = 40);

} // namespace sorvane::exports
