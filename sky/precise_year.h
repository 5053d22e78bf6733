// The year's solar terms and 土用 entries from the IAU model, in Japan Standard Time.
#pragma once

#include "calendar/solar_terms.h"
#include "calendar/sun_moments.h"

#include <array>

namespace sorvane::sky {

// The years of the precise mode. eraEpv00 is fitted to 1900-2100, where the moments are
// good to a second; over -1999..3000 every moment carries its uncertainty (sky/delta_t.h).
inline constexpr int kFirstYear = -1999;
inline constexpr int kLastYear = 3000;

bool inRange(int year);

// One moment at which the Sun's apparent longitude reaches a target.
struct PreciseEvent {
    int month = 0;                     // the month the event belongs to, 1..12
    EventKind kind = EventKind::Setsu; // 節, 土用, 中気, or Longitude for anything else
    double target = 0;                 // apparent longitude, degrees
    double jdTT = 0;                   // the moment, Julian date in Terrestrial Time
    double jdJST = 0;                  // the same moment in Japan Standard Time, not rounded
    double deltaT = 0; // TT - civil time used, seconds (TT - UTC, or TT - UT before 1960)
    // Uncertainty of the moment in civil time, seconds: TT - UT's and the Sun model's.
    double uncertainty = 0;
    // The moment in JST rounded to the nearest minute: day of `month` (not carried into the
    // next month, as the result lines count it), hour 0..23, minute 0..59.
    double day = 0;
    double hour = 0;
    double minute = 0;
};

// preciseEvent: the moment in month `month` of `year` at which the apparent longitude
// reaches `target`; guessDay is a day of that month within about ten days of the event.
PreciseEvent preciseEvent(int year, int month, EventKind kind, double target, double guessDay);

// PreciseMoments: the precise mode as an engine of the Sun's moments (preciseEvent's jdJST).
// Years kFirstYear..kLastYear.
class PreciseMoments : public SunMoments {
  public:
    double jstMoment(int year, int month, double target, double guessDay) const override;
    bool precise() const override { return true; }
};

// The 28 events of the year in the result lines' order: per month the 節, the 土用 entry
// (January, April, July, October) and the 中気. Years kFirstYear..kLastYear.
std::array<PreciseEvent, 28> preciseYear(int year);

} // namespace sorvane::sky
