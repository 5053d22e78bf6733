#include "wareki/historical_calendar.h"

#include "lunisolar/lunisolar_year.h"
#include "wareki/western.h"

#include <algorithm>
#include <string>

namespace sorvane::wareki {

const MonthRow* monthOf(long long jdn) {
    if (jdn < kFirstTableJdn || jdn > kLastTableJdn) {
        return nullptr;
    }
    const auto rows = monthRows();
    const auto after =
        std::upper_bound(rows.begin(), rows.end(), jdn,
                         [](long long d, const MonthRow& r) { return d < r.jdnStart; });
    return after == rows.begin() ? nullptr : &*(after - 1);
}

int usedDays(const MonthRow& row) {
    return std::min<long long>(row.days, kLastTableJdn - row.jdnStart + 1);
}

const MonthRow* findMonth(int year, int month, bool leap) {
    const auto rows = monthRows();
    // Each year has its 12 or 13 rows together, in order.
    auto it = std::lower_bound(rows.begin(), rows.end(), year,
                               [](const MonthRow& r, int y) { return r.year < y; });
    for (; it != rows.end() && it->year == year; ++it) {
        if (it->month == month && (it->leap != 0) == leap) {
            return &*it;
        }
    }
    return nullptr;
}

int leapMonthOf(int year) {
    for (int m = 1; m <= 12; ++m) {
        if (findMonth(year, m, true)) {
            return m;
        }
    }
    return 0;
}

std::optional<LunisolarDate> lunisolarDateOf(long long jdn) {
    if (const MonthRow* row = monthOf(jdn)) {
        return LunisolarDate{row->year,      row->month,
                             row->leap != 0, static_cast<int>(jdn - row->jdnStart + 1),
                             usedDays(*row), LunisolarSource::Table};
    }
    const WesternDate g = westernDate(Western::Gregorian, jdn);
    if (jdn <= kLastTableJdn || !lunisolar::inRange(g.year)) {
        return std::nullopt;
    }
    const lunisolar::LunisolarYear year(g.year, lunisolar::Quarters::Left);
    const lunisolar::LunarDay day = year.day(jdn - 1);
    // The 11th and 12th months reach into January and February of the next year.
    const int lunarYear = day.month >= 11 && g.month <= 2 ? g.year - 1 : g.year;
    return LunisolarDate{lunarYear, day.month,       day.leap,
                         day.day,   day.monthLength, LunisolarSource::Rule};
}

std::string monthText(int month, bool leap) {
    return (leap ? "閏" : "") + std::to_string(month) + "月";
}

std::string lunisolarDateText(int month, bool leap, int day) {
    return monthText(month, leap) + std::to_string(day) + "日";
}

} // namespace sorvane::wareki
