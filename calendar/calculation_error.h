// The error every engine of the Sun's moments and every front end shares: a calculation
// that found no usable moment.
#pragma once

#include <stdexcept>
#include <string>

namespace sorvane {

// Every moment an engine of the Sun's moments returns lies within this many days of the start
// of its month (the whole range of years stays within -34..357 with the shipped terms); one
// further off is CalculationError's TooFar.
inline constexpr double kMomentDayLimit = 1000;

// A calculation that found no usable moment: the term tables make the Sun stall, race or
// leave the numbers. what() is one line naming the year, the month and the longitude.
// The code and the numbers say what went wrong, for a front end to word in its own language;
// what() is the terminal program's English line.
class CalculationError : public std::runtime_error {
  public:
    enum class Code {
        NotReached, // the whole-day search ran out of days before the Sun reached target
        TooFar,     // the found moment lies more than kMomentDayLimit days from its month
        NotFinite,  // the found moment is not a finite number
    };
    CalculationError(Code code, int year, int month, double target, const std::string& what)
        : std::runtime_error(what), code_(code), year_(year), month_(month), target_(target) {}
    Code code() const { return code_; }
    // The term file whose values are at fault.
    static constexpr const char* file() { return "planet.txt"; }
    int year() const { return year_; }
    int month() const { return month_; }
    // The Sun's longitude searched for, degrees.
    double target() const { return target_; }

  private:
    Code code_;
    int year_;
    int month_;
    double target_;
};

} // namespace sorvane
