#include "wareki/parse.h"

#include "calendar/civil_date.h"
#include "calendar/japanese_era.h"
#include "calendar/quoted_text.h"
#include "wareki/historical_calendar.h"
#include "wareki/input_text.h"
#include "wareki/western.h"

#include <array>
#include <cstring>
#include <vector>

namespace sorvane::wareki {

namespace {

// The eras of calendar/ after 明治 (明治 itself is in the table).
constexpr std::array<const char*, 4> kLaterEras = {"大正", "昭和", "平成", "令和"};

struct Cursor {
    const std::string& s;
    std::size_t at = 0;
    bool take(std::string_view word) {
        if (s.compare(at, word.size(), word) == 0) {
            at += word.size();
            return true;
        }
        return false;
    }
    bool done() const { return at == s.size(); }
};

// A number of half-width digits or kanji numerals, or nullopt (cursor unmoved).
std::optional<int> number(Cursor& c) {
    const std::size_t start = c.at;
    int digits = 0;
    int value = 0;
    while (!c.done() && c.s[c.at] >= '0' && c.s[c.at] <= '9' && digits < 4) {
        value = value * 10 + (c.s[c.at] - '0');
        ++c.at;
        ++digits;
    }
    if (digits > 0) {
        return value;
    }
    static const std::array<const char*, 10> kDigits = {"〇", "一", "二", "三", "四",
                                                        "五", "六", "七", "八", "九"};
    int total = 0;
    int pending = -1; // the digit (or digits, written place by place) not yet placed
    bool any = false;
    // Far past any year, month or day: the rest is left unread (and the date refused).
    for (bool more = true; more && total < 1000 && pending < 1000;) {
        more = false;
        for (int d = 0; d < 10; ++d) {
            if (c.take(kDigits[static_cast<std::size_t>(d)])) {
                pending = pending < 0 ? d : pending * 10 + d;
                more = any = true;
                break;
            }
        }
        if (more) {
            continue;
        }
        if (c.take("十") || c.take("百")) {
            const bool hundred = c.s.compare(c.at - 3, 3, "百") == 0;
            total += (pending < 0 ? 1 : pending) * (hundred ? 100 : 10);
            pending = -1;
            more = any = true;
        } else if (pending < 0 && (c.take("廿") || c.take("卅"))) {
            total += c.s.compare(c.at - 3, 3, "廿") == 0 ? 20 : 30;
            more = any = true;
        }
    }
    if (!any) {
        c.at = start;
        return std::nullopt;
    }
    return total + (pending < 0 ? 0 : pending);
}

std::string yearText(const std::string& era, int year) {
    return era + (year == 1 ? std::string("元") : std::to_string(year)) + "年";
}

// A refusal: why, then the nearest valid reading (and another as near, if there is one).
ParsedWareki refusal(ParseStatus status, std::string message, std::string suggestion = {},
                     const std::string& alternative = {}) {
    ParsedWareki out;
    out.status = status;
    out.message = std::move(message);
    out.suggestion = std::move(suggestion);
    if (!out.suggestion.empty()) {
        out.message += "。近い読みは「" + out.suggestion + "」" +
                       (alternative.empty() ? "" : "または「" + alternative + "」") + "です";
    }
    return out;
}

// The text of the day on a line: the line named only when asked to or when the lines differ.
std::string textOn(long long jdn, Line line, bool nameLine) {
    std::string text = warekiText(jdn, line);
    if (!nameLine && text.rfind(lineName(line), 0) == 0) {
        return text;
    }
    if (nameLine && text.rfind(lineName(line), 0) != 0 && !text.empty()) {
        return std::string(lineName(line)) + " " + text;
    }
    return text;
}

// The written date, read into numbers.
struct Written {
    std::optional<Line> line;
    std::string era;
    int year = 0;
    bool leap = false;
    int month = 0;
    int day = 0; // 0 with last: 晦日
    bool last = false;
};

// A date of 明治6年 on: the Gregorian calendar's month and day.
ParsedWareki gregorianEraDate(const Written& w, int gregorianYear) {
    const std::string named = yearText(w.era, w.year);
    if (w.leap) {
        return refusal(ParseStatus::NoLeapMonth,
                       named + "は太陽暦（グレゴリオ暦）の年で、閏月はありません",
                       named + std::to_string(w.month) + "月" + std::to_string(w.day) + "日");
    }
    const int length = daysInMonth(gregorianYear, w.month);
    const int day = w.last ? length : w.day;
    if (day > length) {
        const std::string next = w.month == 12 ? yearText(w.era, w.year + 1) + "1月1日"
                                               : named + std::to_string(w.month + 1) + "月1日";
        return refusal(
            ParseStatus::DayPastMonthEnd,
            named + std::to_string(w.month) + "月は" + std::to_string(length) + "日までです",
            named + std::to_string(w.month) + "月" + std::to_string(length) + "日", next);
    }
    const CivilDate date{gregorianYear, w.month, day};
    const long long jdn = dayNumber(date) + 1;
    const auto inForce = eraYearOf(date.year, date.month, date.day);
    if (inForce && inForce->era != w.era) {
        const std::string actual = warekiText(jdn);
        // The era in force began after the named one: the day is past the named one's end.
        const bool later =
            gregorianYearOf(EraYear{inForce->era, 1}) > gregorianYearOf(EraYear{w.era, 1});
        const std::string why = "（" + isoDateText(date) + "は" + actual + "）";
        return refusal(later ? ParseStatus::AfterEraEnd : ParseStatus::BeforeEraStart,
                       later ? w.era + "はその日より前に終わっています" + why
                             : w.era + "はその日にはまだ始まっていません" + why,
                       actual);
    }
    ParsedWareki out;
    out.status = ParseStatus::Ok;
    out.jdn = jdn;
    return out;
}

// The end of a row's span on a line: the 改元 day of the next row (so 慶応4年 runs to the
// 改元 of 明治, which was counted back to 1868's first day).
long long spanEnd(const EraRow& row, Line line) {
    const EraRow* next = nextOnLine(row, line);
    return next ? next->kaigenJdn : kLastTableJdn + 1;
}

// A date of the table on one line; nullopt when the era is not on the line.
std::optional<ParsedWareki> onLineDate(const Written& w, Line line, bool lineNamed) {
    std::vector<const EraRow*> spans;
    for (const EraRow& row : eraRows()) {
        if (w.era == row.name && onLine(row, line)) {
            spans.push_back(&row);
        }
    }
    if (spans.empty()) {
        return std::nullopt;
    }
    const int lunarYear = spans.front()->firstYear + w.year - 1;
    const std::string named =
        (lineNamed ? std::string(lineName(line)) + " " : std::string()) + yearText(w.era, w.year);
    const MonthRow* row = findMonth(lunarYear, w.month, w.leap);
    if (!row && lunarYear > 1872) {
        // Past the table: an era of the table (慶応, say) written for a year of 1873 on.
        const auto actual = eraYearOf(lunarYear, 1, 1);
        return refusal(ParseStatus::AfterEraEnd,
                       w.era + "は" + std::to_string(lunarYear) + "年より前に終わっています（" +
                           std::to_string(lunarYear) + "年は" +
                           (actual ? eraYearText(*actual) : std::string("明治")) + "）");
    }
    if (!row && w.leap) {
        const int leap = leapMonthOf(lunarYear);
        const MonthRow* ordinary = findMonth(lunarYear, w.month, false);
        const std::string why = named + "に閏" + std::to_string(w.month) + "月はありません（" +
                                (leap ? "この年の閏月は閏" + std::to_string(leap) + "月"
                                      : std::string("閏月のない年")) +
                                "）";
        return refusal(ParseStatus::NoLeapMonth, why,
                       ordinary ? named + lunisolarDateText(w.month, false,
                                                            w.last ? usedDays(*ordinary) : w.day)
                                : std::string());
    }
    if (!row) {
        return refusal(ParseStatus::NotADate,
                       named + "の" + std::to_string(w.month) + "月は暦の表にありません");
    }
    const int length = usedDays(*row);
    const int day = w.last ? length : w.day;
    if (day > length) {
        if (row->jdnStart + length - 1 == kLastTableJdn) {
            // 明治5年12月3日 became 明治6年1月1日.
            // (civilDate takes the project's day number, the JDN less one.)
            const CivilDate date = civilDate(kLastTableJdn + (day - length) - 1);
            return refusal(ParseStatus::AfterReform,
                           "明治5年12月は2日で終わり、12月3日が太陽暦の明治6年1月1日（1873-01-01）"
                           "になりました",
                           "明治6年1月" + std::to_string(date.day) + "日");
        }
        std::string nextText;
        const MonthRow* next = row + 1;
        if (next != monthRows().data() + monthRows().size()) {
            nextText = textOn(next->jdnStart, line, lineNamed);
        }
        return refusal(ParseStatus::DayPastMonthEnd,
                       named + monthText(w.month, w.leap) + "は" + std::to_string(length) +
                           "日までの小の月です",
                       named + lunisolarDateText(w.month, w.leap, length), nextText);
    }
    const long long jdn = row->jdnStart + day - 1;
    // An era a line took up again covers the months between (the north wrote 建武 on through
    // the spring of 1336, when the table's both lines have 延元).
    if (jdn >= spans.front()->startJdn && jdn < spanEnd(*spans.back(), line)) {
        ParsedWareki out;
        out.status = ParseStatus::Ok;
        out.jdn = jdn;
        const bool both = spans.size() == 1 && std::strcmp(spans.front()->line, "both") == 0;
        out.line = both ? std::nullopt : std::optional(line);
        return out;
    }
    const std::string actual = textOn(jdn, line, lineNamed);
    const std::string day_ = named + lunisolarDateText(w.month, w.leap, day);
    if (jdn < spans.front()->startJdn) {
        const EraRow& first = *spans.front();
        return refusal(
            ParseStatus::BeforeEraStart,
            w.era + "は" + yearText(w.era, 1) +
                lunisolarDateText(first.startMonth, first.startLeap != 0, first.startDay) +
                "に始まり、" + day_ + "はその前の日です",
            actual);
    }
    // The era's end: the 改元 to the era that followed it on the line.
    const EraRow* next = nextOnLine(*spans.back(), line);
    const auto end = lunisolarDateOf(next->kaigenJdn);
    return refusal(ParseStatus::AfterEraEnd,
                   (lineNamed ? std::string(lineName(line)) + "の" : std::string()) + w.era + "は" +
                       yearText(w.era, end->year - spans.front()->firstYear + 1) +
                       lunisolarDateText(end->month, end->leap, end->day) + "に" + next->name +
                       "と改元されて終わっています",
                   actual);
}

} // namespace

ParsedWareki parseWareki(std::string_view text) {
    const std::string s = normalizedInput(text);
    if (s.empty()) {
        return refusal(ParseStatus::Empty, "和暦の日付がありません（例: 元禄15年12月14日）");
    }
    const auto notADate = [&] {
        return refusal(ParseStatus::NotADate,
                       "和暦の日付として読めません（例: 元禄15年12月14日、慶応4年閏4月1日）");
    };
    Cursor c{s};
    Written w;
    if (c.take("南朝")) {
        w.line = Line::South;
    } else if (c.take("北朝")) {
        w.line = Line::North;
    }
    // The longest era name the text begins with.
    for (const EraRow& row : eraRows()) {
        const std::size_t n = std::strlen(row.name);
        if (n > w.era.size() && s.compare(c.at, n, row.name) == 0) {
            w.era = row.name;
        }
    }
    for (const char* later : kLaterEras) {
        const std::size_t n = std::strlen(later);
        if (n > w.era.size() && s.compare(c.at, n, later) == 0) {
            w.era = later;
        }
    }
    if (w.era.empty()) {
        const std::size_t year = s.find("年", c.at);
        if (year == std::string::npos || year == c.at) {
            return notADate();
        }
        std::string name = s.substr(c.at, year - c.at);
        // Keep the name without the year's number.
        const std::size_t digits = name.find_last_not_of("0123456789");
        if (digits != std::string::npos) {
            name.erase(digits + 1);
        }
        return refusal(ParseStatus::UnknownEra,
                       "「" + printableText(name, 20) +
                           "」という元号はありません（大化から令和までの元号と、"
                           "その前と間の天皇の在位年が使えます）");
    }
    c.at += w.era.size();
    if (c.take("元")) {
        w.year = 1;
    } else if (const auto n = number(c)) {
        w.year = *n;
    } else {
        return notADate();
    }
    if (!c.take("年")) {
        return notADate();
    }
    w.leap = c.take("閏");
    if (c.take("正")) {
        w.month = 1;
    } else if (const auto n = number(c)) {
        w.month = *n;
    } else {
        return notADate();
    }
    if (!c.take("月")) {
        return notADate();
    }
    if (c.take("朔")) {
        w.day = 1;
    } else if (c.take("晦")) {
        w.last = true;
    } else if (const auto n = number(c)) {
        w.day = *n;
    } else {
        return notADate();
    }
    if (!c.take("日") || !c.done()) {
        return notADate();
    }

    // Eras of calendar/ and 明治 from its 6th year: the Gregorian calendar.
    const EraRow* meiji = eraRowOn(Line::North, kLastTableJdn);
    const bool meijiGregorian = w.era == meiji->name && w.year >= 6;
    const bool later = w.era != meiji->name && gregorianYearOf(EraYear{w.era, 1}).has_value();
    const int maxDay = later || meijiGregorian ? 31 : 30;
    if (w.year < 1 || w.month < 1 || w.month > 12 || (!w.last && (w.day < 1 || w.day > maxDay))) {
        return refusal(ParseStatus::BadNumber,
                       w.year < 1 ? std::string("年は1（元年）からです")
                       : (w.month < 1 || w.month > 12)
                           ? std::string("月は1から12までです")
                           : "日は1から" + std::to_string(maxDay) + "までです");
    }
    if (later || meijiGregorian) {
        if (w.line) {
            return refusal(ParseStatus::NotOnLine, std::string(lineName(*w.line)) +
                                                       "は1331年から"
                                                       "1392年の元号にだけ付けられます");
        }
        return gregorianEraDate(w, *gregorianYearOf(EraYear{w.era, w.year}));
    }
    std::optional<ParsedWareki> first;
    for (const Line line : {Line::South, Line::North}) {
        if (w.line && *w.line != line) {
            continue;
        }
        auto result = onLineDate(w, line, w.line.has_value());
        if (result && result->status == ParseStatus::Ok) {
            return *result;
        }
        if (result && !first) {
            first = std::move(result);
        }
    }
    if (!first) {
        const Line other = *w.line == Line::South ? Line::North : Line::South;
        return refusal(ParseStatus::NotOnLine,
                       w.era + "は" + lineName(other) + "の元号で、" + lineName(*w.line) +
                           "の元号ではありません",
                       lineName(other) + std::string(" ") + yearText(w.era, w.year) +
                           lunisolarDateText(w.month, w.leap, w.last ? 1 : w.day));
    }
    return *first;
}

std::string warekiText(long long jdn, std::optional<Line> line) {
    const auto eras = eraDaysOf(jdn);
    if (eras.empty()) {
        return {};
    }
    EraDay era = eras.front();
    if (eras.size() == 2 && line == Line::North) {
        era = eras.back();
    }
    if (jdn > kLastTableJdn) {
        const CivilDate date = civilDate(jdn - 1);
        return eraYearText(era) + std::to_string(date.month) + "月" + std::to_string(date.day) +
               "日";
    }
    const auto date = lunisolarDateOf(jdn);
    return eraYearText(era) + lunisolarDateText(date->month, date->leap, date->day);
}

} // namespace sorvane::wareki

