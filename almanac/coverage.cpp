#include "almanac/coverage.h"

#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"
#include "sky/precise_year.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace sorvane::almanac {

YearSpan coverage(Source source) {
    switch (source) {
    case Source::Year:
        return {std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max()};
    case Source::Precise:
        return {sky::kFirstYear, sky::kLastYear};
    case Source::Lunisolar:
        return {lunisolar::kFirstYear, lunisolar::kLastYear};
    case Source::Phases:
        // The Moon's series and the IAU Sun reach the precise mode's years.
        return {sky::kFirstYear, sky::kLastYear};
    case Source::Holidays:
        return {holidays::kFirstYear, holidays::kLastYear};
    case Source::Notes:
        return {notes::kFirstYear, notes::kLastYear};
    case Source::ICalendar:
        return {1, 9999};
    }
    return {};
}

bool covers(Source source, int year) {
    return coverage(source).contains(year);
}

CivilDate firstHolidayDate() {
    return holidays::kFirstDate;
}

Mode modeFor(int year, bool wantPrecise) {
    return wantPrecise && covers(Source::Precise, year) ? Mode::Precise : Mode::Default;
}

SunEngines::SunEngines(const Tables* tables) {
    if (tables != nullptr) {
        theory_.emplace(*tables);
    }
}

const SunMoments& SunEngines::forYear(int year, bool wantPrecise) const {
    if (modeFor(year, wantPrecise) == Mode::Precise) {
        return precise_;
    }
    if (!theory_) {
        throw std::invalid_argument("the solar theory's moments need the term files");
    }
    return *theory_;
}

SunMomentsOfYear SunEngines::pageChoice() const {
    return [this](int year) -> const SunMoments& { return forYear(year, true); };
}

std::string spanText(const YearSpan& span) {
    return std::to_string(span.first) + ".." + std::to_string(span.last);
}

} // namespace sorvane::almanac
