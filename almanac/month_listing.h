// The listing of one month's days with their weekdays and sexagenary names.
#pragma once

#include <cstdint>
#include <string>

namespace sorvane::almanac {

// nenkanshi: sexagenary index 1..60 of the year to which month m belongs (January belongs
// to the previous year). Floored remainders keep the cycle unbroken below year 1: year 4
// and year -56 are both 甲子.
std::int16_t nenkanshi(int year, int m);

// tukikanshi: sexagenary index 1..60 of month m; December and the next January are
// consecutive.
std::int16_t tukikanshi(int year, int m);

// One month's days as the month window and the terminal program show them.
struct MonthListing {
    std::string dayLines;     // one line per day, each ended by "\r\n"
    std::string yearCaption;  // the year's sexagenary name and 年
    std::string monthCaption; // month number, 月 and the month's sexagenary name
};

// nikkanhyouji: the listing of month m of year (its daysInMonth days), continuing the two day
// cycles from the first day's sexagenary index k1 (1..60) and weekday index w1 (1..7).
MonthListing nikkanhyouji(int year, int m, int k1, int w1);

} // namespace sorvane::almanac
