#include "calendar/civil_date.h"

#include "calendar/julian_day.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sorvane {

long long dayNumber(const CivilDate& date) {
    return static_cast<long long>(std::floor(julianday(date.year, date.month, date.day)));
}

CivilDate civilDate(long long n) {
    // Days since 1970-01-01 (day number 2440587), then the Gregorian date by 400-year eras
    // counted from 0000-03-01, with floored division so that negative years work too.
    const long long z = n - 2440587 + 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;                                      // 0..146096
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365; // 0..399
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);               // 0..365
    const long long mp = (5 * doy + 2) / 153;                                    // 0 = March
    CivilDate date;
    date.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yoe + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

CivilDate addDays(const CivilDate& date, long long days) {
    return civilDate(dayNumber(date) + days);
}

std::string monthDayText(const CivilDate& date) {
    return formatTwoDigits(date.month) + "-" + formatTwoDigits(date.day);
}

std::string japaneseMonthDayText(const CivilDate& date) {
    return std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
}

std::string isoDateText(const CivilDate& date) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%04d-%02d-%02d", date.year < 0 ? "-" : "",
                  std::abs(date.year), date.month, date.day);
    return buf;
}

std::string formatTwoDigits(double wholeNumber) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%02.0f", std::fabs(wholeNumber));
    return (wholeNumber < 0 ? "-" : "") + std::string(buf);
}

bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

} // namespace sorvane
