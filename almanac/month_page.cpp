#include "almanac/month_page.h"

#include "almanac/coverage.h"
#include "almanac/limits.h"
#include "calendar/day_cycles.h"
#include "calendar/japanese_era.h"
#include "calendar/names.h"
#include "calendar/year_text.h"
#include "lunisolar/lunisolar_year.h"

#include <algorithm>
#include <cstdio>

namespace sorvane::almanac {

namespace {

std::string clock(int hour, int minute) {
    return formatTwoDigits(hour) + ":" + formatTwoDigits(minute);
}

std::string degrees(double longitude) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%g°", longitude);
    return buf;
}

// 1 Sunday .. 7 Saturday, as youbi counts.
int weekdayOf(const CivilDate& date) {
    return youbi(static_cast<double>(dayNumber(date)));
}

// An item's short name in a day's cell; empty for a phase, which the cell draws as a symbol.
std::string cellName(const DayItem& item) {
    if (item.zassetsu) {
        if (item.zassetsu->kind == zassetsu::Kind::UshiDay) {
            // "夏の土用 一の丑" shows as "土用一の丑" in the cell.
            const std::string& name = item.zassetsu->name;
            const auto space = name.find(' ');
            return "土用" + (space == std::string::npos ? name : name.substr(space + 1));
        }
        return item.name;
    }
    if (!item.event) {
        return item.phase ? std::string() : item.name;
    }
    const Event& e = *item.event;
    switch (e.kind) {
    case EventKind::Setsu:
    case EventKind::Chuki:
        // The term with its minute, as wall calendars print it: "春分 18:01".
        return item.name + " " + clock(e.hour, e.minute);
    case EventKind::Doyo:
        return "土用入り " + clock(e.hour, e.minute);
    case EventKind::Longitude:
        return item.name;
    }
    return item.name;
}

// An item's line in the details of its day.
std::string detailLine(const DayItem& item) {
    if (item.zassetsu) {
        const zassetsu::Item& z = *item.zassetsu;
        switch (z.kind) {
        case zassetsu::Kind::Moment:
            return z.name + " " + clock(z.hour, z.minute) + "（" + z.rule + "）";
        case zassetsu::Kind::UshiDay:
            return z.name;
        case zassetsu::Kind::Day:
        case zassetsu::Kind::Period:
            return z.name + "（" + z.rule + "）";
        }
        return z.name;
    }
    if (!item.event) {
        return item.timed ? item.name + " " + clock(item.hour, item.minute) : item.name;
    }
    const Event& e = *item.event;
    switch (e.kind) {
    case EventKind::Setsu:
    case EventKind::Chuki:
    case EventKind::Doyo:
        return item.name + " " + clock(e.hour, e.minute) + "（太陽黄経 " + degrees(e.longitude) +
               "）";
    case EventKind::Longitude:
        return e.name;
    }
    return e.name;
}

} // namespace

std::string lunarCellText(const lunisolar::LunarDay& day) {
    return "旧" + (day.day == 1 ? lunisolar::lunarMonthText(day) : lunisolar::lunarShortText(day));
}

int gridRows(const MonthPage& page) {
    return std::min(kPageRows, static_cast<int>(page.cells.size() / 7));
}

GridSlot gridSlot(const MonthPage& page, std::size_t index) {
    const int row = static_cast<int>(index / 7);
    const int column = static_cast<int>(index % 7);
    const bool folded = page.cells.size() / 7 > static_cast<std::size_t>(kPageRows);
    if (!folded || row < kPageRows - 1) {
        return {row, column, CellPart::Whole};
    }
    const std::size_t below = index + 7;
    if (row == kPageRows - 1) {
        // The fifth week's day shares its square when the day a week later is in the month.
        return {row, column,
                below < page.cells.size() && page.cells[below].inMonth ? CellPart::Upper
                                                                       : CellPart::Whole};
    }
    return {kPageRows - 1, column, page.cells[index].inMonth ? CellPart::Lower : CellPart::Hidden};
}

std::size_t linesShown(const std::vector<int>& rowsPerLine, int capacity) {
    int total = 0;
    for (const int rows : rowsPerLine) {
        total += rows;
    }
    if (total <= capacity) {
        return rowsPerLine.size();
    }
    std::size_t shown = 0;
    for (int used = 0; shown < rowsPerLine.size() && used + rowsPerLine[shown] <= capacity - 1;
         ++shown) {
        used += rowsPerLine[shown];
    }
    return shown;
}

std::string moreText(std::size_t hidden) {
    return "他" + std::to_string(hidden) + "件";
}

const DayEntry& CalendarYears::YearData::day(const CivilDate& date) const {
    return days[static_cast<std::size_t>(dayNumber(date) - dayNumber({date.year, 1, 1}))];
}

