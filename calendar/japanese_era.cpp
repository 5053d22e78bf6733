#include "calendar/japanese_era.h"

#include "calendar/civil_date.h"

#include <array>
#include <tuple>

namespace sorvane {

namespace {

struct Era {
    const char* name;
    int firstYear; // the Gregorian year of the era's first year (元年)
    int month;     // the day the era began
    int day;
};

// Latest first. 明治 began in 1868, before Japan counted days by the Gregorian calendar; only
// its years from 1873 are reached.
constexpr std::array<Era, 5> kEras = {{
    {"令和", 2019, 5, 1},
    {"平成", 1989, 1, 8},
    {"昭和", 1926, 12, 25},
    {"大正", 1912, 7, 30},
    {"明治", 1868, 1, 1},
}};

} // namespace

std::optional<EraYear> eraYearOf(int year, int month, int day) {
    if (std::tie(year, month, day) < std::make_tuple(kGregorianAdoptionYear, 1, 1)) {
        return std::nullopt;
    }
    for (const Era& era : kEras) {
        if (std::tie(year, month, day) >= std::tie(era.firstYear, era.month, era.day)) {
            return EraYear{era.name, year - era.firstYear + 1};
        }
    }
    return std::nullopt; // not reached: 明治 covers every date from 1873
}

std::optional<EraYear> writtenEraYearOf(int year, int month, int day) {
    return year <= kLastEraYearWritten ? eraYearOf(year, month, day) : std::nullopt;
}

std::optional<int> gregorianYearOf(const EraYear& eraYear) {
    for (const Era& era : kEras) {
        if (eraYear.era == era.name) {
            return era.firstYear + eraYear.year - 1;
        }
    }
    return std::nullopt;
}

std::string eraYearText(const EraYear& eraYear) {
    return eraYear.era + (eraYear.year == 1 ? std::string("元") : std::to_string(eraYear.year)) +
           "年";
}

std::string monthEraText(int year, int month) {
    const auto first = writtenEraYearOf(year, month, 1);
    const auto last = writtenEraYearOf(year, month, daysInMonth(year, month));
    if (!last) {
        return {};
    }
    if (first && *first != *last) {
        return eraYearText(*first) + " / " + eraYearText(*last);
    }
    return eraYearText(*last);
}

} // namespace sorvane
