#include "almanac/month_page.h"

#include "calendar/day_cycles.h"
#include "calendar/japanese_era.h"
#include "calendar/year_text.h"
#include "precise/precise_year.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace sorvane::almanac {

namespace {

std::string twoDigits(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string clock(int hour, int minute) {
    return twoDigits(hour) + ":" + twoDigits(minute);
}

std::string degrees(double longitude) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%g°", longitude);
    return buf;
}

// 0 Sunday .. 6 Saturday.
int weekdayOf(const CivilDate& date) {
    return youbi(static_cast<double>(dayNumber(date))) - 1;
}

int daysInMonth(int year, int month) {
    const CivilDate next = month == 12 ? CivilDate{year + 1, 1, 1} : CivilDate{year, month + 1, 1};
    return static_cast<int>(dayNumber(next) - dayNumber(CivilDate{year, month, 1}));
}

} // namespace

std::string lunarCellText(const lunisolar::LunarDay& day) {
    const std::string month =
        std::string("旧") + (day.leap ? "閏" : "") + std::to_string(day.month);
    return day.day == 1 ? month + "月" : month + "/" + std::to_string(day.day);
}

const CalendarYears::YearData& CalendarYears::year(int y) {
    auto found = years_.find(y);
    if (found != years_.end()) {
        return found->second;
    }
    YearData data;
    data.almanac = yearAlmanac(tables_, static_cast<std::int16_t>(y),
                               AlmanacOptions::everything(precise::inRange(y)));

    for (const Event& e : data.almanac.solarTerms) {
        const std::string title = eventTitle(e);
        data.marks.push_back(
            {e.date, e.hour * 60 + e.minute,
             e.kind == EventKind::Doyo ? std::string("土用入り") : title,
             title + " " + clock(e.hour, e.minute) + "（太陽黄経 " + degrees(e.longitude) + "）"});
    }
    for (const Event& z : data.almanac.zassetsu) {
        switch (z.kind) {
        case EventKind::ZassetsuMoment:
            data.marks.push_back({z.date, z.hour * 60 + z.minute, z.name,
                                  z.name + " " + clock(z.hour, z.minute) + "（" + z.rule + "）"});
            break;
        case EventKind::UshiDay: {
            // "夏の土用 一の丑" shows as "土用一の丑" in the cell.
            const auto space = z.name.find(' ');
            data.marks.push_back(
                {z.date, Mark::kWholeDay,
                 "土用" + (space == std::string::npos ? z.name : z.name.substr(space + 1)),
                 z.name});
            break;
        }
        case EventKind::DoyoPeriod:
            data.doyoPeriods.push_back(z);
            break;
        default:
            data.marks.push_back({z.date, Mark::kWholeDay, z.name, z.name + "（" + z.rule + "）"});
            break;
        }
    }
    if (data.almanac.lunisolar) {
        for (const lunisolar::PhaseMoment& p : data.almanac.lunisolar->phases()) {
            const int minute = p.minuteOfDay();
            data.marks.push_back({civilDate(p.day()), minute, std::string(),
                                  std::string(lunisolar::phaseName(p.phase)) + " " +
                                      clock(minute / 60, minute % 60)});
        }
        for (long long n = data.almanac.lunisolar->firstDay();
             n <= data.almanac.lunisolar->lastDay(); ++n) {
            if (const auto special = data.almanac.lunisolar->day(n).special) {
                const std::string name = lunisolar::specialDayName(*special);
                data.marks.push_back({civilDate(n), Mark::kWholeDay, name, name});
            }
        }
    }
    std::stable_sort(data.marks.begin(), data.marks.end(), [](const Mark& a, const Mark& b) {
        return std::tie(a.date, a.minuteOfDay) < std::tie(b.date, b.minuteOfDay);
    });
    return years_.emplace(y, std::move(data)).first->second;
}