const CalendarYears::YearData& CalendarYears::year(int y) {
    auto found = years_.find(y);
    if (found != years_.end()) {
        found->second.lastUse = ++uses_;
        return found->second;
    }
    if (years_.size() >= kKeptYears) {
        years_.erase(
            std::min_element(years_.begin(), years_.end(), [](const auto& a, const auto& b) {
                return a.second.lastUse < b.second.lastUse;
            }));
    }
    YearData data;
    data.lastUse = ++uses_;
    data.almanac = days_.year(y, AlmanacOptions::everything(true));
    data.days = days_.records(data.almanac);
    // Before the Gregorian calendar, the lunisolar date of the calendars then in use.
    for (DayRecord& r : data.days) {
        addHistoricalLunar(r);
    }
    for (const zassetsu::Item& z : data.almanac.zassetsu) {
        if (z.kind == zassetsu::Kind::Period) {
            data.doyoPeriods.push_back(z);
        }
    }
    data.spans = zassetsu::yearPeriods(data.almanac.zassetsu);
    return years_.emplace(y, std::move(data)).first->second;
}

std::optional<SmallMonth> CalendarYears::smallMonth(int y, int month) {
    if (!covers(Source::Year, y)) {
        return std::nullopt;
    }
    SmallMonth small{y, month, weekdayOf({y, month, 1}), daysInMonth(y, month), {}};
    // The holidays from the year kept for the page when it is kept; a neighbouring year's
    // from the holiday rules alone, which is far quicker than computing that year.
    if (covers(Source::Holidays, y)) {
        const auto found = years_.find(y);
        const std::vector<holidays::Holiday>* listed = nullptr;
        if (found != years_.end()) {
            listed = &found->second.almanac.holidays;
        } else {
            auto kept = neighbourHolidays_.find(y);
            if (kept == neighbourHolidays_.end()) {
                if (neighbourHolidays_.size() >= kKeptYears) {
                    neighbourHolidays_.clear();
                }
                kept = neighbourHolidays_.emplace(y, days_.holidays(y)).first;
            }
            listed = &kept->second;
        }
        for (const holidays::Holiday& h : *listed) {
            if (h.date.month == month) {
                small.holidays.push_back(h.date.day);
            }
        }
    }
    return small;
}

const std::vector<DayEclipse>& CalendarYears::monthEclipses(int y, int month) {
    year(y);
    std::optional<std::vector<DayEclipse>>& kept =
        years_.at(y).eclipses.at(static_cast<std::size_t>(month - 1));
    if (!kept) {
        kept = almanac::monthEclipses(y, month);
    }
    return *kept;
}

