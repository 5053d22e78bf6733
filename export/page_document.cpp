#include "export/page_document.h"

#include "almanac/coverage.h"
#include "calendar/year_text.h"
#include "horizon/day_text.h"
#include "horizon/rise_set.h"

#include <cstdio>
#include <nlohmann/json.hpp>

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
    char buf[24]; // room for any int
    std::snprintf(buf, sizeof buf, "%02d:%02d", minute / 60, minute % 60);
    return buf;
}

} // namespace

std::string monthPageJson(almanac::CalendarYears& years, int year, int month) {
    const almanac::MonthPage page = years.monthPage(year, month);
    ordered_json doc;
    doc["year"] = page.year;
    doc["month"] = page.month;
    doc["yearText"] = yearText(page.year);
    doc["era"] = page.eraText;
    doc["yearKanshi"] = page.yearKanshi;
    doc["mode"] = page.precise ? "precise" : "default";
    doc["modeText"] = page.modeText;
    doc["limitNotes"] = page.limitNotes;
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
        cell["slot"] = {{"row", slot.row}, {"column", slot.column}, {"part", partKey(slot.part)}};
        cell["kanshi"] = c.kanshi;
        cell["holiday"] = c.holiday ? ordered_json(*c.holiday) : ordered_json(nullptr);
        cell["lunar"] = c.lunar ? ordered_json(almanac::lunarCellText(*c.lunar)) : nullptr;
        cell["rokuyo"] = c.rokuyo ? ordered_json(*c.rokuyo) : ordered_json(nullptr);
        cell["marks"] = c.marks;
        cell["phase"] = c.phase ? ordered_json{{"name", lunisolar::phaseName(c.phase->phase)},
                                               {"time", minuteText(c.phase->minuteOfDay())}}
                                : ordered_json(nullptr);
        cell["period"] = c.period ? ordered_json{{"name", c.period->name},
                                                 {"first", c.period->first},
                                                 {"last", c.period->last}}
                                  : ordered_json(nullptr);
        cell["notes"] = c.inMonth ? years.cellNotes(c.date) : std::vector<std::string>{};
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
    doc["notes"] = years.noteDetails(date);
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
