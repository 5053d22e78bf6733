#include "almanac/limits.h"

#include "calendar/year_text.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_year.h"

namespace sorvane::almanac {

namespace {

// The day the holiday law took effect (in holidays::kFirstYear).
constexpr int kHolidayLawMonth = 7;
constexpr int kHolidayLawDay = 20;
// The first year of the Gregorian calendar in Japan, from which the era years are counted.
constexpr int kFirstEraYear = 1873;

} // namespace

std::vector<std::string> monthLimitNotes(int year, int month) {
    std::vector<std::string> notes;
    if (!keepsToSeasons(year)) {
        notes.push_back("この年は暦が季節からずれています（二十四節気が月に収まるのは" +
                        yearText(kFirstCleanYear) + "〜" + yearText(kLastCleanYear) + "年）");
    }
    if (year < kFirstEraYear) {
        notes.push_back("元号は改暦後の" + std::to_string(kFirstEraYear) +
                        "年（明治6年）から表示します");
    }
    const bool beforeLaw =
        year < holidays::kFirstYear || (year == holidays::kFirstYear && month <= kHolidayLawMonth);
    if (beforeLaw || year > holidays::kLastYear) {
        notes.push_back("国民の祝日は" + std::to_string(holidays::kFirstYear) + "年" +
                        std::to_string(kHolidayLawMonth) + "月" + std::to_string(kHolidayLawDay) +
                        "日（祝日法の施行）から" + std::to_string(holidays::kLastYear) +
                        "年までです");
    }
    if (year < lunisolar::kFirstYear || year > lunisolar::kLastYear) {
        notes.push_back("旧暦・六曜・月の満ち欠けは" + std::to_string(lunisolar::kFirstYear) +
                        "〜" + std::to_string(lunisolar::kLastYear) + "年のみです");
    }
    return notes;
}

} // namespace sorvane::almanac
