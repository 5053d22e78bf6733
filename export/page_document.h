// The calendar page as JSON, for the web edition: a month's page (almanac::MonthPage with
// each cell's 暦注 lines and grid slot) and a day's details, the same texts the desktop's
// calendar page draws.
#pragma once

#include "almanac/month_page.h"
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "ephemeris/tables.h"
#include "export/page_error.h"
#include "horizon/places.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

namespace sorvane::exports {

// The page of year-month: era, year 干支, mode line, limit notes, the small months and the
// cells (date, weekday with its name, 干支, holiday, lunisolar text, 六曜, marks, phase with
// its minute, the 土用/彼岸 band, the 暦注 lines, the grid slot); "lunarNote" says where the
// month's lunisolar numbering is a choice (empty elsewhere).
std::string monthPageJson(almanac::CalendarYears& years, int year, int month);

// Everything known about one day: the details lines, the eclipse of the day with the place's
// contacts ("eclipses": almanac::CalendarYears::eclipseDetails), the 暦注 lines with their
// meanings, the rising and setting times at place and "lunarNote" (as the month's, for the
// day).
std::string dayPageJson(almanac::CalendarYears& years, const CivilDate& date,
                        const horizon::NamedPlace& place);

// The longest texts the page hands the core: a query of the day search (characters) and the
// name of a place (bytes). Anything longer is refused with a message before it is read.
inline constexpr std::size_t kMaxQueryCharacters = 1000;
inline constexpr std::size_t kMaxPlaceNameBytes = 256;
// The most days a search document lists; "count" has them all.
inline constexpr std::size_t kPageDaysListed = 1000;

// The year view: the document of yearJson (the 28 events with their lines, the 雑節 and,
// where the law reaches, the holidays) in the precise mode wherever it reaches and the solar
// theory's elsewhere, with a "heading" naming the year and the mode, and the year's eclipses
// for place ("eclipses": each {"date", "dateText", "name", "lines"}, the lines of
// almanac::eclipseLines; none outside almanac::eclipsesCovered) under "eclipseHeading", and
// "eclipseNote" where none is listed: the year has none, or lies outside the years computed.
// With theory, the solar theory's minutes in every year; "precise" says which were given.
std::string yearPageJson(const Tables& tables, int year,
                         const horizon::NamedPlace& place = horizon::tokyo(), bool theory = false);

// The day search's check boxes: "groups", each with its "key" (rokuyo, week, choku, kyusei,
// senjitsu), "title" and "names" ({"label", "word"}: the box's text and the word the query
// writes, with its kind where the name has two).
std::string searchVocabularyJson(const daysearch::Vocabulary& vocabulary);

// The years the page may ask for: "year" (the month and year views), "precise", "lunisolar",
// "holidays", "notes", "icalendar" and per feed kind "feeds" (each {"first", "last"}).
std::string coverageJson();

// The days from..to (ISO dates) that fit the query: "query", "from", "to", "count", "days"
// (at most kPageDaysListed, each with date, weekday and notes), "more" (the days not listed)
// and "notes" (Japanese lines on lunar dates that fall on no day and stretches where a kind
// is not known), or an error document with a Japanese message.
// The search's fields as the page has them (a query, two ISO dates), read: the query and
// the range, or the error naming the field to change.
struct FindFields {
    daysearch::Query query;
    CivilDate from;
    CivilDate to;
};
std::variant<FindFields, PageError> readFindFields(const daysearch::Vocabulary& vocabulary,
                                                   std::string_view query, std::string_view from,
                                                   std::string_view to);

std::string findPageJson(daysearch::DaySearch& search, const daysearch::Vocabulary& vocabulary,
                         std::string_view query, std::string_view from, std::string_view to);

} // namespace sorvane::exports
