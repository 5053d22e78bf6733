// The year as the year box holds it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace sorvane {

class YearTextError : public std::invalid_argument {
  public:
    using std::invalid_argument::invalid_argument;
};

// parseYearText: the year of a text of decimal digits with an optional leading sign.
// Throws YearTextError, with a message that quotes the text, for anything that is not a
// whole number from -32768 to 32767.
std::int16_t parseYearText(std::string_view text);

// The year as the program writes it: decimal digits, a leading "-" when negative.
std::string yearText(int year);

} // namespace sorvane
