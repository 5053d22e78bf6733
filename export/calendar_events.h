// The events of every iCalendar file (the year file, the 選日 file, the subscription feeds),
// each kind made once here; the writers (icsCalendar, notesIcsCalendar, icsFeed) only choose
// which kinds they hold and stamp them.
//
// One key scheme for all of them: an event's key (its UID before "@sorvane") is its kind, its
// item and its JST date (the first day of a period), "KIND-ITEM-YYYY-MM-DD":
//   sekki-315-2026-02-04        a solar term (the Sun's longitude)
//   doyo-297-2026-01-17         a 土用 entry
//   zassetsu-ID-2026-02-03      a 雑節 (zassetsu::Item::id: "setsubun", "doyo-winter" ..)
//   moon-new-2026-01-19         a phase: new, first-quarter, full, last-quarter
//   moon-jugoya-2026-09-25      a lunisolar day: kyushogatsu, tanabata, jugoya, jusanya
//   holidays-2026-01-01         a national holiday
//   rokuyo-2026-01-01           the day's 六曜
//   senjitsu-KEY-2026-01-05     a 選日 (senjitsuKey), a period keyed by its first day
// so the same event has the same UID in every file that holds it: a year file imported beside
// a feed's subscription replaces, not doubles, what the two share.
#pragma once

#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"

#include <string>
#include <vector>

namespace sorvane::exports {

// One event of a calendar: an instant (a JST minute, written in UTC) or whole days.
struct CalendarEvent {
    std::string uid; // the key: the UID before "@sorvane"
    std::string summary;
    std::string category; // one or more, joined by ','
    CivilDate date;       // the instant's JST date, or the first day
    CivilDate lastDate;   // the last day (whole days; the same as date for one day)
    bool instant = false;
    int hour = 0; // the instant's JST hour and minute
    int minute = 0;
    std::string description;
};

// Moves the events of more to the end of events.
void appendEvents(std::vector<CalendarEvent>& events, std::vector<CalendarEvent>&& more);

// The solar terms of the almanac as instants, with its 土用 entries when withDoyo.
std::vector<CalendarEvent> solarTermEvents(const almanac::YearAlmanac& almanac, bool withDoyo);

// The 雑節 of the almanac: the days and periods as whole days; 入梅 and 半夏生 (the moments)
// as instants when momentsAsInstants, else as their day with the minute in the text.
std::vector<CalendarEvent> zassetsuEvents(const almanac::YearAlmanac& almanac,
                                          bool momentsAsInstants);

// Which phases of the Moon a calendar holds.
enum class PhaseSet { NewAndFull, All };
std::vector<CalendarEvent> phaseEvents(const lunisolar::LunisolarYear& year, PhaseSet phases);

// The lunisolar days (旧正月, 伝統的七夕, 十五夜, 十三夜) of the lunisolar year, or only 十五夜
// and 十三夜 (the Moon's).
std::vector<CalendarEvent> lunisolarDayEvents(const lunisolar::LunisolarYear& year,
                                              bool moonViewingOnly);

std::vector<CalendarEvent> holidayEvents(const std::vector<holidays::Holiday>& holidays);

std::vector<CalendarEvent> rokuyoEvents(const lunisolar::LunisolarYear& year);

// shioEvents: the 潮名 of every day of the lunisolar year, one all-day event a day
// (UID shio-DATE, the lunisolar date in the description).
std::vector<CalendarEvent> shioEvents(const lunisolar::LunisolarYear& year);

// The one-day 選日 of a year's notes, each a whole day.
std::vector<CalendarEvent> senjitsuDayEvents(const notes::YearNotes& year);
// The 選日 periods (八専, 十方暮, 天一天上) that share a day with first..last, each one event,
// whole (a period across either end included), its 間日 named.
std::vector<CalendarEvent> senjitsuPeriodEvents(const CivilDate& first, const CivilDate& last);

} // namespace sorvane::exports
