// Dates of the civil (proleptic Gregorian) calendar and their arithmetic.
#pragma once

#include <compare>
#include <string>

namespace sorvane {

// A date of the proleptic Gregorian calendar (astronomical year numbers), in JST.
struct CivilDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    auto operator<=>(const CivilDate&) const = default;
};

// The day number of a date: the integer part of julianday at its 00:00 (the number that
// kanshi and youbi take).
long long dayNumber(const CivilDate& date);
// The date of a day number; the inverse of dayNumber.
CivilDate civilDate(long long dayNumber);
CivilDate addDays(const CivilDate& date, long long days);
// Whether a year has 29 February: the Gregorian rule, for every year (0, -4 and -400 do;
// -100 and 1900 do not).
bool isLeapYear(int year);
// The number of days of month 1..12 of a year (28..31): the one month length of the
// program, for the calendar page, the month listing and window, the era text and the JSON.
int daysInMonth(int year, int month);
// "MM-DD".
std::string monthDayText(const CivilDate& date);
// The month and day as Japanese text: "1月17日".
std::string japaneseMonthDayText(const CivilDate& date);
// "YYYY-MM-DD", at least four digits of year and a leading minus before a negative one
// ("2025-01-29", "-0500-03-21").
std::string isoDateText(const CivilDate& date);

// A whole number with at least two digits, a leading zero below 10 ("05", "-05", "123").
std::string formatTwoDigits(double wholeNumber);

} // namespace sorvane
