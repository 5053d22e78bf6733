// Solar and lunar eclipses of a year: the global type and, for a place, the contacts in JST
// with the body's altitude and azimuth.
#pragma once

#include "horizon/rise_set.h"

#include <array>
#include <optional>
#include <vector>

namespace sorvane::eclipse {

// The Moon's radius over the Earth's equatorial radius, for every contact (the value of the
// IAU 1982 lunar radius, used for umbral contacts in the published canons). The Moon's limb is
// a circle: no limb profile.
inline constexpr double kMoonRadiusRatio = 0.2725076;
// The Earth's equatorial radius (GRS80), km.
inline constexpr double kEarthRadiusKm = 6378.137;
// The Earth's shadow enlarged for its atmosphere: Danjon's rule, the Earth's radius made 1/85
// larger: the shadow's radii are 1.01 times the Moon's equatorial horizontal parallax plus the
// Sun's, minus (umbra) or plus (penumbra) the Sun's semidiameter. The parallax is not reduced
// to latitude 45 degrees (0.998340), as swetest does not: with that reduction ten shallow
// penumbral eclipses of 1900-2100 in its list would be missing and contacts differ by 5 min.
inline constexpr double kDanjonFactor = 1.01;

// How far a computed eclipse can be trusted.
enum class Quality {
    Sure,     // every moment found; type and contacts within the stated accuracy
    Doubtful, // found, but the type or a contact lies within its uncertainty of a boundary,
              // or TT - UT is uncertain by more than 30 s (before 1600, after 2150)
    Failed,   // a search did not find its moment: the values are not to be shown
};

enum class SolarKind { Total, Annular, Hybrid, Partial };
enum class LunarKind { Total, Partial, Penumbral };

// "皆既日食", "金環日食", "金環皆既日食", "部分日食"; "皆既月食", "部分月食", "半影月食".
const char* solarKindName(SolarKind kind);
const char* lunarKindName(LunarKind kind);

// Where the body stands at a contact for the place, degrees.
struct Horizontal {
    double altitude = 0; // geometric, of the centre, topocentric
    double azimuth = 0;  // from north through east, 0..360
    bool above = false;  // the body above the horizon: its upper limb (the Sun) or its centre
                         // (the Moon) above horizon::kHorizonArcsec, as for risings and settings
};

struct Contact {
    double jdTT = 0;                      // the moment, Terrestrial Time
    double jdJST = 0;                     // the same in Japan Standard Time (Julian date)
    long long jstMinute = 0;              // rounded to the minute, minutes since day 0 00:00
    std::optional<Horizontal> horizontal; // with a place only
};

struct LocalSolarEclipse {
    SolarKind kind = SolarKind::Partial; // what the place sees: total, annular or partial
    bool seen = false;             // some part of it with the Sun above the horizon (checked at the
                                   // contacts and every 5 minutes between them)
    Contact begin;                 // 始め (first contact)
    std::optional<Contact> second; // 第2接触, where the place is in the central path
    Contact maximum;               // 最大: the least distance of the centres
    std::optional<Contact> third;  // 第3接触
    Contact end;                   // 終わり (fourth contact)
    double magnitude = 0;          // 食分: the fraction of the Sun's diameter covered at maximum
    double obscuration = 0;        // the fraction of the Sun's disc covered at maximum
};

struct SolarEclipse {
    SolarKind kind = SolarKind::Partial;
    bool central = false; // the shadow's axis meets the Earth
    Contact greatest;     // the axis nearest the Earth's centre (no place)
    double gamma = 0;     // that least distance, Earth radii
    Quality quality = Quality::Sure;
    std::optional<LocalSolarEclipse> local; // with a place, where the place is eclipsed
};

// The lunar contacts in time order.
enum LunarContact { P1 = 0, U1, U2, Greatest, U3, U4, P4 };

struct LunarEclipse {
    LunarKind kind = LunarKind::Penumbral;
    double umbralMagnitude = 0; // negative for a penumbral eclipse
    double penumbralMagnitude = 0;
    std::array<std::optional<Contact>, 7> contacts; // U1..U4 as the kind has them
    Quality quality = Quality::Sure;
};

// The moment of greatest eclipse of either kind.
const Contact& greatestOf(const SolarEclipse& e);
const Contact& greatestOf(const LunarEclipse& e);

// solarEclipses: the solar eclipses whose greatest eclipse falls in a JST year.
//   year   sky::kFirstYear..sky::kLastYear (-1999..3000); throws std::out_of_range outside
//   place  the observer (height 0), or none
// Method: the new moons of lunisolar::phasesBetween; at each, the apparent geocentric Sun
// (sky::apparentSunVector) and Moon (lunisolar::apparentMoonVector), rotated to the true
// equator and equinox of date (eraPmat06, eraNut00b), at nine moments two hours apart, between
// which a polynomial interpolates them (under 1 m). The geometry is solved directly, without
// Besselian elements: for the global type the Earth is made a sphere by stretching the axis
// coordinate by 1/(1 - f) (GRS80), the shadow's axis is the line from the Sun's centre through
// the Moon's, and the cones touch the Sun (radius 959.63" at 1 au) and the Moon (k a); for a
// place, the topocentric centres' separation against the topocentric semidiameters. Each moment
// by sky::searchBracket to 1e-6 day; JST by the precise mode's time scales (sky::jstFromTT).
// Measured against swetest (tests/eclipse): see doc/reference.md.
std::vector<SolarEclipse> solarEclipses(int year, const std::optional<horizon::Observer>& place);

// lunarEclipses: the lunar eclipses whose greatest eclipse falls in a JST year.
// Method: the full moons; the apparent Moon's geocentric distance from the point opposite the
// apparent Sun against the shadow's radii (kDanjonFactor) plus the Moon's semidiameter; with a
// place, the Moon's topocentric altitude at each contact.
std::vector<LunarEclipse> lunarEclipses(int year, const std::optional<horizon::Observer>& place);

// solarEclipsesBetween, lunarEclipsesBetween: the same for the eclipses whose greatest
// eclipse's JST day lies in firstDay..lastDay (day numbers, calendar/civil_date.h), both in
// -1999..3000 (std::out_of_range otherwise); each eclipse exactly as its year's list has it
// (a month's in about a tenth of the year's time: 0.3-0.5 ms natively against 2.5-4.9 ms).
std::vector<SolarEclipse> solarEclipsesBetween(long long firstDay, long long lastDay,
                                               const std::optional<horizon::Observer>& place);
std::vector<LunarEclipse> lunarEclipsesBetween(long long firstDay, long long lastDay,
                                               const std::optional<horizon::Observer>& place);

} // namespace sorvane::eclipse
