// What the converter says of one day: its date in both Western calendars, its weekday, 干支,
// lunisolar date, 六曜 and era years; and the same as JSON, which every front end gives.
#pragma once

#include "wareki/eras.h"
#include "wareki/historical_calendar.h"
#include "wareki/western.h"

#include <optional>
#include <string>
#include <vector>

namespace sorvane::wareki {

struct DayReport {
    long long jdn = 0;
    WesternDate gregorian; // proleptic before 1582-10-15
    WesternDate julian;    // proleptic after 1582-10-04 and before year 8
    Western historical =
        Western::Gregorian; // the one a historian writes (Julian before 1582-10-15)
    int weekday = 0;        // 1..7, 1 = Sunday (日)
    int sexagenary = 0;     // 1..60, 1 = 甲子
    std::optional<LunisolarDate> lunisolar;
    int rokuyo = -1;          // 0 大安 .. 5 仏滅 from the lunisolar date; -1 without one
    std::vector<EraDay> eras; // none, one, or 南朝 and 北朝
    std::vector<std::string> warekiTexts; // "元禄15年12月14日", one per era year
};

DayReport describeDay(long long jdn);

// A lunisolar date as the converter writes it, with its month's length and where it comes
// from: "1702年12月14日（12月は30日、当時の暦の表から）".
std::string lunisolarDayText(const LunisolarDate& date);

// The report as text lines, each naming its calendar.
std::string dayReportText(const DayReport& report);
// The report as a JSON object: "jdn", "gregorian", "julian", "historicalCalendar" ("julian"
// or "gregorian"), "weekday", "sexagenary", "lunisolar" (null, or "year", "month", "leap",
// "day", "monthLength", "source": "table" for the historical calendar, "rule" for the
// computed one of 1900-2100, "text": lunisolarDayText), "rokuyo" (null without a lunisolar date),
// "eras" (each "era", "reading", "year", "line": null, "南朝" or "北朝") and "wareki" (the texts);
// first "input" (the text given) and "inputCalendar" ("wareki", "gregorian" or "julian").
std::string dayReportJson(const DayReport& report, const std::string& input,
                          const char* inputCalendar);

} // namespace sorvane::wareki
