#include "export/page_document.h"

#include "almanac/coverage.h"
#include "almanac/day_eclipses.h"
#include "almanac/year_almanac.h"
#include "calendar/names.h"
#include "calendar/year_text.h"
#include "export/feed.h"
#include "export/json_document.h"
#include "export/search_text.h"
#include "horizon/day_text.h"
#include "horizon/rise_set.h"
#include "lunisolar/month_numbering_note.h"

#include <cstdio>
#include <nlohmann/json.hpp>
#include <optional>

namespace sorvane::exports {

namespace {

using nlohmann::ordered_json;

ordered_json smallMonthJson(const std::optional<almanac::SmallMonth>& small) {
    if (!small) {
        return nullptr;
    }
    return {{"year", small->year},
            {"month", small->month},
            {"firstWeekday", small->firstWeekday},
            {"days", small->days},
            {"holidays", small->holidays}};
}

const char* partKey(almanac::CellPart part) {
    switch (part) {
    case almanac::CellPart::Whole:
        return "whole";
    case almanac::CellPart::Upper:
        return "upper";
    case almanac::CellPart::Lower:
        return "lower";
    case almanac::CellPart::Hidden:
        break;
    }
    return "hidden";
}

std::string minuteText(int minute) {
    // Room for any int on both sides: the text is never cut, whatever the minute.
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d", minute / 60, minute % 60);
    return buf;
}

ordered_json spanJson(const almanac::YearSpan& span) {
    return {{"first", span.first}, {"last", span.last}};
}

// The characters (code points) of UTF-8 text, counted up to limit + 1.
std::size_t charactersUpTo(std::string_view text, std::size_t limit) {
    std::size_t n = 0;
    for (unsigned char c : text) {
        if ((c & 0xC0) != 0x80 && ++n > limit) {
            break;
        }
    }
    return n;
}

bool digits(std::string_view text) {
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

// An ISO date (YYYY-MM-DD, the year of 4 to 6 digits with an optional '-') of the program's
// years, or nothing.
std::optional<CivilDate> isoDate(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    const std::string_view rest = negative ? text.substr(1) : text;
    if (rest.size() < 10 || rest.size() > 12) {
        return std::nullopt;
    }
    const std::size_t yearDigits = rest.size() - 6;
    const std::string_view year = rest.substr(0, yearDigits);
    const std::string_view month = rest.substr(yearDigits + 1, 2);
    const std::string_view day = rest.substr(yearDigits + 4, 2);
    if (rest[yearDigits] != '-' || rest[yearDigits + 3] != '-' || !digits(year) || !digits(month) ||
        !digits(day)) {
        return std::nullopt;
    }
    const int y = (negative ? -1 : 1) * std::stoi(std::string(year));
    const CivilDate date{y, std::stoi(std::string(month)), std::stoi(std::string(day))};
    if (!almanac::covers(almanac::Source::Year, y) || date.month < 1 || date.month > 12 ||
        date.day < 1 || date.day > daysInMonth(y, date.month)) {
        return std::nullopt;
    }
    return date;
}

} // namespace

namespace {

// A document that quotes the user's text: bytes that are not UTF-8 (a lone surrogate from
// the page's JavaScript) are written as U+FFFD instead of failing the document.
std::string quotingDump(const ordered_json& doc) {
    return doc.dump(-1, ' ', false, ordered_json::error_handler_t::replace) + "\n";
}

} // namespace

std::string yearPageJson(const Tables& tables, int year, const horizon::NamedPlace& place,
                         bool theory) {
    if (!almanac::covers(almanac::Source::Year, year)) {
        return pageErrorJson(pageError(PageProblem::YearOutside));
    }
    almanac::AlmanacOptions options;
    options.precise = !theory && almanac::covers(almanac::Source::Precise, year);
    options.zassetsu = true;
    options.holidays = almanac::covers(almanac::Source::Holidays, year);
    const almanac::YearAlmanac almanac =
        almanac::yearAlmanac(tables, static_cast<std::int16_t>(year), options);
    ordered_json doc = ordered_json::parse(yearJson(almanac, true, options.holidays));
    // The holidays' dates as the list writes them: "1月1日".
    if (doc.contains("holidays")) {
        for (std::size_t i = 0; i < doc["holidays"].size() && i < almanac.holidays.size(); ++i) {
            const CivilDate& d = almanac.holidays[i].date;
            doc["holidays"][i]["dateText"] =
                std::to_string(d.month) + "月" + std::to_string(d.day) + "日";
        }
    }
    doc["heading"] = printedYearText(year) + "年の二十四節気と土用" +
                     (almanac.precise ? "（国立天文台と同じ計算方法）" : "（既定の理論）");
    doc["precise"] = almanac.precise;
    // Whether the other mode gives other minutes (the precise mode reaches the year).
    doc["preciseReaches"] = almanac::covers(almanac::Source::Precise, year);
    doc["eclipseHeading"] =
        "日食・月食（" +
        (place.name.empty() ? horizon::coordinatesText(place.observer) : place.name) + "）";
    ordered_json eclipses = ordered_json::array();
    for (const almanac::DayEclipse& e : almanac::yearEclipses(year, place)) {
        eclipses.push_back({{"date", isoDateText(e.date)},
                            {"dateText", japaneseMonthDayText(e.date)},
                            {"name", e.name},
                            {"lines", e.lines}});
    }
    const almanac::YearSpan reach = almanac::coverage(almanac::Source::Precise);
    doc["eclipseNote"] = !almanac::eclipsesCovered(year)
                             ? "日食・月食は" + std::to_string(reach.first) + "〜" +
                                   std::to_string(reach.last) + "年のものを計算します"
                         : eclipses.empty() ? "この年に日食・月食はありません"
                                            : "";
    doc["eclipses"] = std::move(eclipses);
    return doc.dump() + "\n";
}

std::string searchVocabularyJson(const daysearch::Vocabulary& vocabulary) {
    using daysearch::Kind;
    struct Group {
        const char* key;
        const char* title;
        std::vector<Kind> kinds;
    };
    const Group groups[] = {
        {"rokuyo", "六曜", {Kind::Rokuyo}},     {"week", "曜日・休日", {Kind::Weekday, Kind::Rest}},
        {"choku", "十二直", {Kind::Choku}},     {"kyusei", "日家九星", {Kind::Kyusei}},
        {"senjitsu", "選日", {Kind::Senjitsu}}, {"shio", "潮名", {Kind::Shio}},
    };
    ordered_json list = ordered_json::array();
    for (const Group& g : groups) {
        ordered_json names = ordered_json::array();
        for (Kind kind : g.kinds) {
            for (const std::string& name : vocabulary.names(kind)) {
                // A name of two kinds is written with the kind of its group (十二直:危).
                const bool twoKinds = vocabulary.kindsOf(name).size() > 1;
                // A weekday is shown as 日曜 .. 土曜: a bare 日 reads as "day".
                names.push_back(
                    {{"label", kind == Kind::Weekday ? name + "曜" : name},
                     {"word",
                      twoKinds ? std::string(daysearch::kindLabel(kind)) + ":" + name : name}});
            }
        }
        list.push_back({{"key", g.key}, {"title", g.title}, {"names", std::move(names)}});
    }
    return ordered_json{{"groups", std::move(list)}}.dump() + "\n";
}

std::string coverageJson() {
    using almanac::Source;
    ordered_json doc;
    doc["year"] = spanJson(almanac::coverage(Source::Year));
    doc["precise"] = spanJson(almanac::coverage(Source::Precise));
    doc["lunisolar"] = spanJson(almanac::coverage(Source::Lunisolar));
    doc["holidays"] = spanJson(almanac::coverage(Source::Holidays));
    doc["notes"] = spanJson(almanac::coverage(Source::Notes));
    doc["icalendar"] = spanJson(almanac::coverage(Source::ICalendar));
    ordered_json feeds;
    for (FeedKind kind : kFeedKinds) {
        feeds[feedKindKey(kind)] = spanJson(feedYears(kind));
    }
    doc["feeds"] = std::move(feeds);
    return doc.dump() + "\n";
}

std::variant<FindFields, PageError> readFindFields(const daysearch::Vocabulary& vocabulary,
                                                   std::string_view queryText,
                                                   std::string_view fromText,
                                                   std::string_view toText) {
    // Bounded before anything reads it: the nearest-name suggestion costs time in a word's
    // length.
    if (charactersUpTo(queryText, kMaxQueryCharacters) > kMaxQueryCharacters) {
        return pageError(PageProblem::QueryTooLong);
    }
    const std::optional<CivilDate> from = isoDate(fromText);
    if (!from) {
        return pageError(PageProblem::FromUnreadable, fromText);
    }
    const std::optional<CivilDate> to = isoDate(toText);
    if (!to) {
        return pageError(PageProblem::ToUnreadable, toText);
    }
    if (*to < *from) {
        return pageError(PageProblem::RangeReversed);
    }
    try {
        return FindFields{daysearch::parseQuery(queryText, vocabulary), *from, *to};
    } catch (const daysearch::QueryError& e) {
        return queryError(e);
    }
}

std::string findPageJson(daysearch::DaySearch& search, const daysearch::Vocabulary& vocabulary,
                         std::string_view queryText, std::string_view fromText,
                         std::string_view toText) {
    std::variant<FindFields, PageError> read =
        readFindFields(vocabulary, queryText, fromText, toText);
    if (const PageError* error = std::get_if<PageError>(&read)) {
        return pageErrorJson(*error);
    }
    FindFields& fields = std::get<FindFields>(read);
    const daysearch::Query& query = fields.query;
    const CivilDate& from = fields.from;
    const CivilDate& to = fields.to;
    ordered_json days = ordered_json::array();
    std::size_t listed = 0;
    daysearch::SearchHooks hooks;
    hooks.found = [&](daysearch::DayMatch&& day) {
        if (listed < kPageDaysListed) {
            days.push_back(
                {{"date", isoDateText(day.date)},
                 {"dateText", printedDateText(day.date.year, day.date.month, day.date.day)},
                 {"weekday", day.weekday},
                 {"notes", day.notes}});
            ++listed;
        }
    };
    const daysearch::SearchResult result = search.search(query, from, to, hooks);
    std::vector<std::string> notes;
    if (result.count == 0) {
        for (const std::string& date : daysearch::absentLunarDates(search, query, from, to)) {
            notes.push_back(absentDateNote(date));
        }
    }
    for (const daysearch::Uncovered& u : result.uncovered) {
        notes.push_back(uncoveredNote(u));
    }
    ordered_json doc;
    doc["query"] = query.text;
    doc["name"] = daysearch::queryInWords(query); // the calendar file's name
    doc["from"] = isoDateText(from);
    doc["to"] = isoDateText(to);
    doc["count"] = result.count;
    doc["countText"] = foundCountText(static_cast<long long>(result.count));
    doc["days"] = std::move(days);
    doc["more"] = result.count - listed;
    doc["notes"] = notes;
    return quotingDump(doc);
}

std::string monthPageJson(almanac::CalendarYears& years, int year, int month) {
    const almanac::MonthPage page = years.monthPage(year, month);
    ordered_json doc;
    doc["year"] = page.year;
    doc["month"] = page.month;
    doc["yearText"] = printedYearText(page.year);
    doc["era"] = page.eraText;
    doc["yearKanshi"] = page.yearKanshi;
    doc["mode"] = page.precise ? "precise" : "default";
    doc["modeText"] = page.modeText;
    doc["limitNotes"] = page.limitNotes;
    doc["lunarNote"] = lunisolar::monthNumberingNote(page.year, page.month);
    doc["previous"] = smallMonthJson(page.previous);
    doc["next"] = smallMonthJson(page.next);
    doc["rows"] = almanac::gridRows(page);
    ordered_json cells = ordered_json::array();
    for (std::size_t i = 0; i < page.cells.size(); ++i) {
        const almanac::DayCell& c = page.cells[i];
        const almanac::GridSlot slot = almanac::gridSlot(page, i);
        ordered_json cell;
        cell["date"] = isoDateText(c.date);
        cell["day"] = c.date.day;
        cell["inMonth"] = c.inMonth;
        cell["weekday"] = c.weekday;
        cell["weekdayName"] = weekdayNames.at(static_cast<std::size_t>(c.weekday));
        cell["slot"] = {{"row", slot.row}, {"column", slot.column}, {"part", partKey(slot.part)}};
        cell["kanshi"] = c.kanshi;
        cell["holiday"] = c.holiday ? ordered_json(*c.holiday) : ordered_json(nullptr);
        cell["lunar"] = c.lunar ? ordered_json(almanac::lunarCellText(*c.lunar)) : nullptr;
        cell["rokuyo"] = c.rokuyo ? ordered_json(*c.rokuyo) : ordered_json(nullptr);
        cell["marks"] = c.marks;
        cell["phase"] = c.phase ? ordered_json{{"name", lunisolar::phaseName(c.phase->phase)},
                                               {"time", minuteText(c.phase->minuteOfDay())}}
                                : ordered_json(nullptr);
        cell["eclipse"] = c.eclipse ? ordered_json(*c.eclipse) : ordered_json(nullptr);
        cell["period"] = c.period ? ordered_json{{"name", c.period->name},
                                                 {"first", c.period->first},
                                                 {"last", c.period->last}}
                                  : ordered_json(nullptr);
        cell["notes"] = c.inMonth ? years.cellNotes(c.date) : std::vector<std::string>{};
        cell["senjitsu"] = c.inMonth ? years.cellSenjitsu(c.date) : std::vector<std::string>{};
        cells.push_back(std::move(cell));
    }
    doc["cells"] = std::move(cells);
    return doc.dump() + "\n";
}

std::string dayPageJson(almanac::CalendarYears& years, const CivilDate& date,
                        const horizon::NamedPlace& place) {
    ordered_json doc;
    doc["date"] = isoDateText(date);
    doc["details"] = years.dayDetails(date);
    doc["eclipses"] = years.eclipseDetails(date, place);
    doc["notes"] = years.noteDetails(date);
    doc["senjitsu"] = years.senjitsuNames(date);
    doc["lunarNote"] = lunisolar::monthNumberingNote(date);
    doc["place"] = horizon::placeCaption(place.name, place.observer);
    std::vector<std::string> sky;
    const long long day = dayNumber(date);
    // The rising and setting times reach the precise mode's years.
    const std::vector<horizon::DayTimes> times =
        almanac::covers(almanac::Source::Precise, date.year)
            ? horizon::dayTimes(place.observer, day, day)
            : std::vector<horizon::DayTimes>{};
    if (!times.empty()) {
        std::string text = horizon::dayDetailsText(times.front());
        std::size_t start = 0;
        for (std::size_t end; (end = text.find('\n', start)) != std::string::npos;
             start = end + 1) {
            sky.push_back(text.substr(start, end - start));
        }
    }
    doc["sky"] = sky;
    return doc.dump() + "\n";
}

} // namespace sorvane::exports
