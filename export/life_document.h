// A plan of life events as the terminal program and the web page give it: the JSON document,
// the text report and the calendar file's events.
#pragma once

#include "export/calendar_events.h"
#include "lifeevents/life_events.h"

#include <ctime>
#include <string>
#include <vector>

namespace sorvane::exports {

// {"kind", "date" (or "year"), "sex", "convention", "sources", "dates": [{"name", "date" or
// "year", "note", ..}], "alternatives": [{"convention", "dates"}], "candidates": [{"for",
// "date", "weekday", "rokuyo", "reasons"}], "notes"}.
std::string lifeJson(const lifeevents::Plan& plan);

// The kinds a front end offers, in the library's order: [{"name", "key", "input" (birthday,
// due, death, year or birthdayOrYear), "dateLabel" (誕生日, 出産予定日, 命日; "" for a year),
// "takesYear", "needsSex"}] under "kinds".
std::string lifeKindsJson();

// The plan as lines for a terminal: the convention, each date, the alternatives, the
// candidates with their reasons, and the sources of the conventions.
std::string lifeReport(const lifeevents::Plan& plan);

// The plan's dates (those with a day) as whole-day events, a person's 厄年 each as its whole
// year, UIDs "life-KIND-ITEM-YYYY-MM-DD" (KIND the kind's key, ITEM the date's key, the date
// the first day): the same date of the same plan keeps its UID. The tables of a year (厄年 and
// 年齢 by --year) give none.
std::vector<CalendarEvent> lifeEvents(const lifeevents::Plan& plan);

// The calendar file of the plan (the events of lifeEvents), its DTSTAMP dtstamp. Throws
// IcsError when the plan has no date with a day or a date the format cannot hold.
std::string lifeIcsCalendar(const lifeevents::Plan& plan, std::time_t dtstamp);

} // namespace sorvane::exports
