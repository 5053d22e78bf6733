// Japan's national holidays (国民の祝日, 振替休日, 国民の休日) from the day the holiday law took
// effect, 1948-07-20, to 2100-12-31.
//
// The holidays come from the law and its revisions held as rules with the dates they apply
// from (holidays.cpp), and a small engine that lays them on a year: the 祝日 of the year,
// then the 振替休日 of the rule in force, then the 国民の休日. 春分の日 and 秋分の日 are the
// JST dates of the Sun's apparent longitude 0° and 180° from the engine the caller passes:
// the observatory's definition is the precise mode's (sky::PreciseMoments). The list the
// rules were last checked against, and when: holidays.cpp, above the rules.
#pragma once

#include "calendar/civil_date.h"
#include "calendar/sun_moments.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvane::holidays {

// The day the holiday law (昭和23年法律第178号) took effect; no date before it has a holiday here.
inline constexpr CivilDate kFirstDate{1948, 7, 20};
inline constexpr int kFirstYear = 1948;
// The last year listed. Through it the precise mode's civil time holds the leap seconds known
// today; past it TT - UTC is an extrapolation, and so would the equinox days be.
inline constexpr int kLastYear = 2100;

// The last year whose 春分の日 and 秋分の日 the government has announced. The observatory
// publishes next year's equinox dates in the official gazette each February (for 2027: in
// February 2026); later years are this program's computation, the same method but not yet
// adopted, and are marked provisional. Raise it by one each February.
inline constexpr int kLastAnnouncedYear = 2027;

enum class HolidayKind {
    National,   // a 国民の祝日 of the holiday law
    Special,    // a one-off holiday by a law of its own (a ceremony of the imperial house)
    Substitute, // 振替休日
    Bridge,     // 国民の休日: a day between two 祝日
};

struct Holiday {
    CivilDate date;
    std::string name; // as printed: "春分の日", "振替休日", "国民の休日", ..
    HolidayKind kind = HolidayKind::National;
    // True when the day rests on an equinox day not yet announced (see kLastAnnouncedYear):
    // the equinox day itself, the 振替休日 it makes, a 国民の休日 next to it.
    bool provisional = false;
};

// True for kFirstYear..kLastYear.
bool inRange(int year);

// The holidays of a year in date order. A year before 1948 has none (the holidays before the
// law were another system, not listed here); 1948 has those from 07-20 on.
// Throws std::out_of_range for a year after kLastYear.
std::vector<Holiday> yearHolidays(int year, const SunMoments& sun);

// The holiday on a date, or none. Throws std::out_of_range for a date after kLastYear.
std::optional<Holiday> holidayOn(const CivilDate& date, const SunMoments& sun);

} // namespace sorvane::holidays
