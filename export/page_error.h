// How the web page is told that what it asked cannot be done: a code its script acts on, the
// field of the page to change and the message shown to the user, in Japanese, naming what to
// change. Every message of the page's documents is made here (or, for a day the 和暦 reader
// or a plan the 行事 rules refuse, by that library), never by the page's script.
#pragma once

#include "daysearch/query.h"
#include "lifeevents/life_events.h"

#include <string>
#include <string_view>

namespace sorvane::exports {

// What cannot be done. Each has one code ("month-outside") and one field ("year").
enum class PageProblem {
    NoTables,           // the term files could not be read
    OutOfMemory,        // the calculation ran out of memory
    CalculationFailed,  // the calculation failed (detail: what failed)
    MonthOutside,       // a month page of a year or month the calendar does not have
    NoSuchDay,          // a day the calendar does not have
    YearOutside,        // the year view of a year outside the calendar's
    PlaceTooLong,       // a place name over kMaxPlaceNameBytes
    UnknownPlace,       // a place not in the places file (detail: the name)
    BadObserver,        // a latitude or longitude out of range
    QueryTooLong,       // a query over kMaxQueryCharacters
    QueryEmpty,         // no condition
    QueryTwoKinds,      // a name of two kinds (detail: the refusal's text)
    QueryUnknownName,   // a name the search does not know (detail: the refusal's text)
    QueryUnreadable,    // a word that is not written as a word (detail: the refusal's text)
    RangeDateTooLong,   // a date of the range over 64 bytes
    FromUnreadable,     // 「から」 is not a date of the calendar (detail: the text)
    ToUnreadable,       // 「まで」 is not a date of the calendar (detail: the text)
    RangeReversed,      // 「まで」 before 「から」
    WarekiTooLong,      // a 和暦 text over 200 bytes
    WarekiUnreadable,   // a 和暦 text the reader refused (detail: its message and the text)
    LifeTooLong,        // a 行事 field over its bound
    LifeUnknownKind,    // a kind of 行事 the rules do not have (detail: the name)
    LifeBadToday,       // today's date could not be read
    LifeBadDate,        // the 行事's date is not a date (detail: the text)
    LifeBadYear,        // the 行事's year is not a year of the calendar (detail: the text)
    FileYearUnreadable, // the calendar file's year is not a whole number (detail: the text)
    FileYearOutside,    // the calendar file's year is outside what a file holds (detail: year)
    NotesYearOutside,   // the 選日 file's year is outside the 暦注's years (detail: year)
    FileRangeOutside,   // the search's range reaches past what a file holds
    FeedUnknown,        // a feed kind the program does not write (detail: the key)
    FeedFromUnreadable, // the feed's 「から」 is not a year (detail: the text)
    FeedToUnreadable,   // the feed's 「まで」 is not a year (detail: the text)
    FeedReversed,       // the feed's 「まで」 before its 「から」
    FeedYearsOutside,   // the feed's years reach past the kind's (detail: the kind's name)
    FileNothingFound,   // no day fits the query: a calendar file needs one event
    FileUnknown,        // a kind of calendar file the page does not make (detail: the key)
    FileBadData,        // the program could not read its data (exit status 1)
    FileRefused,        // the program refused the request (exit status 2)
    FileNotWritten,     // the file could not be written (exit status 3 or any other)
};

struct PageError {
    std::string code;    // "month-outside": what a script compares
    std::string field;   // "year": the field of the page to change ("" for none)
    std::string message; // shown to the user, in Japanese
};

// The error of a problem; detail is the part of the message the problem names (the text the
// user wrote, a year, a refusal's own words).
PageError pageError(PageProblem problem, std::string_view detail = {});

// The error of a query the search cannot read (queryRefusal's message).
PageError queryError(const daysearch::QueryError& error);

// The error of a plan the 行事 rules cannot make: its status's code and field (the date,
// the year or 男/女), with the rules' own message.
PageError lifeError(lifeevents::Status status, const std::string& message, bool byYear);

// The error of a calendar file the terminal program did not write, from its exit status.
PageError fileFailure(int status);

// {"error": message, "code": code, "field": field}: how every page document says it could not
// be made.
std::string pageErrorJson(const PageError& error);

} // namespace sorvane::exports
