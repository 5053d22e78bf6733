#include "almanac/limits.h"

#include "almanac/coverage.h"
#include "calendar/japanese_era.h"
#include "calendar/year_text.h"
#include "wareki/historical_calendar.h"

namespace sorvane::almanac {

std::vector<std::string> monthLimitNotes(int year, int month) {
    std::vector<std::string> notes;
    if (!keepsToSeasons(year)) {
        notes.push_back("この年は暦が季節からずれています（二十四節気が月に収まるのは" +
                        yearText(kFirstCleanYear) + "〜" + yearText(kLastCleanYear) + "年）");
    }
    if (year < kGregorianAdoptionYear) {
        notes.push_back("元号は改暦後の" + std::to_string(kGregorianAdoptionYear) +
                        "年（明治6年）から表示します");
    }
    // The month of the holiday law's first day has days before it.
    const CivilDate law = firstHolidayDate();
    const YearSpan holidaySpan = coverage(Source::Holidays);
    const bool beforeLaw = year < law.year || (year == law.year && month <= law.month);
    if (beforeLaw || year > holidaySpan.last) {
        notes.push_back("国民の祝日は" + std::to_string(law.year) + "年" +
                        std::to_string(law.month) + "月" + std::to_string(law.day) +
                        "日（祝日法の施行）から" + std::to_string(holidaySpan.last) + "年までです");
    }
    if (const YearSpan lunar = coverage(Source::Lunisolar); !lunar.contains(year)) {
        if (year >= 1 && year < kGregorianAdoptionYear) {
            // The table of the calendars then in use (wareki/), from before 1873.
            notes.push_back(
                std::string(year < wareki::kFirstRecordedYear
                                ? "旧暦・六曜は後世の推算です（日本で暦が使われたのは" +
                                      std::to_string(wareki::kFirstRecordedYear) + "年から）"
                                : "旧暦・六曜は当時の暦によります（日本暦日原典による表）") +
                "。月の満ち欠けは" + std::to_string(lunar.first) + "〜" +
                std::to_string(lunar.last) + "年のみです");
        } else {
            notes.push_back("旧暦・六曜・月の満ち欠けは" + std::to_string(lunar.first) + "〜" +
                            std::to_string(lunar.last) + "年のみです");
        }
    }
    return notes;
}

} // namespace sorvane::almanac
