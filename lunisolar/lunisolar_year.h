// One Gregorian year of the Moon and the lunisolar calendar, computed once and then asked
// day by day: the phases, the lunisolar months with their 閏, the 中気, the 六曜 and the
// lunisolar days of the almanac (旧正月, 伝統的七夕, 十五夜, 十三夜).
#pragma once

#include "lunisolar/lunisolar_calendar.h"
#include "lunisolar/moon_phases.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvane::lunisolar {

// The lunisolar calendar is computed for 1900-2100: the range of the Moon's and the
// Earth's series, and of the calendar as it has been used. January 1900 is computed from
// the 冬至 and new moons of late 1899.
inline constexpr int kFirstYear = 1900;
inline constexpr int kLastYear = 2100;
bool inRange(int year);

enum class SpecialDay {
    KyuShogatsu, // 旧正月: 1月1日
    Tanabata, // 伝統的七夕: day 7 of the month beginning on the 朔 on or before 処暑's date
    Jugoya,   // 十五夜: 8月15日
    Jusanya,  // 十三夜: 9月13日
};
const char* specialDayName(SpecialDay day);

// What the lunisolar calendar says of one day.
struct LunarDay {
    int month = 0;       // 1..12
    int day = 0;         // 1..30
    bool leap = false;   // in a 閏 month
    int monthLength = 0; // 29 or 30
    int rokuyo = 0;      // 0 大安 .. 5 仏滅 (rokuyoName)
    std::optional<SpecialDay> special;
};

// The texts of a lunar date, without the 旧 or 旧暦 a caller puts before them:
std::string lunarDateText(const LunarDay& day);  // "6月14日", "閏6月14日"
std::string lunarMonthText(const LunarDay& day); // "6月", "閏6月"
std::string lunarShortText(const LunarDay& day); // "6/14", "閏6/14" (a calendar cell's)

// Whether a year computes its quarter and full moons (phases()), which its months and days
// do not need.
enum class Quarters { Computed, Left };

class LunisolarYear {
  public:
    // Computes the year; throws std::out_of_range outside kFirstYear..kLastYear.
    //   quarters  Left: phases() holds the year's new moons only
    //   before    the year before, if the caller has it: its 中気 and new moons that this
    //             year needs too are taken from it instead of being searched again (the
    //             same moments: each is searched from the same start either way)
    explicit LunisolarYear(int year, Quarters quarters = Quarters::Computed,
                           const LunisolarYear* before = nullptr);

    int year() const { return year_; }
    long long firstDay() const { return firstDay_; } // day number of January 1
    long long lastDay() const { return lastDay_; }   // day number of December 31

    // The 朔, 上弦, 望 and 下弦 whose JST date lies in the year, in time order.
    const std::vector<PhaseMoment>& phases() const { return phases_; }
    // The lunisolar months that hold a day of the year, in order.
    const std::vector<LunarMonth>& months() const { return months_; }
    // The 中気 from the 冬至 before the year to the 冬至 after it, in time order.
    const std::vector<Chuki>& chuki() const { return chuki_; }
    // The new moons from 31 days before the 冬至 before the year to 31 days after the 冬至
    // after it (so from before 22 November of the year before), in time order.
    const std::vector<PhaseMoment>& newMoons() const { return newMoons_; }

    // The lunisolar date of a day of the year (day number firstDay()..lastDay()); throws
    // std::out_of_range for another day.
    LunarDay day(long long dayNumber) const;

  private:
    int year_;
    long long firstDay_;
    long long lastDay_;
    std::vector<PhaseMoment> phases_;
    std::vector<PhaseMoment> newMoons_;
    std::vector<LunarMonth> months_;
    std::vector<Chuki> chuki_;
    long long tanabataDay_ = 0;
};

} // namespace sorvane::lunisolar
