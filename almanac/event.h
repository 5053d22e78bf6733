// One event of the almanac as a front end shows it.
#pragma once

#include "calendar/civil_date.h"
#include "calendar/solar_terms.h"

#include <string>

namespace sorvane::almanac {

// A solar term or a 土用 entry (the 雑節 are zassetsu::Item), at the JST minute it is shown at.
struct Event {
    EventKind kind = EventKind::Setsu;
    // The name as printed: the term's own name without its aligning space ("立春", "土用").
    std::string name;
    // A short ASCII key, the same from year to year ("term-315", "doyo-297").
    std::string id;
    CivilDate date;     // JST date
    CivilDate lastDate; // the same date
    int hour = 0;       // JST hour and minute, rounded to the minute (moments)
    int minute = 0;
    double longitude = 0; // the Sun's longitude that marks a moment, degrees
    // Solar terms and 土用 entries: the month of the year they belong to, and the moment before
    // conversion to JST, as a day of that month (its fraction the time of day) and as a
    // Julian date; in the solar theory's time scale by default, in TT in the precise mode.
    int month = 0;
    double momentDay = 0;
    double momentJd = 0;
    // The precise mode's moments: TT - civil time used, and the uncertainty of the shown
    // moment (TT - UT's and the Sun model's), both in seconds; 0 in the default mode.
    double deltaT = 0;
    double uncertainty = 0;
    std::string line; // the event's line in the reports
};

// A moment at which the Sun reaches a longitude.
inline Event momentEvent(EventKind kind, const CivilDate& date, int hour, int minute,
                         double longitude) {
    Event e;
    e.kind = kind;
    e.date = date;
    e.lastDate = date;
    e.hour = hour;
    e.minute = minute;
    e.longitude = longitude;
    return e;
}

// The title of an event in a calendar: its name, and for a 土用 entry the season's
// ("冬の土用入り").
std::string eventTitle(const Event& event);

} // namespace sorvane::almanac
