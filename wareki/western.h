// The Julian and the (proleptic) Gregorian calendar, both ways through the Julian Day Number.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace sorvane::wareki {

enum class Western { Julian, Gregorian };

// A date of either calendar; the year is astronomical (0 is 1 BC).
struct WesternDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
    auto operator<=>(const WesternDate&) const = default;
};

// The Julian Day Number (the day that begins at the noon of JD n.0) of a date; the date
// need not be valid (day 32 of January counts on into February).
long long jdnOf(Western calendar, const WesternDate& date);
// The date of a Julian Day Number.
WesternDate westernDate(Western calendar, long long jdn);
// Whether a date is a day of the calendar (1-03-29 is not; 1500-02-29 is Julian only).
bool isValid(Western calendar, const WesternDate& date);

// The first Gregorian day (1582-10-15, after Julian 1582-10-04): before it a historian
// writes a date in the Julian calendar.
inline constexpr long long kFirstGregorianJdn = 2299161;
Western historicalCalendar(long long jdn);

// "YYYY-MM-DD" (a leading minus for a negative year).
std::string isoText(const WesternDate& date);
// A date written YYYY-MM-DD (a year of 1 to 4 digits, digits half-width or full-width);
// nullopt for other text. Whether it is a day of a calendar is isValid's question.
std::optional<WesternDate> parseIso(std::string_view text);

const char* calendarName(Western calendar); // "ユリウス暦", "グレゴリオ暦"
const char* calendarKey(Western calendar);  // "julian", "gregorian"

} // namespace sorvane::wareki