MonthPage CalendarYears::monthPage(int y, int month) {
    const YearData& data = year(y);
    MonthPage page;
    page.year = y;
    page.month = month;
    page.eraText = monthEraText(y, month);
    page.yearKanshi = tables_.sexagenaryNames[static_cast<std::size_t>(floorMod(y - 1984, 60) + 1)];
    page.precise = data.almanac.precise;
    page.modeText = page.precise
                        ? "時刻は観測所の方式（IAU の太陽モデル）"
                        : "時刻は既定の理論（観測所の方式は" + std::to_string(precise::kFirstYear) +
                              "〜" + std::to_string(precise::kLastYear) + "年）";

    const CivilDate first{y, month, 1};
    const int lead = weekdayOf(first);
    const int days = daysInMonth(y, month);
    const int weeks = (lead + days + 6) / 7;
    page.cells.reserve(static_cast<std::size_t>(weeks * 7));
    for (int i = 0; i < weeks * 7; ++i) {
        DayCell cell;
        cell.date = addDays(first, i - lead);
        cell.inMonth = cell.date.month == month && cell.date.year == y;
        cell.weekday = i % 7;
        cell.kanshi = tables_.sexagenaryNames[static_cast<std::size_t>(
            kanshi(static_cast<double>(dayNumber(cell.date))))];
        if (cell.inMonth) {
            const long long n = dayNumber(cell.date);
            for (const Mark& mark : data.marks) {
                if (mark.date == cell.date && !mark.cellName.empty()) {
                    cell.marks.push_back(mark.cellName);
                }
            }
            for (const holidays::Holiday& h : data.almanac.holidays) {
                if (h.date == cell.date) {
                    cell.holiday = h.name;
                }
            }
            if (data.almanac.lunisolar) {
                cell.lunar = data.almanac.lunisolar->day(n);
                cell.rokuyo = lunisolar::rokuyoName(cell.lunar->rokuyo);
                for (const lunisolar::PhaseMoment& p : data.almanac.lunisolar->phases()) {
                    if (p.day() == n) {
                        cell.phase = PhaseMark{p.phase, p.minuteOfDay() / 60, p.minuteOfDay() % 60};
                    }
                }
            }
        }
        page.cells.push_back(std::move(cell));
    }
    return page;
}

std::vector<std::string> CalendarYears::dayDetails(const CivilDate& date) {
    const YearData& data = year(date.year);
    const std::string dayOfMonth =
        std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
    std::vector<std::string> lines;
    lines.push_back(yearText(date.year) + "年" + dayOfMonth + "（" +
                    tables_.weekdayNames[static_cast<std::size_t>(weekdayOf(date) + 1)] + "）");
    if (const auto era = eraYearOf(date.year, date.month, date.day)) {
        lines.push_back(eraYearText(*era) + dayOfMonth);
    }
    lines.push_back("干支 " + tables_.sexagenaryNames[static_cast<std::size_t>(
                                  kanshi(static_cast<double>(dayNumber(date))))]);
    for (const holidays::Holiday& h : data.almanac.holidays) {
        if (h.date == date) {
            lines.push_back("祝日 " + h.name);
        }
    }
    if (data.almanac.lunisolar) {
        const lunisolar::LunarDay lunar = data.almanac.lunisolar->day(dayNumber(date));
        lines.push_back(std::string("旧暦 ") + (lunar.leap ? "閏" : "") +
                        std::to_string(lunar.month) + "月" + std::to_string(lunar.day) + "日（" +
                        (lunar.monthLength == 30 ? "大の月" : "小の月") + "）");
        lines.push_back(std::string("六曜 ") + lunisolar::rokuyoName(lunar.rokuyo));
    }
    for (const Mark& mark : data.marks) {
        if (mark.date == date) {
            lines.push_back(mark.detail);
        }
    }
    for (const Event& period : data.doyoPeriods) {
        if (period.date <= date && date <= period.lastDate) {
            lines.push_back(period.name + "（" + monthDayText(period.date) + "〜" +
                            monthDayText(period.lastDate) + "）");
        }
    }
    return lines;
}

} // namespace sorvane::almanac
