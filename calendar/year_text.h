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

// The year as a printed 暦 writes it, without 年: "2026", and before year 1 紀元前 with
// the historians' count (astronomical year 0 is 紀元前1年, -500 紀元前501年).
std::string printedYearText(int year);
// "2026年1月17日", "紀元前501年3月1日".
std::string printedDateText(int year, int month, int day);

} // namespace sorvane
