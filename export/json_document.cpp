#include "export/json_document.h"

#include "calendar/civil_date.h"
#include "calendar/names.h"
#include "export/text_report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <nlohmann/json.hpp>
#include <stdexcept>

namespace sorvane::exports {

namespace {

using Json = nlohmann::ordered_json;

// A number as the document gives it: rounded to `decimals` places (whole numbers as JSON
// integers), null when not finite.
Json fixed(double value, int decimals) {
    if (!std::isfinite(value)) {
        return nullptr;
    }
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    const double rounded = std::strtod(buf, nullptr);
    if (decimals == 0 && std::fabs(rounded) < 9.0e15) {
        return static_cast<long long>(rounded);
    }
    return rounded;
}

// Every switch over the program's kinds below names each kind, so a new kind is a compiler
// warning here rather than a silently wrong label; a kind that cannot reach a list is refused.

// The solar terms' list holds only 節, 土用 and 中気.
const char* kindName(EventKind kind) {
    switch (kind) {
    case EventKind::Setsu:
        return "節";
    case EventKind::Doyo:
        return "土用";
    case EventKind::Chuki:
        return "中気";
    case EventKind::Longitude:
        break;
    }
    throw std::logic_error("JSON document: an event that is not a solar term among the terms");
}

const char* holidayKindName(holidays::HolidayKind kind) {
    switch (kind) {
    case holidays::HolidayKind::Special:
        return "special";
    case holidays::HolidayKind::Substitute:
        return "substitute";
    case holidays::HolidayKind::Bridge:
        return "bridge";
    case holidays::HolidayKind::National:
        return "national";
    }
    throw std::logic_error("JSON document: a holiday of no known kind");
}

const char* zassetsuKindName(zassetsu::Kind kind) {
    switch (kind) {
    case zassetsu::Kind::Moment:
        return "moment";
    case zassetsu::Kind::Period:
        return "doyoPeriod";
    case zassetsu::Kind::UshiDay:
        return "ushiDay";
    case zassetsu::Kind::Day:
        return "day";
    }
    throw std::logic_error("JSON document: a 雑節 of no known kind");
}

Json solarTerm(const almanac::YearAlmanac& almanac, const almanac::Event& e) {
    // The shown day of the event's month, as the result line counts it.
    const long long day = dayNumber(e.date) - dayNumber(CivilDate{almanac.year, e.month, 1}) + 1;
    Json j;
    j["month"] = e.month;
    j["kind"] = kindName(e.kind);
    j["name"] = e.name;
    j["longitude"] = fixed(e.longitude, 0);
    j["moment"] = {{"year", almanac.year},
                   {"month", e.month},
                   {"day", fixed(e.momentDay, 8)},
                   {"jd", fixed(e.momentJd, 8)}};
    if (almanac.precise) {
        j["moment"]["deltaT"] = fixed(e.deltaT, 3);
        j["moment"]["uncertainty"] = fixed(e.uncertainty, 1);
    }
    j["jst"] = {{"day", day}, {"hour", e.hour}, {"minute", e.minute}};
    if (outsideMonth(almanac.year, e)) {
        j["outsideMonth"] = true;
    }
    j["line"] = e.line;
    return j;
}

Json zassetsuItem(const zassetsu::Item& z) {
    Json j;
    j["kind"] = zassetsuKindName(z.kind);
    j["id"] = z.id;
    j["name"] = z.name;
    j["date"] = isoDateText(z.date);
    if (z.kind == zassetsu::Kind::Period) {
        j["lastDate"] = isoDateText(z.lastDate);
    }
    if (z.kind == zassetsu::Kind::Moment) {
        j["jst"] = {{"hour", z.hour}, {"minute", z.minute}};
        j["longitude"] = fixed(z.longitude, 0);
    }
    j["line"] = z.line;
    return j;
}

} // namespace

bool outsideMonth(int year, const almanac::Event& event) {
    return event.date.year != year || event.date.month != event.month;
}

std::string monthJson(const almanac::YearAlmanac& almanac, int month) {
    const almanac::MonthListing& listing = almanac.monthListing(month);
    const almanac::FirstDay& first = almanac.firstDay(month);
    Json doc;
    doc["year"] = almanac.year;
    doc["month"] = month;
    doc["yearCaption"] = listing.yearCaption;
    doc["monthCaption"] = listing.monthCaption;
    Json days = Json::array();
    const int count = daysInMonth(almanac.year, month);
    for (int d = 1; d <= count; ++d) {
        const int sexagenary = (first.sexagenary - 1 + d - 1) % 60 + 1;
        const int weekday = (first.weekday - 1 + d - 1) % 7 + 1;
        days.push_back({{"day", d},
                        {"weekday", weekdayNames[static_cast<std::size_t>(weekday)]},
                        {"sexagenary", sexagenaryNames[static_cast<std::size_t>(sexagenary)]}});
    }
    doc["days"] = std::move(days);
    return doc.dump(2) + "\n";
}

std::string yearJson(const almanac::YearAlmanac& almanac, bool withZassetsu, bool withHolidays) {
    Json doc;
    doc["year"] = almanac.year;
    doc["mode"] = almanac.precise ? "precise" : "default";
    doc["timeScale"] = almanac.precise
                           ? "moment: Terrestrial Time (TT), the Sun's apparent longitude from the "
                             "IAU model; jst: UTC + 9 h (TT - UT from Espenak-Meeus before 1960); "
                             "deltaT: TT - jst's UTC or UT, seconds; uncertainty: of the jst "
                             "moment, seconds"
                           : "moment: the solar theory's uniform time scale; jst: Japan Standard "
                             "Time after light time and the time-scale correction";
    if (almanac.precise) {
        doc["uncertainty"] = fixed(almanac.uncertainty, 1);
    } else {
        doc["offsetFromPrecise"] = {
            {"seconds", fixed(almanac.defaultOffset, 0)},
            {"basis", "estimate: how much later the jst moments lie than the precise "
                      "mode's, from the difference of the two modes' TT - UT"}};
    }
    Json events = Json::array();
    for (const almanac::Event& e : almanac.solarTerms) {
        events.push_back(solarTerm(almanac, e));
    }
    doc["events"] = std::move(events);
    Json firstDays = Json::array();
    for (int m = 1; m <= 12; ++m) {
        const almanac::FirstDay& first = almanac.firstDay(m);
        firstDays.push_back(
            {{"month", m}, {"sexagenary", first.sexagenaryName}, {"weekday", first.weekdayName}});
    }
    doc["firstDays"] = std::move(firstDays);
    if (withZassetsu) {
        Json items = Json::array();
        for (const zassetsu::Item& z : almanac.zassetsu) {
            items.push_back(zassetsuItem(z));
        }
        doc["zassetsu"] = std::move(items);
    }
    if (withHolidays) {
        Json days = Json::array();
        for (const holidays::Holiday& h : almanac.holidays) {
            days.push_back({{"date", isoDateText(h.date)},
                            {"name", h.name},
                            {"kind", holidayKindName(h.kind)},
                            {"provisional", h.provisional}});
        }
        doc["holidays"] = std::move(days);
        if (const std::string note = holidaysNote(almanac.year); !note.empty()) {
            doc["holidaysNote"] = note;
        }
    }
    return doc.dump(2) + "\n";
}

} // namespace sorvane::exports