MonthPage CalendarYears::monthPage(int y, int month) {
    const std::vector<DayEclipse>& eclipses = monthEclipses(y, month);
    const YearData& data = year(y);
    MonthPage page;
    page.year = y;
    page.month = month;
    page.eraText = monthEraText(y, month);
    page.limitNotes = monthLimitNotes(y, month);
    page.yearKanshi = sexagenaryNames[static_cast<std::size_t>(yearSexagenary(y))];
    page.precise = data.almanac.precise;
    page.modeText = page.precise ? "時刻は日本時間、国立天文台と同じ計算方法"
                                 : "時刻は日本時間、既定の理論（国立天文台と同じ計算方法は" +
                                       std::to_string(coverage(Source::Precise).first) + "〜" +
                                       std::to_string(coverage(Source::Precise).last) + "年）";
    if (const std::string note = uncertaintyNote(data.almanac); !note.empty()) {
        page.modeText += "。" + note;
    }

    page.previous = month == 1 ? smallMonth(y - 1, 12) : smallMonth(y, month - 1);
    page.next = month == 12 ? smallMonth(y + 1, 1) : smallMonth(y, month + 1);

    const CivilDate first{y, month, 1};
    const int lead = weekdayOf(first) - 1; // the neighbouring month's days before the 1st
    const int days = daysInMonth(y, month);
    const int weeks = (lead + days + 6) / 7;
    page.cells.reserve(static_cast<std::size_t>(weeks * 7));
    for (int i = 0; i < weeks * 7; ++i) {
        DayCell cell;
        cell.date = addDays(first, i - lead);
        cell.inMonth = cell.date.month == month && cell.date.year == y;
        cell.weekday = i % 7 + 1;
        cell.kanshi = sexagenaryNames[static_cast<std::size_t>(
            kanshi(static_cast<double>(dayNumber(cell.date))))];
        if (cell.inMonth) {
            const DayEntry& day = data.day(cell.date);
            for (const DayItem& item : day.items) {
                if (item.phase) {
                    cell.phase = item.phase;
                } else {
                    cell.marks.push_back(cellName(item));
                }
            }
            cell.holiday = day.holiday;
            for (const zassetsu::Period& span : data.spans) {
                if (span.first <= cell.date && cell.date <= span.last) {
                    cell.period =
                        DayCell::Period{span.name, cell.date == span.first, cell.date == span.last};
                }
            }
            if (day.lunar) {
                cell.lunar = day.lunar;
                cell.rokuyo = lunisolar::rokuyoName(day.lunar->rokuyo);
            }
            for (const DayEclipse& e : eclipses) {
                if (e.date == cell.date) {
                    cell.eclipse = e.name;
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
    lines.push_back(printedDateText(date.year, date.month, date.day) + "（" +
                    weekdayNames[static_cast<std::size_t>(weekdayOf(date))] + "）");
    if (const auto era = writtenEraYearOf(date.year, date.month, date.day)) {
        lines.push_back(eraYearText(*era) + dayOfMonth);
    }
    lines.push_back(
        "干支 " +
        sexagenaryNames[static_cast<std::size_t>(kanshi(static_cast<double>(dayNumber(date))))]);
    const DayEntry& day = data.day(date);
    if (day.holiday) {
        lines.push_back("祝日 " + *day.holiday);
    }
    if (day.lunar) {
        const lunisolar::LunarDay& lunar = *day.lunar;
        lines.push_back("旧暦 " + lunisolar::lunarDateText(lunar) + "（" +
                        (lunar.monthLength == 30 ? "大の月" : "小の月") +
                        (day.historicalLunar ? "、当時の暦" : "") + "）");
        lines.push_back(std::string("六曜 ") + lunisolar::rokuyoName(lunar.rokuyo));
    }
    for (const DayItem& item : day.items) {
        lines.push_back(detailLine(item));
    }
    for (const zassetsu::Item& period : data.doyoPeriods) {
        if (period.date <= date && date <= period.lastDate) {
            lines.push_back(period.name + "（" + japaneseMonthDayText(period.date) + "〜" +
                            japaneseMonthDayText(period.lastDate) + "）");
        }
    }
    return lines;
}

std::vector<std::string> CalendarYears::eclipseDetails(const CivilDate& date,
                                                       const horizon::NamedPlace& place) {
    const std::vector<DayEclipse>& kept = monthEclipses(date.year, date.month);
    if (std::none_of(kept.begin(), kept.end(),
                     [&](const DayEclipse& e) { return e.date == date; })) {
        return {};
    }
    std::vector<std::string> lines;
    for (DayEclipse& e : almanac::monthEclipses(date.year, date.month, place)) {
        if (e.date == date) {
            lines.insert(lines.end(), e.lines.begin(), e.lines.end());
        }
    }
    return lines;
}

const notes::DayNotes& CalendarYears::dayNotes(const CivilDate& date) {
    year(date.year);
    YearData& data = years_.at(date.year);
    if (!data.notes) {
        data.notes =
            days_.notes(date.year, data.almanac.lunisolar ? &*data.almanac.lunisolar : nullptr);
    }
    return data.notes->day(date.month, date.day);
}

std::vector<std::string> CalendarYears::cellNotes(const CivilDate& date) {
    if (!covers(Source::Notes, date.year)) {
        return {};
    }
    const notes::DayNotes& d = dayNotes(date);
    std::vector<std::string> lines;
    lines.push_back(std::string(notes::chokuName(d.choku)) + "・" + notes::shukuName(d.shuku) +
                    "・" + notes::kyuseiShortName(d.kyusei) +
                    (d.shio ? std::string(" ") + notes::shioName(*d.shio) : ""));
    std::string marks;
    for (const std::string& mark : cellSenjitsu(date)) {
        marks += (marks.empty() ? "" : " ") + mark;
    }
    if (!marks.empty()) {
        lines.push_back(marks);
    }
    std::string gedan;
    for (const notes::Gedan g : d.gedan) {
        gedan += (gedan.empty() ? "" : " ") + std::string(notes::gedanMark(g));
    }
    if (!gedan.empty()) {
        lines.push_back(gedan);
    }
    std::string festivals;
    const std::vector<zassetsu::Period>& spans = years_.at(date.year).spans;
    for (const std::string& f : d.festivals) {
        // 土用 and 彼岸 are drawn as bands across their days: a line would say it twice.
        const bool banded = std::any_of(spans.begin(), spans.end(), [&](const zassetsu::Period& s) {
            return s.name == f && s.first <= date && date <= s.last;
        });
        if (!banded) {
            festivals += (festivals.empty() ? "" : " ") + f;
        }
    }
    if (d.setsubun) { // the page names 節分 itself; its 恵方 goes with it
        festivals += (festivals.empty() ? "" : " ") + ("恵方 " + years_.at(date.year).notes->eho);
    }
    if (!festivals.empty()) {
        lines.push_back(festivals);
    }
    return lines;
}

namespace {

// The 選日 a cell marks: all but the periods, which the details name.
bool markedInCell(notes::Senjitsu s) {
    return s != notes::Senjitsu::Hassen && s != notes::Senjitsu::Jippogure &&
           s != notes::Senjitsu::TenichiTenjo;
}

} // namespace

std::vector<std::string> CalendarYears::cellSenjitsu(const CivilDate& date) {
    std::vector<std::string> marks;
    if (!covers(Source::Notes, date.year)) {
        return marks;
    }
    for (const notes::Senjitsu s : dayNotes(date).senjitsu) {
        if (markedInCell(s)) {
            marks.emplace_back(notes::senjitsuMark(s));
        }
    }
    return marks;
}

std::vector<std::string> CalendarYears::senjitsuNames(const CivilDate& date) {
    std::vector<std::string> names;
    if (!covers(Source::Notes, date.year)) {
        return names;
    }
    for (const notes::Senjitsu s : dayNotes(date).senjitsu) {
        if (markedInCell(s)) {
            names.emplace_back(notes::senjitsuName(s));
        }
    }
    return names;
}

std::vector<std::string> CalendarYears::noteDetails(const CivilDate& date) {
    using notes::NoteKind;
    if (const YearSpan span = coverage(Source::Notes); !span.contains(date.year)) {
        return {"暦注は" + yearText(span.first) + "〜" + yearText(span.last) +
                "年の範囲です（この外では節気が暦の月から外れます）"};
    }
    const notes::DayNotes& d = dayNotes(date);
    std::vector<std::string> lines;
    const auto note = [&](NoteKind kind, const std::string& value, const char* meaning) {
        lines.push_back(std::string(notes::noteKindName(kind)) + " " + value + "：" + meaning);
    };
    note(NoteKind::SetsuMonth,
         notes::sexagenaryName(d.monthSexagenary) + "（" + notes::branchName(d.monthBranch) + "月" +
             (d.setsuBegins ? "、この日から" : "") + "）",
         notes::noteKindMeaning(NoteKind::SetsuMonth));
    note(NoteKind::Choku, notes::chokuName(d.choku), notes::chokuMeaning(d.choku));
    const std::string shuku = std::string(notes::shukuMeaning(d.shuku)) + "とされる日。" +
                              notes::noteKindMeaning(NoteKind::Shuku);
    note(NoteKind::Shuku, notes::shukuName(d.shuku), shuku.c_str());
    // A star's line leads with what the star stands for, then what the kind is.
    const auto star = [&](NoteKind kind, int value, const std::string& suffix) {
        lines.push_back(std::string(notes::noteKindName(kind)) + " " + notes::kyuseiName(value) +
                        suffix + "：" + notes::kyuseiMeaning(value) + "。" +
                        notes::noteKindMeaning(kind));
    };
    star(NoteKind::DayKyusei, d.kyusei, d.yoton ? "（陽遁）" : "（陰遁）");
    star(NoteKind::MonthKyusei, d.monthKyusei, "");
    star(NoteKind::YearKyusei, d.yearKyusei, "");
    for (const notes::Senjitsu s : d.senjitsu) {
        lines.push_back(std::string(notes::senjitsuName(s)) + "：" + notes::senjitsuMeaning(s));
    }
    for (const notes::Gedan g : d.gedan) {
        lines.push_back(std::string("下段 ") + notes::gedanName(g) + "：" + notes::gedanMeaning(g));
    }
    if (d.moonAge) {
        char age[16];
        std::snprintf(age, sizeof age, "%.1f", *d.moonAge);
        note(NoteKind::MoonAge, age, notes::noteKindMeaning(NoteKind::MoonAge));
    }
    if (d.shio) {
        lines.push_back(std::string("潮名 ") + notes::shioName(*d.shio) +
                        "：旧暦の日による潮の呼び名（海上保安庁の表。潮の高さは港ごとに異なる）");
    }
    note(NoteKind::Kou,
         std::string(notes::kouName(d.kou)) + "（" + notes::kouReading(d.kou) +
             (d.kouBegins ? "、この日から）" : "）"),
         notes::noteKindMeaning(NoteKind::Kou));
    if (d.setsubun) {
        const notes::YearNotes& year = *years_.at(date.year).notes;
        note(NoteKind::Eho, year.eho + "（節分。立春からの年の方角）",
             notes::noteKindMeaning(NoteKind::Eho));
    }
    for (const std::string& f : d.festivals) {
        lines.push_back("年中行事 " + f);
    }
    return lines;
}

} // namespace sorvane::almanac
