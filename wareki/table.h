// The historical lunisolar calendar of Japan as a table: every month from year 1 to 明治5年12月
// and every 元号 (with the reign counts before and between them) to 明治. The rows are those
// of data/wareki/months.tsv and eras.tsv (data/wareki/SOURCE.md says where they come from);
// the build writes them into the program, which never reads the files.
#pragma once

#include <span>

namespace sorvane::wareki {

// One lunisolar month.
struct MonthRow {
    int jdnStart; // Julian Day Number of its 1日
    int year;     // lunisolar year: the AD year of that year's 正月1日
    int month;    // 1..12
    int leap;     // 1: 閏月, following the month of the same number
    int days;     // 29 or 30 (the table's last month, 明治5年12月, was cut to 2 days)
};

// One era start, or an era taken up again on one line of 南北朝.
struct EraRow {
    const char* name;          // "元禄", "推古天皇"
    const char* reading;       // "げんろく"
    const char* readingsOther; // other readings, '|'-separated; may be empty
    const char* type;          // "元号", or "天皇" for a count of reign years
    const char* line;          // "both", "北朝" or "南朝"
    const char* event;         // "start", or "resume" for an era taken up again
    int firstYear;             // the lunisolar year of its 元年
    int startJdn;              // its first day (明治: 慶応4年1月1日, as proclaimed)
    int startYear;             // the lunisolar date of that day
    int startMonth;
    int startLeap;
    int startDay;
    int kaigenJdn; // the day of the 改元 (equals startJdn but for 明治)
};

// In ascending order of jdnStart, without gaps.
std::span<const MonthRow> monthRows();
// In ascending order of startJdn.
std::span<const EraRow> eraRows();

} // namespace sorvane::wareki
