// The day service: which mode a year gets, when the term files are read, and what the records
// of a span of days carry, against the published calendar of 2026 and the definitions of the
// periods.
#include "almanac/days.h"
#include "calendar/civil_date.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace sorvane::almanac {
namespace {

// Days over the shipped term files that count how often they were read.
struct CountedDays {
    int reads = 0;
    Days days;
    explicit CountedDays(Minutes minutes)
        : days(
              [this] {
                  ++reads;
                  return testing::shippedTables();
              },
              minutes) {}
};

bool has(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The mode of a year and whether its almanac reads the term files: the precise mode reaches
// -1999..3000 (ERFA's Sun with the carried Moon), the solar theory every other year, and the
// 暦注 always read the files (their Sun's dates outside the precise years come from them).
TEST(Days, TheModeOfAYearAndWhenTheTermFilesAreRead) {
    AlmanacOptions terms;
    AlmanacOptions none;
    none.solarTerms = false;
    none.holidays = true;
    AlmanacOptions notes = none;
    notes.lunisolar = notes.notes = true;
    const struct {
        Minutes minutes;
        int year;
        AlmanacOptions what;
        Mode mode;
        int reads;
    } cases[] = {
        {Minutes::Observatory, 2026, terms, Mode::Precise, 0},
        {Minutes::Observatory, -1999, terms, Mode::Precise, 0},
        {Minutes::Observatory, 3000, terms, Mode::Precise, 0},
        {Minutes::Observatory, -2000, terms, Mode::Default, 1},
        {Minutes::Observatory, 3001, terms, Mode::Default, 1},
        {Minutes::Theory, 2026, terms, Mode::Default, 1},
        {Minutes::Theory, 2026, none, Mode::Default, 0},
        {Minutes::Observatory, 2026, notes, Mode::Precise, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.year) +
                     (c.minutes == Minutes::Observatory ? " observatory" : " theory"));
        CountedDays counted(c.minutes);
        EXPECT_EQ(counted.days.mode(c.year), c.mode);
        const YearAlmanac year = counted.days.year(c.year, c.what);
        EXPECT_EQ(year.precise, c.mode == Mode::Precise);
        EXPECT_EQ(year.solarTerms.size(), c.what.solarTerms ? 28u : 0u);
        EXPECT_EQ(counted.days.needsTables(c.year, c.what), c.reads == 1);
        EXPECT_EQ(counted.reads, c.reads);
        // A second year and a copy with other minutes share the files read once.
        counted.days.withMinutes(Minutes::Theory).year(5000, terms);
        EXPECT_EQ(counted.reads, 1);
    }
}

// A loader that fails reaches the caller that needed the files, and the next call tries again;
// what needs no file is unaffected.
TEST(Days, UnreadableTermFilesFailOnlyWhatNeedsThem) {
    int tries = 0;
    const Days days(
        [&tries]() -> Tables {
            if (++tries == 1) {
                throw std::runtime_error("planet.txt: no such file");
            }
            return testing::shippedTables();
        },
        Minutes::Observatory);
    EXPECT_EQ(days.year(2026, {}).solarTerms.size(), 28u);
    EXPECT_EQ(tries, 0);
    EXPECT_THROW(days.year(3001, {}), std::runtime_error);
    EXPECT_EQ(days.year(3001, {}).solarTerms.size(), 28u);
    EXPECT_EQ(tries, 2);
}

// The records of 2026 against the published calendar: 国立天文台 暦要項 令和8年 (冬の土用入り
// 1月17日 12:03, 立春 2月4日 05:02, 春分 3月20日 23:46, 朔 2月17日 21:01), 内閣府「国民の祝日」
// (春分の日 3月20日, 成人の日 1月12日), 旧正月 2026-02-17 (旧1月1日, 先勝 as every 旧1月1日),
// the 彼岸 of spring from 3月17日 (春分の日 less three days) and the winter 土用 from its entry
// to the day before 立春.
TEST(Days, RecordsOfASpanAgainstThePublishedCalendar) {
    const Days days(testing::shippedTables(), Minutes::Observatory);
    const std::vector<DayRecord> span =
        days.span({2026, 1, 1}, {2026, 12, 31}, DayContents{true, true, true, true});
    ASSERT_EQ(span.size(), 365u);
    const auto day = [&](int month, int d) -> const DayRecord& {
        return span.at(
            static_cast<std::size_t>(dayNumber({2026, month, d}) - dayNumber({2026, 1, 1})));
    };
    const auto item = [](const DayRecord& r, const std::string& name) -> const DayItem* {
        for (const DayItem& i : r.items) {
            if (i.name == name) {
                return &i;
            }
        }
        return nullptr;
    };
    const struct {
        int month, day;
        const char* name;
        int hour, minute;
    } timed[] = {
        {1, 17, "冬の土用入り", 12, 3},
        {2, 4, "立春", 5, 2},
        {3, 20, "春分", 23, 46},
        {2, 17, "朔", 21, 1},
    };
    for (const auto& t : timed) {
        SCOPED_TRACE(t.name);
        const DayItem* i = item(day(t.month, t.day), t.name);
        ASSERT_NE(i, nullptr);
        EXPECT_TRUE(i->timed);
        EXPECT_EQ(i->hour * 60 + i->minute, t.hour * 60 + t.minute);
    }
    EXPECT_EQ(day(3, 20).holiday, "春分の日");
    EXPECT_EQ(day(1, 12).holiday, "成人の日");
    ASSERT_TRUE(day(2, 17).lunar);
    EXPECT_EQ(day(2, 17).lunar->month, 1);
    EXPECT_EQ(day(2, 17).lunar->day, 1);
    EXPECT_NE(item(day(2, 17), "旧正月"), nullptr);
    EXPECT_TRUE(has(day(1, 17).periods, "土用"));
    EXPECT_TRUE(has(day(2, 3).periods, "土用"));
    EXPECT_FALSE(has(day(2, 4).periods, "土用"));
    EXPECT_FALSE(has(day(3, 16).periods, "彼岸"));
    EXPECT_TRUE(has(day(3, 17).periods, "彼岸"));
    EXPECT_TRUE(has(day(3, 23).periods, "彼岸"));
    ASSERT_TRUE(day(3, 5).notes);
    EXPECT_NE(std::find(day(3, 5).notes->senjitsu.begin(), day(3, 5).notes->senjitsu.end(),
                        notes::Senjitsu::Tensha),
              day(3, 5).notes->senjitsu.end());
    // 八専: the twelve days 壬子..癸亥 of every sixty, 間日 included. The day's 干支 from the
    // Julian day number alone (Fliegel and Van Flandern, CACM 11, 1968): (JDN + 49) mod 60,
    // 0 = 甲子.
    int hassen = 0;
    for (const DayRecord& r : span) {
        const long long y = r.date.year;
        const long long m = r.date.month;
        const long long a = (m - 14) / 12;
        const long long jdn = r.date.day - 32075 + 1461 * (y + 4800 + a) / 4 +
                              367 * (m - 2 - 12 * a) / 12 - 3 * ((y + 4900 + a) / 100) / 4;
        const long long index = (jdn + 49) % 60;
        SCOPED_TRACE(isoDateText(r.date));
        EXPECT_EQ(has(r.periods, "八専"), index >= 48);
        hassen += has(r.periods, "八専") ? 1 : 0;
    }
    EXPECT_EQ(hassen, 72); // six runs of 12 in 2026
    // A span within the year is the same days as the year's records.
    const std::vector<DayRecord> march = days.span({2026, 3, 15}, {2026, 3, 25}, DayContents{});
    ASSERT_EQ(march.size(), 11u);
    EXPECT_EQ(march.front().date, (CivilDate{2026, 3, 15}));
    EXPECT_EQ(march[5].items.size(), day(3, 20).items.size());
    EXPECT_FALSE(march[5].notes);
}

// Where the calendar has drifted from the seasons, an event of the next year falls in this
// year's days (32700's 立春 on 32699-12-29, by the solar theory): the records list it there,
// as the day search finds it; a span across the new year holds both years' days.
TEST(Days, NeighbouringYearsEventsFallInTheDays) {
    const Days days(testing::shippedTables(), Minutes::Observatory);
    const std::vector<DayRecord> span =
        days.span({32699, 12, 25}, {32700, 1, 5}, DayContents{true, false, false, false});
    ASSERT_EQ(span.size(), 12u);
    const DayRecord& day = span.at(4);
    ASSERT_EQ(day.date, (CivilDate{32699, 12, 29}));
    const auto found = std::find_if(day.items.begin(), day.items.end(),
                                    [](const DayItem& i) { return i.name == "立春"; });
    ASSERT_NE(found, day.items.end());
    ASSERT_TRUE(found->event);
    EXPECT_EQ(found->event->date, day.date);
    EXPECT_EQ(span.back().date, (CivilDate{32700, 1, 5}));
    EXPECT_THROW(days.span({2026, 1, 2}, {2026, 1, 1}, DayContents{}), std::invalid_argument);
}

} // namespace
} // namespace sorvane::almanac
