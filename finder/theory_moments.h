// The solar theory as an engine of the Sun's moments: the finder's own search for any
// longitude, as it finds the solar terms.
#pragma once

#include "calendar/sun_moments.h"
#include "ephemeris/tables.h"

namespace sorvane {

// TheoryMoments: the moment of any longitude from the solar theory and its term tables.
// Method: the finder's search (a whole-day search from guessDay - 5 at 00:00, the slope over
// the last 0.001 day, three chord steps, hyouji's conversion to JST), with the longitude
// difference taken modulo 360 degrees so that it also brackets the targets next to 0.
// Throws CalculationError (NotReached) when 20 days do not reach the target, (NotFinite)
// when the moment is not a number.
class TheoryMoments : public SunMoments {
  public:
    explicit TheoryMoments(const Tables& tables) : tables_(tables) {}
    double jstMoment(int year, int month, double target, double guessDay) const override;
    bool precise() const override { return false; }

  private:
    const Tables& tables_;
};

} // namespace sorvane
