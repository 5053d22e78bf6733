#include "almanac/month_page.h"

#include "calendar/day_cycles.h"
#include "calendar/japanese_era.h"
#include "finder/finder.h"
#include "finder/year_text.h"
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

std::string phaseName(MoonPhase phase) {
    switch (phase) {
    case MoonPhase::New:
        return "朔";
    case MoonPhase::FirstQuarter:
        return "上弦";
    case MoonPhase::Full:
        return "望";
    case MoonPhase::LastQuarter:
        return "下弦";
    }
    return {};
}

std::string lunarCellText(const LunarDate& date) {
    const std::string month = std::string("旧") + (date.leap ? "閏" : "") + std::to_string(date.month);
    return date.day == 1 ? month + "月" : month + "/" + std::to_string(date.day);
}

const CalendarYears::YearData& CalendarYears::year(int y) {
    auto found = years_.find(y);
    if (found != years_.end()) {
        return found->second;
    }
    YearData data;
    if (precise::inRange(y)) {
        data.almanac = cli::preciseAlmanac(tables_, y);
    } else {
        Finder finder(tables_);
        finder.calculate(static_cast<std::int16_t>(y));
        data.almanac = cli::defaultAlmanac(finder);
    }
    for (const cli::ShownEvent& e : data.almanac.events) {
        const std::string name = cli::eventName(tables_, e);
        data.marks.push_back({cli::eventDate(y, e), e.hour * 60 + e.minute,
                              e.kind == kDoyo ? std::string("土用入り") : name,
                              name + " " + clock(e.hour, e.minute) + "（太陽黄経 " +
                                  degrees(e.target) + "）"});
    }
    for (const ZassetsuItem& z : data.almanac.zassetsu) {
        switch (z.kind) {
        case ZassetsuKind::Day:
            data.marks.push_back({z.date, -1, z.name, z.name + "（" + z.rule + "）"});
            break;
        case ZassetsuKind::Moment:
            data.marks.push_back({z.date, z.hour * 60 + z.minute, z.name,
                                  z.name + " " + clock(z.hour, z.minute) + "（" + z.rule + "）"});
            break;
        case ZassetsuKind::UshiDay: {
            // "夏の土用 一の丑" shows as "土用一の丑" in the cell.
            const auto space = z.name.find(' ');
            data.marks.push_back(
                {z.date, -1, "土用" + (space == std::string::npos ? z.name : z.name.substr(space + 1)),
                 z.name});
            break;
        }
        case ZassetsuKind::DoyoPeriod:
            data.doyoPeriods.push_back(z);
            break;
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
    page.modeText = page.precise ? "時刻は観測所の方式（IAU の太陽モデル）"
                                 : "時刻は既定の理論（観測所の方式は" +
                                       std::to_string(precise::kFirstYear) + "〜" +
                                       std::to_string(precise::kLastYear) + "年）";

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
            for (const Mark& mark : data.marks) {
                if (mark.date == cell.date) {
                    cell.marks.push_back(mark.cellName);
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
    for (const Mark& mark : data.marks) {
        if (mark.date == date) {
            lines.push_back(mark.detail);
        }
    }
    for (const ZassetsuItem& period : data.doyoPeriods) {
        if (period.date <= date && date <= period.lastDate) {
            lines.push_back(period.name + "（" + monthDayText(period.date) + "〜" +
                            monthDayText(period.lastDate) + "）");
        }
    }
    return lines;
}

} // namespace sorvane::almanac
