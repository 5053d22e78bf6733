// The years each source reaches, as the front ends ask them, against the libraries' own
// answers: the two must never disagree.
#include "almanac/coverage.h"
#include "calendar/year_text.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"
#include "sky/precise_year.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <stdexcept>

namespace sorvane::almanac {
namespace {

// The holiday law's equinoxes: the observatory's definition, the precise mode.
const sorvane::sky::PreciseMoments kObservatory;

// Whether parseYearText takes the year: the years the program's own year texts hold.
bool yearTextTakes(int year) {
    try {
        parseYearText(std::to_string(year));
        return true;
    } catch (const YearTextError&) {
        return false;
    }
}

// Whether an iCalendar date writes the year in its four digits ("%04d", from 0001).
bool fourDigitYear(int year) {
    char text[16];
    return year >= 1 && std::snprintf(text, sizeof text, "%04d", year) == 4;
}

bool holidaysListed(int year) {
    try {
        return !holidays::yearHolidays(year, kObservatory).empty();
    } catch (const std::out_of_range&) {
        return false;
    }
}

bool lunisolarComputed(int year) {
    try {
        const lunisolar::LunisolarYear computed(year);
        return true;
    } catch (const std::out_of_range&) {
        return false;
    }
}

// Each source's span at both edges and one year beyond each, against the library's answer.
TEST(Coverage, EverySpanAgreesWithItsLibraryAtBothEdges) {
    struct Case {
        const char* name;
        Source source;
        bool (*library)(int year);
    };
    const Case cases[] = {
        {"year", Source::Year, yearTextTakes},
        {"precise", Source::Precise, sky::inRange},
        {"lunisolar", Source::Lunisolar, lunisolar::inRange},
        {"lunisolar year", Source::Lunisolar, lunisolarComputed},
        {"phases", Source::Phases, sky::inRange},
        {"holidays", Source::Holidays, holidays::inRange},
        {"holiday list", Source::Holidays, holidaysListed},
        {"notes", Source::Notes, notes::inRange},
        {"iCalendar", Source::ICalendar, fourDigitYear},
    };
    for (const Case& c : cases) {
        const YearSpan span = coverage(c.source);
        ASSERT_LE(span.first, span.last) << c.name;
        for (const int year : {span.first - 1, span.first, span.last, span.last + 1}) {
            EXPECT_EQ(covers(c.source, year), c.library(year)) << c.name << " " << year;
            EXPECT_EQ(span.contains(year), covers(c.source, year)) << c.name << " " << year;
        }
    }
}

// The holiday law's first day: in the first year of the holidays, and the first day the
// library lists holidays from (its first holiday lies on or after it).
TEST(Coverage, FirstHolidayDateOpensTheHolidays) {
    const CivilDate first = firstHolidayDate();
    EXPECT_EQ(first, holidays::kFirstDate);
    EXPECT_EQ(first.year, coverage(Source::Holidays).first);
    const auto listed = holidays::yearHolidays(first.year, kObservatory);
    ASSERT_FALSE(listed.empty());
    EXPECT_GE(listed.front().date, first);
}

// The precise mode exactly where it is wanted and the IAU model reaches.
TEST(Coverage, ModeIsPreciseWhereWantedAndReached) {
    const YearSpan precise = coverage(Source::Precise);
    for (const int year : {precise.first - 1, precise.first, 2026, precise.last, precise.last + 1,
                           coverage(Source::Year).first, coverage(Source::Year).last}) {
        for (const bool wanted : {false, true}) {
            const Mode expected = wanted && sky::inRange(year) ? Mode::Precise : Mode::Default;
            EXPECT_EQ(modeFor(year, wanted), expected) << year << (wanted ? " wanted" : "");
        }
    }
}

// As the terminal program's messages write a span, signs included.
TEST(Coverage, SpanTextIsFirstDotDotLast) {
    EXPECT_EQ(spanText(coverage(Source::Year)), "-32768..32767");
}

} // namespace
} // namespace sorvane::almanac
