// The solar-term finder: its shared variables and the steps that find one event.
#pragma once

#include "calendar/calculation_error.h"
#include "calendar/solar_terms.h"
#include "ephemeris/sun_components.h"
#include "ephemeris/tables.h"

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace sorvane {

// One found event, as the finder left it.
struct EventMoment {
    int month = 0; // 1..12
    EventKind kind = EventKind::Setsu;
    double target = 0;    // the Sun's longitude, degrees
    double theoryDay = 0; // refined moment: day of month, theory time scale
    double jstDay = 0;    // the same moment in Japan Standard Time (before rounding)
    double day = 0;       // shown day, hour and minute (rounded to the minute)
    double hour = 0;
    double minute = 0;
};

// The finder's state. Every variable lives here, so that a window can own a finder and a
// test can drive it one step at a time. All moments are a day of month mm of year yy whose
// fraction is the time of day; before hyouji they are in the theory's time scale.
class Finder {
  public:
    explicit Finder(const Tables& tables) : tables_(tables) {}

    std::int16_t yy = 0; // year being calculated
    std::int16_t mm = 0; // month being processed, 1..12
    double dd = 0;       // trial moment
    double d2 = 0;       // current estimate; after hyouji, that moment in JST
    double nl1 = 0;      // the Sun's longitude where the whole-day search stopped, degrees
    double sekkunit = 0; // slope: days per degree near the event
    double gosa = 0;     // light time plus the JST offset, days
    double dx = 0;       // shown day of month
    double hhx = 0;      // hours since 00:00 of that day, with fraction
    double hx = 0;       // shown hour
    double mx = 0;       // shown minute
    std::int16_t sx = 0; // whole seconds, for rounding only

    SunState sunState;                                    // left by the last evaluation
    SunComponents components;                             // that evaluation's partial results
    std::array<std::array<std::string, 3>, 13> kekka;     // [month 1..12][lineColumn]
    std::array<std::array<EventMoment, 3>, 13> moments{}; // [month 1..12][lineColumn]

    // Evaluates the Sun at (yy, mm, dd) into sunState.
    void sun();

    // One chord step towards month mm's 節 (bl = 0) or 中気 (bl = 1): dd = d2 + (target -
    // longitude) sekkunit, evaluate there, d2 = dd. For March's 中気 (0 degrees) a longitude
    // above 5 degrees still lies short of the target and 360 is added to the difference.
    void reach(int bl);
    // The same towards month mm's 土用 entry, without the adjustment.
    void reachdoou();

    // Converts d2 to JST (light time for sunState.radius, +9 h, minus 0.91 s a year since
    // 1885), rounds it to the minute and stores the line of kind hl in kekka[mm][hl].
    // Any other hl stores nothing.
    void hyouji(int hl);

    // The whole year: 28 events into kekka and moments.
    // Throws CalculationError when an event's moment is not finite or lies further than
    // kMomentDayLimit days from its month, or when the whole-day search runs out of days;
    // nothing is then converted to a whole number.
    void calculate(std::int16_t year);

    // findLongitude: the moment at which the Sun reaches `target` degrees in month `month` of
    // `year`, found exactly as the yearly calculation finds its events: the whole-day search
    // from startDay (a whole day close before the event), the slope over the 0.001 day before
    // the stopping day, three chord steps, then hyouji's conversion to JST and rounding.
    // Used for the 雑節 moments 入梅 (80) and 半夏生 (100). A target of 0 takes the 春分 wrap
    // rules; other targets within 12 degrees of 0 cannot be searched by whole days and throw
    // std::invalid_argument. Overwrites the shared variables; kekka and moments are left
    // alone. Returns the moment with kind EventKind::Longitude.
    EventMoment findLongitude(std::int16_t year, std::int16_t month, double startDay,
                              double target);

    // The 28 events in the result box's order: per month 節, 土用 (months 1, 4, 7, 10), 中気.
    std::array<EventMoment, 28> orderedMoments() const;

  private:
    // Whole-day search from dd until the test says the event has been reached; then the
    // slope over the 0.001 day before that day. marchChuki selects the 春分 wrap rules.
    void searchAndMeasure(double target, bool marchChuki);
    void refineAndShow(EventKind kind, double target);
    // The moment d2 as found, then hyouji(lineColumn(kind)) and the shown day, hour and minute.
    EventMoment show(EventKind kind, double target);
    // One chord step: dd = d2 + delta sekkunit, evaluate there, d2 = dd.
    void chordStep(double delta);

    const Tables& tables_;
};

} // namespace sorvane
