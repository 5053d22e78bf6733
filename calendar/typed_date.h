// A date typed whole, in the forms people write one: 2027-04-30, 2027/4/30, 2027.4.30,
// 2027年4月30日, 令和9年4月30日 (or 令和元年, R9.4.30), with ASCII or full-width digits and
// separators. The one reader of typed dates: the terminal program's --from and --to and the
// windows' date fields.
#pragma once

#include "calendar/civil_date.h"

#include <optional>
#include <string>
#include <string_view>

namespace sorvane {

// Why a text is no date.
enum class TypedDateProblem {
    None,
    NotADate,        // no date form at all ("2027-4", "tomorrow", "2027--30")
    NoSuchDay,       // a form, but no day of the calendar (2027-02-29, 2027-13-01)
    OutsideEra,      // an era year the era never had (平成32年, 令和元年4月30日)
    BeforeGregorian, // an era date before 明治6年1月1日, when Japan counted the lunisolar way
};

struct TypedDate {
    // The parts written: a year alone ("2028", "令和10年") or a year and a month
    // ("2027-04", "2027年4月") leave the rest out.
    std::optional<int> year;
    std::optional<int> month;
    std::optional<int> day;
    TypedDateProblem problem = TypedDateProblem::NotADate;
    // Why not, in Japanese, for a user ("" when the text is a date): 「2027年2月29日はありま
    // せん（2月は28日までです）」.
    std::string reason;

    bool whole() const { return problem == TypedDateProblem::None && day.has_value(); }
    // The date written whole; only when whole().
    CivilDate date() const { return CivilDate{*year, *month, *day}; }
};

// Reads text (UTF-8). Spaces around it are ignored. A year has four to six digits, with a
// leading '-' for one before year 1 ("-0500-03-21"); an era year is counted from the era's
// first year (元年 = 1) and must lie in the era. The day is checked against the calendar.
TypedDate readTypedDate(std::string_view text);

// The date a field shows after `text` is typed over `shown`: a whole date as written; a year,
// or a year and a month, keeps the rest of the shown date (the day as near as the month
// allows). nullopt when the text is no date; `reason` then says why in Japanese.
std::optional<CivilDate> typedDateOver(std::string_view text, const CivilDate& shown,
                                       std::string* reason = nullptr);

} // namespace sorvane
