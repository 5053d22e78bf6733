// The lunisolar date of any day: from the historical table up to 1872-12-31 (明治5年12月2日,
// the calendar's last day: 12月3日 became 1873-01-01), from the lunisolar rule of
// lunisolar/ for 1900-2100; none before the table, in 1873-1899 (the Gregorian calendar,
// with no official lunisolar date, and before the rule's years) or after 2100.
#pragma once

#include "wareki/table.h"

#include <optional>
#include <string>

namespace sorvane::wareki {

inline constexpr long long kFirstTableJdn = 1721466; // 1年正月1日, Julian 0001-02-12
inline constexpr long long kLastTableJdn = 2405159;  // 明治5年12月2日 = 1872-12-31
// The first year of the published reconstruction (内田正男『日本暦日原典』 covers 445–1872);
// the table's months before it are back-calculated, no calendar being in use in Japan then.
inline constexpr int kFirstRecordedYear = 445;

enum class LunisolarSource {
    Table, // the historical calendar (the table)
    Rule,  // the lunisolar rule of lunisolar/ (1900-2100)
};

struct LunisolarDate {
    int year = 0;  // lunisolar year: the AD year of its 正月1日
    int month = 0; // 1..12
    bool leap = false;
    int day = 0;
    int monthLength = 0; // 29 or 30; 2 for 明治5年12月
    LunisolarSource source = LunisolarSource::Table;
};

std::optional<LunisolarDate> lunisolarDateOf(long long jdn);

// The table's month of a lunisolar year, or nullptr.
const MonthRow* findMonth(int year, int month, bool leap);
// The month a day of the table lies in, or nullptr outside kFirstTableJdn..kLastTableJdn.
const MonthRow* monthOf(long long jdn);
// The days of a table month as it was used: its days, but 2 for 明治5年12月.
int usedDays(const MonthRow& row);
// The number of the year's 閏月, or 0 (a year of the table).
int leapMonthOf(int year);

// "12月", "閏8月".
std::string monthText(int month, bool leap);
// "12月14日", "閏8月1日".
std::string lunisolarDateText(int month, bool leap, int day);

} // namespace sorvane::wareki
