// The eclipses of a day as the details list them: the kind, and for a place the contacts in
// JST with the body's altitude and azimuth, or why the place does not see it. The calendar
// page, the details of the windows and the web page, the year view and the feeds read these
// lines; no front end words an eclipse itself.
#pragma once

#include "calendar/civil_date.h"
#include "eclipse/eclipses.h"
#include "horizon/places.h"

#include <string>
#include <vector>

namespace sorvane::almanac {

// One eclipse on its day: the JST date of its greatest eclipse.
struct DayEclipse {
    CivilDate date;
    bool solar = false;
    std::string name; // the kind: "金環日食", "部分月食"; "日食" when not computed
    std::vector<std::string> lines; // the details' lines for the place (none without one)
};

// Whether year has eclipses computed: the precise mode's years (-1999..3000), whose Sun and
// Moon they need.
bool eclipsesCovered(int year);

// The place as the lines name it: its name, "この地" for coordinates.
std::string eclipsePlaceName(const horizon::NamedPlace& place);

// The details' lines of one eclipse computed for a place named placeName (eclipsePlaceName):
//   "金環日食　札幌では金環日食（食分 0.957）" then a line a contact
//   "　食の始め 15:41　太陽 高度 28.1° 方位 278.4°" (the date "06-02 " before the time where it
//   is not the eclipse's, 「（地平線下）」 where the body is below the horizon);
//   "金環日食　この地では見えません（食の範囲外）" or "（太陽が地平線下）", a lunar eclipse
//   whose every contact has the Moon below the horizon "（月が地平線下）", without contacts;
//   "（不確か）" after the first line's kind where the type or TT - UT is uncertain, and
//   "日食（計算できませんでした）" alone where a moment was not found.
std::vector<std::string> eclipseLines(const eclipse::SolarEclipse& e, const std::string& placeName);
std::vector<std::string> eclipseLines(const eclipse::LunarEclipse& e, const std::string& placeName);

// The JST day of an eclipse's greatest eclipse.
CivilDate eclipseDate(const eclipse::SolarEclipse& e);
CivilDate eclipseDate(const eclipse::LunarEclipse& e);

// The eclipses of year in time order, without lines (the global kinds, no place); none
// outside eclipsesCovered.
std::vector<DayEclipse> yearEclipses(int year);

// The same with the lines for place.
std::vector<DayEclipse> yearEclipses(int year, const horizon::NamedPlace& place);

// The eclipses of a month (1..12) of year, as yearEclipses lists them, with and without a
// place: a month's page needs only its own, in about a tenth of the year's time.
std::vector<DayEclipse> monthEclipses(int year, int month);
std::vector<DayEclipse> monthEclipses(int year, int month, const horizon::NamedPlace& place);

} // namespace sorvane::almanac
