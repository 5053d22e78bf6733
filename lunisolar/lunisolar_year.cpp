#include "lunisolar/lunisolar_year.h"

#include "calendar/julian_day.h"
#include "calendar/solar_terms.h"
#include "sky/erfa_sun.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace sorvane::lunisolar {

namespace {

long long dayOf(int year, int month, int day) {
    return static_cast<long long>(std::floor(julianday(year, month, day)));
}

// The 中気 of a month of a year (the even solar term that month holds), from the apparent
// Sun of the precise mode.
Chuki chukiOf(int year, int month) {
    const double target = sekkilong(month, 1);
    Chuki c;
    c.longitude = static_cast<int>(std::lround(target)) % 360;
    c.jstMinute = jstMinute(sky::solveApparentLongitude(target, julianday(year, month, 21)));
    return c;
}

} // namespace

bool inRange(int year) {
    return year >= kFirstYear && year <= kLastYear;
}

std::string lunarMonthText(const LunarDay& day) {
    return std::string(day.leap ? "閏" : "") + std::to_string(day.month) + "月";
}

std::string lunarDateText(const LunarDay& day) {
    return lunarMonthText(day) + std::to_string(day.day) + "日";
}

std::string lunarShortText(const LunarDay& day) {
    return std::string(day.leap ? "閏" : "") + std::to_string(day.month) + "/" +
           std::to_string(day.day);
}

const char* specialDayName(SpecialDay day) {
    switch (day) {
    case SpecialDay::KyuShogatsu:
        return "旧正月";
    case SpecialDay::Tanabata:
        return "伝統的七夕";
    case SpecialDay::Jugoya:
        return "十五夜";
    case SpecialDay::Jusanya:
        return "十三夜";
    }
    return "";
}

LunisolarYear::LunisolarYear(int year, Quarters quarters, const LunisolarYear* before)
    : year_(year), firstDay_(dayOf(year, 1, 1)), lastDay_(dayOf(year, 12, 31)) {
    if (!inRange(year)) {
        throw std::out_of_range("the lunisolar calendar is computed for " +
                                std::to_string(kFirstYear) + "-" + std::to_string(kLastYear) +
                                ", not " + std::to_string(year));
    }
    if (before != nullptr && before->year() != year - 1) {
        before = nullptr;
    }
    // The 中気 from the 冬至 of the year before to the 冬至 of the year after: the year's
    // days lie in the months numbered from the first to the last. The year before's run
    // ends with the thirteen that open this one.
    constexpr std::size_t kShared = 13;
    if (before != nullptr) {
        chuki_.assign(before->chuki_.end() - kShared, before->chuki_.end());
    } else {
        chuki_.push_back(chukiOf(year - 1, 12));
        for (int m = 1; m <= 12; ++m) {
            chuki_.push_back(chukiOf(year, m));
        }
    }
    for (int m = 1; m <= 12; ++m) {
        chuki_.push_back(chukiOf(year + 1, m));
    }

    // The new moons around them (those the year before found already taken from it), and
    // the year's other phases.
    const long long from = chuki_.front().day() - 31;
    const long long to = chuki_.back().day() + 31;
    long long searchFrom = from;
    if (before != nullptr) {
        for (const PhaseMoment& m : before->newMoons_) {
            if (m.day() >= from) {
                newMoons_.push_back(m);
            }
        }
        searchFrom = std::max(from, before->chuki_.back().day() + 31 + 1);
    }
    for (const PhaseMoment& m : phasesBetween(searchFrom, to, kNewMoons)) {
        newMoons_.push_back(m);
    }
    if (quarters == Quarters::Computed) {
        phases_ = phasesBetween(firstDay_, lastDay_, kAllPhases & ~kNewMoons);
    }
    std::vector<long long> newMoonDays;
    for (const PhaseMoment& m : newMoons_) {
        newMoonDays.push_back(m.day());
        if (m.day() >= firstDay_ && m.day() <= lastDay_) {
            phases_.push_back(m);
        }
    }
    std::sort(phases_.begin(), phases_.end(),
              [](const PhaseMoment& a, const PhaseMoment& b) { return a.jdTT < b.jdTT; });

    for (const LunarMonth& m : numberMonths(newMoonDays, chuki_)) {
        if (m.firstDay <= lastDay_ && m.firstDay + m.days > firstDay_) {
            months_.push_back(m);
        }
    }

    // 伝統的七夕: the month that holds 処暑 (150 degrees) begins on the 朔 nearest before or
    // on its date.
    for (const Chuki& c : chuki_) {
        if (c.longitude != 150 || c.day() < firstDay_ || c.day() > lastDay_) {
            continue;
        }
        for (const LunarMonth& m : months_) {
            if (c.day() >= m.firstDay && c.day() < m.firstDay + m.days) {
                tanabataDay_ = m.firstDay + 6;
            }
        }
    }
}

LunarDay LunisolarYear::day(long long dayNumber) const {
    for (const LunarMonth& m : months_) {
        if (dayNumber < m.firstDay || dayNumber >= m.firstDay + m.days || dayNumber < firstDay_ ||
            dayNumber > lastDay_) {
            continue;
        }
        LunarDay d;
        d.month = m.number;
        d.day = static_cast<int>(dayNumber - m.firstDay) + 1;
        d.leap = m.leap;
        d.monthLength = m.days;
        d.rokuyo = rokuyo(d.month, d.day);
        if (dayNumber == tanabataDay_) {
            d.special = SpecialDay::Tanabata;
        } else if (!d.leap && d.month == 1 && d.day == 1) {
            d.special = SpecialDay::KyuShogatsu;
        } else if (!d.leap && d.month == 8 && d.day == 15) {
            d.special = SpecialDay::Jugoya;
        } else if (!d.leap && d.month == 9 && d.day == 13) {
            d.special = SpecialDay::Jusanya;
        }
        return d;
    }
    throw std::out_of_range("day " + std::to_string(dayNumber) + " is not in the year " +
                            std::to_string(year_));
}

} // namespace sorvane::lunisolar
