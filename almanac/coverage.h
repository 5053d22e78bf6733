// Which years each source of the almanac reaches, and which mode a year gets: the one place
// every front end (the terminal program, the windows, the exporters) asks.
#pragma once

#include "calendar/civil_date.h"
#include "calendar/sun_moments.h"
#include "ephemeris/tables.h"
#include "finder/theory_moments.h"
#include "sky/precise_year.h"

#include <optional>
#include <string>

namespace sorvane::almanac {

// A span of whole years, both ends included.
struct YearSpan {
    int first = 0;
    int last = 0;
    constexpr bool contains(int year) const { return first <= year && year <= last; }
};

// What the almanac draws on for a year.
enum class Source {
    Year,      // any year the program takes: -32768..32767 (16-bit signed)
    Precise,   // the IAU model of the Sun (the precise mode): -1999..3000
    Lunisolar, // the lunisolar calendar and 六曜: 1900..2100
    Phases,    // the Moon's 朔, 上弦, 望, 下弦 (the list of --phases): -1999..3000
    Holidays,  // the national holidays: 1948 (from 07-20) .. 2100
    Notes,     // the 暦注, where the solar theory's seasons keep to their months: -14302..8455
    ICalendar, // the years an iCalendar file can hold (RFC 5545's four digits): 1..9999
};

// The years a source reaches.
YearSpan coverage(Source source);

// Whether a source reaches year (for Holidays: some day of the year; see firstHolidayDate).
bool covers(Source source, int year);

// The first day of the holiday law (1948-07-20): no day before it is a national holiday.
CivilDate firstHolidayDate();

// The moments of a year: the precise mode's or the solar theory's (the default mode).
enum class Mode { Default, Precise };

// The mode a year gets: Precise when it is wanted and the precise mode reaches the year,
// else Default.
Mode modeFor(int year, bool wantPrecise);

// The two engines of the Sun's moments over one set of term tables, and the choice modeFor
// makes between them: what the rule libraries (notes/, holidays/) are handed.
class SunEngines {
  public:
    // tables: the term files, or null when only the precise mode is wanted (asking then for
    // the solar theory throws std::invalid_argument).
    explicit SunEngines(const Tables* tables);

    // The engine of modeFor(year, wantPrecise).
    const SunMoments& forYear(int year, bool wantPrecise) const;
    // The calendar page's choice, year by year: the precise mode wherever it reaches.
    SunMomentsOfYear pageChoice() const;
    // The holiday law's: the observatory's definition, the precise mode.
    const SunMoments& observatory() const { return precise_; }

  private:
    std::optional<TheoryMoments> theory_;
    sky::PreciseMoments precise_;
};

// "FIRST..LAST", as the terminal program's messages write a span.
std::string spanText(const YearSpan& span);

} // namespace sorvane::almanac
