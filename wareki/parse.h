// Reading a 和暦 date: 「元禄15年12月14日」, 「延元元年閏十月五日」, 「南朝正平7年正月廿日」.
#pragma once

#include "wareki/eras.h"

#include <optional>
#include <string>
#include <string_view>

namespace sorvane::wareki {

enum class ParseStatus {
    Ok,
    Empty,           // nothing but spaces
    NotADate,        // not 元号 N 年 M 月 D 日
    UnknownEra,      // no era or reign count of that name
    NotOnLine,       // 南朝 or 北朝 named for an era of the other line only
    BadNumber,       // year 0, a month outside 1..12 or a day outside 1..30 (31 in 1873 on)
    BeforeEraStart,  // a day of the era's first year before the era began
    AfterEraEnd,     // a day after the era ended (a later year, or after the 改元)
    NoLeapMonth,     // a 閏月 the year did not have
    DayPastMonthEnd, // the 30th of a 29-day month (or a day past a Gregorian month's end)
    AfterReform, // 明治5年12月3日 or later: that day was 明治6年1月1日 of the Gregorian calendar
};

struct ParsedWareki {
    ParseStatus status = ParseStatus::NotADate;
    long long jdn = 0;        // Ok: the day (Julian Day Number)
    std::optional<Line> line; // Ok: the line the era was read on, when it was one line's
    std::string message;      // not Ok: why, in Japanese, naming the nearest reading
    std::string suggestion;   // not Ok: the nearest valid reading, when there is one
};

// Reads text (spaces ignored): an optional 南朝 or 北朝, an era or reign count, its year (a
// number or 元), 閏 for a leap month, the month (a number or 正), the day (a number, 朔 for the
// 1st or 晦 for the month's last day) and 日. Numbers are half-width or full-width digits or
// kanji numerals (十二, 二十, 廿, 卅). From 明治6年 on the month and the day are of the
// Gregorian calendar.
ParsedWareki parseWareki(std::string_view text);

// What the converter reads from one field: a 和暦 date (parseWareki), or a Western date
// YYYY-MM-DD of the Gregorian calendar (of the Julian one with julian; julian says nothing of
// a text that names a known era, which is read as 和暦). Every front end reads its input
// through this.
struct ReadDay {
    bool ok = false;
    long long jdn = 0;
    const char* inputCalendar = "wareki"; // "wareki", "gregorian" or "julian"
    std::string message; // not ok: why, in Japanese (naming the nearest reading, when known)
};
ReadDay readDay(std::string_view text, bool julian);

// The 和暦 text of a day: "元禄15年12月14日"; "南朝 延元3年8月28日" on one line; from 1873
// the era year and the Gregorian month and day. Empty for a day with no era year.
std::string warekiText(long long jdn, std::optional<Line> line = std::nullopt);

} // namespace sorvane::wareki
