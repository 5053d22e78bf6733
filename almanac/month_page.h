// One month as a Japanese wall calendar shows it: a seven-column grid of days, Sunday first,
// each day with its holiday, lunisolar date, 六曜, 干支, the solar terms, 土用 entries and 雑節
// that fall on it and the Moon's phase; and everything known about a single day.
#pragma once

#include "almanac/coverage.h"
#include "almanac/day_eclipses.h"
#include "almanac/day_listing.h"
#include "almanac/days.h"
#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "ephemeris/tables.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/moon_phases.h"
#include "notes/notes.h"

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::almanac {

// The lunisolar date as a day's cell shows it: the month's first day gives the month
// ("旧3月", "旧閏6月"), any other day month and day ("旧3/15", "旧閏6/15").
std::string lunarCellText(const lunisolar::LunarDay& day);

// One square of the grid.
struct DayCell {
    CivilDate date;
    bool inMonth = true; // false for the leading and trailing days of the neighbouring months
    int weekday = 1;     // 1 Sunday .. 7 Saturday, as youbi counts
    std::string kanshi;  // the day's 干支
    // The fields below are filled for the month's own days only, and each only where its
    // source reaches: holidays 1948-07-20..2100, the lunisolar calendar and the phases
    // 1900..2100.
    std::optional<std::string> holiday;
    std::optional<lunisolar::LunarDay> lunar;
    std::optional<std::string> rokuyo;
    // Solar terms, 土用 entries, 雑節 and the lunisolar days (十五夜 ..), short names.
    std::vector<std::string> marks;
    std::optional<lunisolar::PhaseMoment> phase; // the day's phase of the Moon
    // The eclipse whose greatest eclipse falls on the day (JST), its kind: "金環日食",
    // "皆既月食" (the precise mode's years -1999..3000).
    std::optional<std::string> eclipse;
    // The 土用 or 彼岸 the day lies in ("土用", "彼岸"), which the page draws as a band across
    // the period's days; first and last mark its ends.
    struct Period {
        std::string name;
        bool first = false;
        bool last = false;
    };
    std::optional<Period> period;
};

// A neighbouring month as the header's small calendar shows it.
struct SmallMonth {
    int year = 0;
    int month = 0;
    int firstWeekday = 1;      // the weekday of its 1st, 1 Sunday .. 7 Saturday
    int days = 0;              // its length
    std::vector<int> holidays; // the days that are national holidays
};

// The page of a month.
struct MonthPage {
    int year = 0;
    int month = 0;
    std::string eraText;    // "令和8年", "昭和64年 / 平成元年"; empty before 1873
    std::string yearKanshi; // the year's 干支 ("丙午" for 2026)
    bool precise = false;   // the moments are the precise mode's (else the solar theory's)
    std::string modeText;   // one line that says which
    // One short line for each limit of the program's sources that the month runs into
    // (monthLimitNotes); empty within every source.
    std::vector<std::string> limitNotes;
    std::vector<DayCell> cells; // whole weeks, Sunday first
    // The months before and after, where the year range -32768..32767 has them.
    std::optional<SmallMonth> previous;
    std::optional<SmallMonth> next;
};

// Where a square of the page's cells is drawn. A wall calendar has five week rows: a month
// that reaches a sixth week folds it into the fifth, each of its days sharing the square of
// the day a week before ("23/30": the earlier day in the upper half, the later in the lower),
// and the neighbouring month's days of that week are left out. A month of four weeks keeps
// four rows.
inline constexpr int kPageRows = 5;
enum class CellPart { Whole, Upper, Lower, Hidden };
struct GridSlot {
    int row = 0;
    int column = 0;
    CellPart part = CellPart::Whole;
};
// The rows drawn (at most kPageRows) and the slot of page.cells[index].
int gridRows(const MonthPage& page);
GridSlot gridSlot(const MonthPage& page, std::size_t index);

// How many of a cell's lines it shows when `capacity` rows of text fit under its number, the
// lines taking rowsPerLine rows each: all of them when they fit, otherwise the first ones that
// leave a row for moreText(the number left out); the details pane has them all.
std::size_t linesShown(const std::vector<int>& rowsPerLine, int capacity);
std::string moreText(std::size_t hidden); // "他2件"

// The years a calendar page reads: the almanac of the mode that covers the year (the precise
// mode in its range, the solar theory elsewhere) with its 雑節, the lunisolar year and the
// holidays. The kKeptYears years used last are kept (about 130 KB each), so that switching
// months within a year, or back and forth across a new year, costs no calculation while a
// long walk through the years keeps the memory bounded.
class CalendarYears {
  public:
    static constexpr std::size_t kKeptYears = 8;

    // The page reads the observatory's minutes wherever they reach.
    explicit CalendarYears(const Tables& tables) : days_(tables, Minutes::Observatory) {}

    // The page of a month of year -32768..32767.
    MonthPage monthPage(int year, int month);

    // Everything known about one day, a line each, times to the minute: the date and its era
    // date, 干支, holiday, lunisolar date and 六曜, the solar terms, 土用 entries, 雑節 and
    // phases of the day, and the 土用 period the day lies in.
    std::vector<std::string> dayDetails(const CivilDate& date);

    // The eclipse of a day (the JST day of its greatest eclipse) as the details list it for
    // place: eclipseLines, its kind and the place's contacts; none on other days and outside
    // eclipsesCovered. A month's eclipses are kept with its year once its page or one of its
    // days asks for them; the place's contacts are computed on an eclipse's day only.
    std::vector<std::string> eclipseDetails(const CivilDate& date,
                                            const horizon::NamedPlace& place);

    // The 暦注 of a day (notes::yearNotes, computed for a kept year the first time it is asked
    // for). cellNotes: the lines a day's cell adds: 十二直・二十八宿・九星 and the 潮名 (where
    // the lunisolar date is known: "危・軫・一白 中潮"), the marks of its 選日 (the periods
    // 八専, 十方暮 and 天一天上 are left to the details), the marks of its 下段 ("大明 母倉 重")
    // and its 年中行事 (on 節分 with the 恵方 of the coming 節 year: "恵方南南東"), each
    // line only when it has something. noteDetails: every note of the day with its one-line
    // meaning, for the details pane. Outside coverage(Source::Notes) a cell has none and
    // the details one line that says so.
    std::vector<std::string> cellNotes(const CivilDate& date);
    std::vector<std::string> noteDetails(const CivilDate& date);
    // The 選日 of a day as its cell marks them ("一粒万倍", "天赦", "不成就", "三隣亡" ..; the
    // periods left out, as in cellNotes) and by their full names ("一粒万倍日" ..), in the
    // order a day lists them; none outside coverage(Source::Notes).
    std::vector<std::string> cellSenjitsu(const CivilDate& date);
    std::vector<std::string> senjitsuNames(const CivilDate& date);

    // The years computed and kept now (at most kKeptYears).
    std::size_t keptYears() const { return years_.size(); }

  private:
    struct YearData {
        YearAlmanac almanac;
        std::vector<DayRecord> days; // January 1st to December 31st
        std::vector<zassetsu::Item> doyoPeriods;
        std::vector<zassetsu::Period> spans;   // the 土用 and 彼岸
        std::optional<notes::YearNotes> notes; // when first asked for
        // Each month's eclipses, the global kinds without lines, when first asked for.
        std::array<std::optional<std::vector<DayEclipse>>, 12> eclipses;
        std::uint64_t lastUse = 0;
        const DayEntry& day(const CivilDate& date) const;
    };
    const YearData& year(int year);
    std::optional<SmallMonth> smallMonth(int year, int month);
    const notes::DayNotes& dayNotes(const CivilDate& date);
    const std::vector<DayEclipse>& monthEclipses(int year, int month);

    Days days_;
    std::map<int, YearData> years_;
    std::uint64_t uses_ = 0;
    // The holidays of neighbouring years not kept, for the small months (a few at a time).
    std::map<int, std::vector<holidays::Holiday>> neighbourHolidays_;
};

} // namespace sorvane::almanac