namespace sorvane::wareki {

ReadDay readDay(std::string_view text, bool julian) {
    ReadDay read;
    if (const auto western = parseIso(text)) {
        const Western calendar = julian ? Western::Julian : Western::Gregorian;
        read.inputCalendar = calendarKey(calendar);
        if (western->year < 1 || !isValid(calendar, *western)) {
            read.message = std::string(calendarName(calendar)) + "にない日付です" +
                           (western->year < 1 ? "（年は1から9999まで）" : "");
            return read;
        }
        read.jdn = jdnOf(calendar, *western);
        read.ok = true;
        return read;
    }
    const ParsedWareki parsed = parseWareki(text);
    // The Julian choice speaks of Western dates: a text that names a known era is read as
    // 和暦 whatever it says (and refused, if it is, for what 和暦 finds wrong in it).
    if (julian && (parsed.status == ParseStatus::Empty || parsed.status == ParseStatus::NotADate ||
                   parsed.status == ParseStatus::UnknownEra)) {
        read.inputCalendar = calendarKey(Western::Julian);
        read.message = "ユリウス暦の日付は 1582-06-21 のように 年-月-日 で入れてください";
        return read;
    }
    if (parsed.status != ParseStatus::Ok) {
        read.message = parsed.message;
        return read;
    }
    read.jdn = parsed.jdn;
    read.ok = true;
    return read;
}

} // namespace sorvane::wareki
