// The year as every front end shows it: the solar terms and 土用 entries of the chosen mode,
// the 雑節, and the first day of each month with its day listing.
#pragma once

#include "almanac/event.h"
#include "almanac/month_listing.h"
#include "calendar/civil_date.h"
#include "ephemeris/tables.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"
#include "zassetsu/zassetsu.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::almanac {

// The first day of a month and its two day cycles.
struct FirstDay {
    CivilDate date;
    int sexagenary = 0; // 1..60, 1 = 甲子 (kanshi)
    int weekday = 0;    // 1..7, 1 = Sunday (youbi)
    std::string sexagenaryName;
    std::string weekdayName;
};

// What to compute.
struct AlmanacOptions {
    // the 24 solar terms and four 土用 entries (and so the 雑節 that hang on them); without
    // them the year needs no term file
    bool solarTerms = true;
    bool precise = false;  // the events from the IAU model (coverage(Source::Precise))
    bool zassetsu = false; // also the 雑節 (two more searches, for 入梅 and 半夏生)
    // also the Moon's phases and the lunisolar calendar (from the IAU model in either mode;
    // years coverage(Source::Lunisolar), absent outside them)
    bool lunisolar = false;
    bool holidays = false; // also the national holidays (two more searches, for the equinoxes)
    // also the 暦注 of every day (notes::yearNotes: the Sun's dates every 5 degrees in the
    // calendar page's mode, whatever `precise` says, and the lunisolar calendar where it reaches;
    // years coverage(Source::Notes), absent outside them)
    bool notes = false;
    // also the Moon's phases alone where the lunisolar calendar does not reach them (years
    // coverage(Source::Phases)), as --phases lists them
    bool phases = false;

    // Everything a year holds: what a calendar page and the iCalendar file show.
    static AlmanacOptions everything(bool precise) {
        AlmanacOptions options;
        options.precise = precise;
        options.zassetsu = options.lunisolar = options.holidays = true;
        return options;
    }
};

struct YearAlmanac {
    int year = 0;
    bool precise = false;
    // The 24 solar terms and the four 土用 entries in the result lines' order: per month the
    // 節, the 土用 entry (January, April, July, October) and the 中気.
    std::vector<Event> solarTerms;
    std::vector<zassetsu::Item> zassetsu; // time order; empty unless asked for
    // The precise mode: the largest uncertainty of the year's moments, seconds.
    double uncertainty = 0;
    // The default mode: how much later its JST moments are estimated to lie than the precise
    // mode's, seconds (defaultModeOffsetSeconds).
    double defaultOffset = 0;
    // The national holidays in date order, when asked for; none outside
    // coverage(Source::Holidays) nor before 1948-07-20.
    std::vector<holidays::Holiday> holidays;
    std::array<FirstDay, 12> firstDays; // January .. December
    std::array<MonthListing, 12> months;
    // The phases, lunisolar months and 中気 (options.lunisolar, years 1900..2100).
    std::optional<lunisolar::LunisolarYear> lunisolar;
    // The phases of a year the lunisolar calendar does not reach (options.phases), and the
    // largest uncertainty of their moments, seconds (lunisolar::phaseUncertainty).
    std::vector<lunisolar::PhaseMoment> moonPhases;
    double phaseUncertainty = 0;
    std::optional<notes::YearNotes> notes; // the 暦注 of every day (options.notes)

    const FirstDay& firstDay(int month) const { return firstDays.at(month - 1); }
    const MonthListing& monthListing(int month) const { return months.at(month - 1); }
    // The year's phases in time order: the lunisolar year's, or moonPhases.
    const std::vector<lunisolar::PhaseMoment>& phases() const {
        return lunisolar ? lunisolar->phases() : moonPhases;
    }
};

// The almanac of year. The default mode runs the finder (and, for the 雑節, its own search
// for 入梅 and 半夏生 from 10 June and 1 July); the precise mode the IAU model, for years
// coverage(Source::Precise) only (std::invalid_argument otherwise). The first days
// come from the calendar in both modes.
YearAlmanac yearAlmanac(const Tables& tables, std::int16_t year, const AlmanacOptions& options);

// The same without the term files: for the precise mode, or options.solarTerms false (the
// first days and month listings, holidays and lunisolar year only). Asking it for the
// default mode's moments throws std::invalid_argument.
YearAlmanac yearAlmanac(std::int16_t year, const AlmanacOptions& options);

// The precise mode's moments are noted as uncertain when the year's largest uncertainty
// exceeds this (seconds): outside 1900..2100, where the Sun model and ΔT are less sure.
inline constexpr double kNotedUncertainty = 30.0;

// "この年の時刻は±N分ほどずれることがあります" (N the uncertainty in minutes, rounded up) for a
// precise almanac whose moments are that uncertain; "" otherwise. Every place that shows
// those moments carries it.
std::string uncertaintyNote(const YearAlmanac& almanac);

// The same sentence for the phases' moments (phaseUncertainty): "" within 1900..2100.
std::string phasesUncertaintyNote(const YearAlmanac& almanac);

// A term name without the full-width space that aligns it in the result box ("小　寒" ->
// "小寒").
std::string plainName(const std::string& name);

} // namespace sorvane::almanac
