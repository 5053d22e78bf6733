// A year's eclipses for a place as text, as a JSON document and as calendar events.
#pragma once

#include "eclipse/eclipses.h"
#include "export/calendar_events.h"

#include <string>
#include <vector>

namespace sorvane::exports {

struct EclipseYear {
    int year = 0;
    std::string placeName; // as shown: "東京"
    horizon::Observer observer;
    std::vector<eclipse::SolarEclipse> solar;
    std::vector<eclipse::LunarEclipse> lunar;
};

// eclipseYear: the year's solar and lunar eclipses for the place, in time order of kind.
EclipseYear eclipseYear(int year, const std::string& placeName, const horizon::Observer& observer);

// The text report: each eclipse with its JST contacts to the minute, the body's altitude and
// azimuth at each, 「地平線下」 where it is below the horizon.
std::string eclipseReport(const EclipseYear& year);

// The JSON document: the same with the moments to the second (ISO 8601, +09:00).
std::string eclipseJson(const EclipseYear& year);

// The eclipses as instants at their greatest (for the place, where a solar eclipse is seen
// there; else the greatest eclipse), keys "eclipse-solar-YYYY-MM-DD" and
// "eclipse-lunar-YYYY-MM-DD" (the JST date), the place's contacts in the description.
std::vector<CalendarEvent> eclipseEvents(const EclipseYear& year);

} // namespace sorvane::exports
