// The years each source reaches, as the front ends ask them, against the libraries' own
// answers: the two must never disagree.
#include "almanac/coverage.h"
#include "almanac/year_almanac.h"
#include "calendar/year_text.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"
#include "sky/precise_year.h"
#include "support/test_support.h"

#include <algorithm>
#include <cmath>
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

// The holiday law (国民の祝日に関する法律, 昭和23年法律第178号) took effect on 1948-07-20; the
// first holidays under it were 秋分の日 (23 September), 文化の日 (3 November) and 勤労感謝の日
// (23 November) of 1948.
TEST(Coverage, FirstHolidayDateOpensTheHolidays) {
    const CivilDate first = firstHolidayDate();
    EXPECT_EQ(first, (CivilDate{1948, 7, 20}));
    EXPECT_EQ(coverage(Source::Holidays).first, 1948);
    std::vector<std::pair<CivilDate, std::string>> listed;
    for (const auto& h : holidays::yearHolidays(1948, kObservatory)) {
        listed.emplace_back(h.date, h.name);
    }
    const std::vector<std::pair<CivilDate, std::string>> expected = {
        {{1948, 9, 23}, "秋分の日"}, {{1948, 11, 3}, "文化の日"}, {{1948, 11, 23}, "勤労感謝の日"}};
    EXPECT_EQ(listed, expected);
}

// The precise mode exactly where it is wanted and the IAU model reaches: the years -1999 to
// 3000, and never unless wanted.
TEST(Coverage, ModeIsPreciseWhereWantedAndReached) {
    const struct {
        int year;
        Mode wanted; // the mode when the precise one is wanted; never wanted: Default
    } cases[] = {
        {-32768, Mode::Default}, {-2000, Mode::Default}, {-1999, Mode::Precise},
        {0, Mode::Precise},      {2026, Mode::Precise},  {3000, Mode::Precise},
        {3001, Mode::Default},   {32767, Mode::Default},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(modeFor(c.year, true), c.wanted) << c.year;
        EXPECT_EQ(modeFor(c.year, false), Mode::Default) << c.year;
    }
}

// The default mode's estimate of how much later its moments lie than the precise mode's
// (offsetFromPrecise in its JSON) against the two modes' own moments, the mean of the 28: within
// 4 minutes from 1000 to 3000, as the reference states.
TEST(Coverage, OffsetFromPreciseHoldsFrom1000To3000) {
    double worst = 0;
    for (int year = 1000; year <= 3000; year += 50) {
        AlmanacOptions defaultMode;
        AlmanacOptions preciseMode;
        preciseMode.precise = true;
        const auto y = static_cast<std::int16_t>(year);
        const YearAlmanac theory = yearAlmanac(testing::shippedTables(), y, defaultMode);
        const YearAlmanac iau = yearAlmanac(testing::shippedTables(), y, preciseMode);
        ASSERT_EQ(theory.solarTerms.size(), iau.solarTerms.size());
        double sum = 0;
        for (std::size_t i = 0; i < theory.solarTerms.size(); ++i) {
            const auto minuteOf = [](const Event& e) {
                return static_cast<double>(dayNumber(e.date)) * 1440 + e.hour * 60 + e.minute;
            };
            sum += (minuteOf(theory.solarTerms[i]) - minuteOf(iau.solarTerms[i])) * 60;
        }
        const double measured = sum / static_cast<double>(theory.solarTerms.size());
        EXPECT_NEAR(theory.defaultOffset, measured, 240) << year;
        worst = std::max(worst, std::abs(theory.defaultOffset - measured));
    }
    std::printf("offsetFromPrecise 1000..3000: largest error %.0f s\n", worst);
}

// As the terminal program's messages write a span, signs included.
TEST(Coverage, SpanTextIsFirstDotDotLast) {
    EXPECT_EQ(spanText(coverage(Source::Year)), "-32768..32767");
}

} // namespace
} // namespace sorvane::almanac
