// The rising and setting of the Sun and the Moon for a place, in Japan Standard Time.
#pragma once

#include <optional>
#include <vector>

namespace sorvane::horizon {

// A place on the Earth's surface: geodetic (GRS80) latitude and longitude, degrees, north and
// east positive. The height is always 0: the observatory's tables leave out the dip of the
// horizon and the terrain.
struct Observer {
    double latitude = 0;  // -90..90
    double longitude = 0; // -180..180
};

// The geometric altitude of the horizon, the standard refraction at it: -35'08".
inline constexpr double kHorizonArcsec = -(35 * 60 + 8);
// The Sun's semidiameter at 1 au, arcseconds (IAU).
inline constexpr double kSunSemidiameterArcsec = 959.63;

// A day on which the Sun neither rises nor sets: it stays up (白夜, the polar day) or down
// (極夜, the polar night) the whole day.
enum class Polar { None, Day, Night };

// One JST day's times, minutes after 00:00 (0..1439), empty when the event does not happen
// that day. A day may hold two of one kind: the Moon's day is some 50 minutes longer than
// ours, so that it can rise just after 00:00 and again before 24:00, and near the poles the
// Sun's can be as well. The single fields hold the day's first; the lists hold every one in
// time order (the first included), empty when there is none.
struct DayTimes {
    long long day = 0; // day number (day n begins at JD n + 0.5 in JST)
    std::optional<int> sunrise;
    std::optional<int> sunset;
    std::optional<int> moonrise;
    std::optional<int> moonset;
    double moonAge = 0;        // days since the last new moon at 12:00 JST
    Polar polar = Polar::None; // without a sunrise and a sunset: whether the Sun stays up
    std::vector<int> sunrises;
    std::vector<int> sunsets;
    std::vector<int> moonrises;
    std::vector<int> moonsets;
};

// One event as found, before it is given to a day.
struct RiseSetEvent {
    double jdTT = 0;         // the moment, Terrestrial Time
    long long jstMinute = 0; // in JST rounded to the minute, minutes since day 0 00:00
    bool rising = false;
};

enum class Body { Sun, Moon };

// riseSetEvents: every rising and setting of a body whose rounded JST minute lies in the days
// firstDay..lastDay (day numbers), in time order.
//   body      the Sun (its upper limb) or the Moon (its centre)
//   observer  the place, height 0
// The event is the moment the body's topocentric geometric altitude reaches kHorizonArcsec
// (for the Sun, that less its semidiameter 959.63"/r, r in au), to better than 0.1 s; the
// moment is then taken to JST with the precise mode's time scales and rounded to the minute.
// Method: the apparent Sun of the precise mode (sky::apparentSunVector) and the apparent
// Moon of lunisolar (lunisolar::apparentMoonVector), each from an Earth interpolated between
// eraEpv00 states 6 days apart (cubic Hermite, under 0.1" in the Sun's direction); both
// rotated to the true equator and equinox of date (eraPmat06 precession-bias with eraNut00b
// nutation) and tabulated as right ascension, declination and distance every 12 hours, which
// 4-point Lagrange interpolation reproduces to about 0.1". At any moment the Greenwich
// apparent sidereal time (eraGmst06 with UT1 taken as the precise mode's civil time, plus the
// equation of the equinoxes) places the observer (eraGd2gc, GRS80) in the same frame; the
// topocentric vector gives the altitude. Each interval between two culminations holds at
// most one crossing, which a bracketing search settles to 1e-6 day. UT1 - UTC (under 0.9 s)
// and the diurnal aberration (0.3") are left out.
// Years: sky::kFirstYear..kLastYear; outside 1900-2100 the moments carry the precise
// mode's uncertainty of TT - UT (sky::momentUncertainty).
std::vector<RiseSetEvent> riseSetEvents(Body body, const Observer& observer, long long firstDay,
                                        long long lastDay);

// dayTimes: the days firstDay..lastDay with their Sun and Moon events and the Moon's age at
// 12:00 JST (from the new moons of lunisolar::phasesBetween); a day with neither a sunrise
// nor a sunset is a polar day or night by the Sun's altitude at its 12:00 JST.
std::vector<DayTimes> dayTimes(const Observer& observer, long long firstDay, long long lastDay);

// yearTimes: every day of a Gregorian year.
std::vector<DayTimes> yearTimes(const Observer& observer, int year);

} // namespace sorvane::horizon
