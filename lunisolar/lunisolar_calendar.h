// The rules of the lunisolar calendar (旧暦) as used in Japan since 1844: months from the
// new moons, their numbers and leap months from the 中気, and the 六曜.
#pragma once

#include <vector>

namespace sorvane::lunisolar {

// A 中気: the moment the Sun's apparent longitude reaches a multiple of 30 degrees.
struct Chuki {
    int longitude = 0;       // 0, 30, .. 330; 270 is 冬至
    long long jstMinute = 0; // JST, rounded to the minute, minutes since day 0 00:00
    long long day() const;   // its JST day number
};

// A lunisolar month.
struct LunarMonth {
    long long firstDay = 0; // JST day number of the day of its 朔
    int days = 0;           // 30 (大) or 29 (小)
    int number = 0;         // 1..12
    bool leap = false;      // 閏: carries the number of the month before it
};

// numberMonths: the numbered months from a run of new moons and 中気.
//   newMoonDays  JST day numbers of consecutive new moons, ascending
//   chuki        the 中気 over the same stretch, any order
// Returns the months from the one containing the first 冬至 up to, not including, the one
// containing the last 冬至 (a month runs from one new moon's day to the day before the
// next's).
// Rules: a 中気 belongs to the month that contains its JST date (its minute's day). The
// month containing 冬至 is 11. When the next month containing 冬至 comes thirteen months
// on, the first month after 11 without a 中気 is a leap month with the number of the month
// before it; the others count on from 11 (12, 1, 2, ..). Throws std::runtime_error when the
// stretch holds fewer than two 冬至 or two 冬至 lie other than 12 or 13 months apart.
std::vector<LunarMonth> numberMonths(const std::vector<long long>& newMoonDays,
                                     const std::vector<Chuki>& chuki);

// The 六曜 of a lunisolar date: (month + day) mod 6, a leap month counting with its
// number. 0 大安, 1 赤口, 2 先勝, 3 友引, 4 先負, 5 仏滅.
int rokuyo(int month, int day);
const char* rokuyoName(int index);
// The six as almanacs and calendars list them, 先勝・友引・先負・仏滅・大安・赤口 (the order the
// days run in from a month's first 先勝): the index of rokuyo for position 0..5, -1 beyond.
int rokuyoInListOrder(int position);

} // namespace sorvane::lunisolar
