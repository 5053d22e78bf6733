// The day service: what is known about a year and its days, assembled in one place for every
// front end (the terminal program, the windows, the feeds, the day search, the web page). A
// front end makes one Days with the term files (or a way to read them when first needed) and
// says whose minutes it shows; Days alone decides which mode a year gets, which source
// reaches which year, when the term files are read and which neighbouring years' events fall
// in a year's days.
#pragma once

#include "almanac/coverage.h"
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "ephemeris/tables.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::almanac {

// Whose minutes a front end shows.
enum class Minutes {
    Theory,      // the solar theory's in every year (the main window's default, the year report)
    Observatory, // the precise mode's wherever it reaches (coverage(Source::Precise)), the
                 // solar theory's elsewhere (the calendar page, --days, the feeds, the search)
};

// Reads the term files; called at most once per Days (and its copies), the first time a year
// needs them. What it throws (unreadable files) reaches the caller that needed them, and the
// next such call tries again.
using TableLoader = std::function<Tables()>;

// What a span of days carries besides date, weekday and 干支.
struct DayContents {
    bool events = true; // the solar terms, 土用 entries and 雑節 (with the 土用 and 彼岸 periods)
    bool lunisolar = true; // the lunisolar date, 六曜, the phases and 旧正月 .. 十三夜
    bool holidays = true;  // the national holidays
    bool notes = false;    // the 暦注 (years coverage(Source::Notes); needs the term files)
};

// One day with everything the contents asked for.
struct DayRecord : DayEntry {
    std::optional<notes::DayNotes> notes;
    // The periods the day lies in: the 雑節's (土用, 彼岸) in the order of their first days,
    // then, with the notes, the 選日's (八専, 十方暮, 天一天上).
    std::vector<std::string> periods;
};

class Days {
  public:
    // The term files read by loader when first needed.
    Days(TableLoader loader, Minutes minutes);
    // The term files at hand; the caller keeps them alive as long as this and its copies.
    Days(const Tables& tables, Minutes minutes);

    Minutes minutes() const { return minutes_; }
    // The same term files (read once for both) with the other choice of minutes.
    Days withMinutes(Minutes minutes) const;

    // The mode this service gives year: Precise when it shows the observatory's minutes and
    // the precise mode reaches the year, else Default.
    Mode mode(int year) const;
    bool precise(int year) const { return mode(year) == Mode::Precise; }

    // Whether the almanac of year with these contents reads the term files: for the default
    // mode's moments and for the notes.
    bool needsTables(int year, const AlmanacOptions& what) const;

    // The almanac of year (-32768..32767) with the contents of what, in the mode(year)
    // (what.precise is ignored). Throws what the loader throws when the term files are needed,
    // and CalculationError where the Sun's search finds no usable moment.
    YearAlmanac year(int year, const AlmanacOptions& what) const;

    // The almanacs of the years before and after whose events can fall in year's days: where
    // the calendar has drifted from the seasons (year or its neighbour outside
    // kFirstCleanYear..kLastCleanYear) an event may fall in the next year's or the last
    // year's days (立春 of 32700 on 32699-12-29). Empty in the years that keep to the seasons.
    std::vector<YearAlmanac> neighbours(int year, const AlmanacOptions& what) const;

    // The national holidays of year (none outside coverage(Source::Holidays)); they need no
    // term file.
    std::vector<holidays::Holiday> holidays(int year) const;

    // The 暦注 of year (coverage(Source::Notes); std::out_of_range outside), the Sun's dates in
    // the observatory's minutes where they reach whatever minutes() says (the 暦注 follow the
    // calendar page), lunar the year's lunisolar calendar when the caller has it. Reads the
    // term files.
    notes::YearNotes notes(int year, const lunisolar::LunisolarYear* lunar = nullptr,
                           notes::LunarDates lunarDates = notes::LunarDates::Computed) const;

    // The days first..last (first <= last) with what contents asks for, each source where it
    // reaches: a day of a year none reaches has its date, weekday and 干支 only. The events of
    // neighbouring years that fall in the days are on their days too (neighbours).
    std::vector<DayRecord> span(const CivilDate& first, const CivilDate& last,
                                const DayContents& contents) const;

    // The records of the almanac's year (January 1st to December 31st): its day listing with
    // the events of neighbouring years that fall in its days (neighbours), and the periods of
    // its 雑節. No notes: span adds them.
    std::vector<DayRecord> records(const YearAlmanac& almanac) const;

    // The term files, read now if they were not yet.
    const Tables& tables() const;
    // The Sun's two engines over the term files (read now if they were not yet).
    const SunEngines& engines() const;

  private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
    Minutes minutes_;
};

} // namespace sorvane::almanac
