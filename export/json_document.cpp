#include "export/json_document.h"

#include "almanac/zassetsu.h"

#include <cmath>
#include <cstdio>

namespace sorvane::exports {

namespace {

// JSON values appended to a string; the caller writes the structure (braces, commas).
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

const char* kindName(EventKind kind) {
    switch (kind) {
    case EventKind::Setsu:
        return "節";
    case EventKind::Doyo:
        return "土用";
    default:
        return "中気";
    }
}

std::string dateText(const CivilDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

const char* zassetsuKindName(EventKind kind) {
    switch (kind) {
    case EventKind::ZassetsuMoment:
        return "moment";
    case EventKind::DoyoPeriod:
        return "doyoPeriod";
    case EventKind::UshiDay:
        return "ushiDay";
    default:
        return "day";
    }
}

const char* holidayKindName(holidays::HolidayKind kind) {
    switch (kind) {
    case holidays::HolidayKind::Special:
        return "special";
    case holidays::HolidayKind::Substitute:
        return "substitute";
    case holidays::HolidayKind::Bridge:
        return "bridge";
    default:
        return "national";
    }
}

} // namespace

bool outsideMonth(int year, const almanac::Event& event) {
    return event.date.year != year || event.date.month != event.month;
}

std::string monthJson(const Tables& tables, const almanac::YearAlmanac& almanac, int month) {
    const almanac::MonthListing& listing = almanac.monthListing(month);
    const almanac::FirstDay& first = almanac.firstDay(month);
    std::string out =
        "{\n  \"year\": " + std::to_string(almanac.year) + ", \"month\": " + std::to_string(month) +
        ", \"yearCaption\": " + jsonString(listing.yearCaption) +
        ", \"monthCaption\": " + jsonString(listing.monthCaption) + ",\n  \"days\": [\n";
    const int days = almanac::uruu(almanac.year)[static_cast<std::size_t>(month)];
    for (int d = 1; d <= days; ++d) {
        const int sexagenary = (first.sexagenary - 1 + d - 1) % 60 + 1;
        const int weekday = (first.weekday - 1 + d - 1) % 7 + 1;
        out += "    {\"day\": " + std::to_string(d) + ", \"weekday\": " +
               jsonString(tables.weekdayNames[static_cast<std::size_t>(weekday)]) +
               ", \"sexagenary\": " +
               jsonString(tables.sexagenaryNames[static_cast<std::size_t>(sexagenary)]) + "}";
        out += d < days ? ",\n" : "\n";
    }
    return out + "  ]\n}\n";
}

std::string yearJson(const almanac::YearAlmanac& almanac, bool withZassetsu, bool withHolidays) {
    std::string out = "{\n  \"year\": " + std::to_string(almanac.year) + ",\n";
    out += std::string("  \"mode\": \"") + (almanac.precise ? "precise" : "default") + "\",\n";
    out += "  \"timeScale\": " +
           jsonString(almanac.precise
                          ? "moment: Terrestrial Time (TT), the Sun's apparent longitude from the "
                            "IAU model; jst: UTC + 9 h (TT - UT from Espenak-Meeus before 1960); "
                            "deltaT: TT - jst's UTC or UT, seconds; uncertainty: of the jst "
                            "moment, seconds"
                          : "moment: the solar theory's uniform time scale; jst: Japan Standard "
                            "Time after light time and the time-scale correction") +
           ",\n";
    if (almanac.precise) {
        out += "  \"uncertainty\": " + jsonNumber(almanac.uncertainty, 1) + ",\n";
    } else {
        out += "  \"offsetFromPrecise\": {\"seconds\": " + jsonNumber(almanac.defaultOffset, 0) +
               ", \"basis\": " +
               jsonString("estimate: how much later the jst moments lie than the precise "
                          "mode's, from the difference of the two modes' TT - UT") +
               "},\n";
    }
    out += "  \"events\": [\n";
    const auto& events = almanac.solarTerms;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const almanac::Event& e = events[i];
        // The shown day of the event's month, as the result line counts it.
        const long long day =
            dayNumber(e.date) - dayNumber(CivilDate{almanac.year, e.month, 1}) + 1;
        out += "    {\"month\": " + std::to_string(e.month) +
               ", \"kind\": " + jsonString(kindName(e.kind)) + ", \"name\": " + jsonString(e.name) +
               ", \"longitude\": " + jsonNumber(e.longitude, 0) + ",\n";
        out += "     \"moment\": {\"year\": " + std::to_string(almanac.year) +
               ", \"month\": " + std::to_string(e.month) +
               ", \"day\": " + jsonNumber(e.momentDay, 8) +
               ", \"jd\": " + jsonNumber(e.momentJd, 8);
        if (almanac.precise) {
            out += ", \"deltaT\": " + jsonNumber(e.deltaT, 3) +
                   ", \"uncertainty\": " + jsonNumber(e.uncertainty, 1);
        }
        out += "},\n";
        out += "     \"jst\": {\"day\": " + jsonNumber(static_cast<double>(day), 0) +
               ", \"hour\": " + jsonNumber(e.hour, 0) + ", \"minute\": " + jsonNumber(e.minute, 0) +
               "},\n";
        if (outsideMonth(almanac.year, e)) {
            out += "     \"outsideMonth\": true,\n";
        }
        out += "     \"line\": " + jsonString(e.line) + "}";
        out += i + 1 < events.size() ? ",\n" : "\n";
    }
    out += "  ],\n  \"firstDays\": [\n";
    for (int m = 1; m <= 12; ++m) {
        const almanac::FirstDay& first = almanac.firstDay(m);
        out += "    {\"month\": " + std::to_string(m) +
               ", \"sexagenary\": " + jsonString(first.sexagenaryName) +
               ", \"weekday\": " + jsonString(first.weekdayName) + "}";
        out += m < 12 ? ",\n" : "\n";
    }
    out += "  ]";
    if (withZassetsu) {
        out += ",\n  \"zassetsu\": [\n";
        const auto& items = almanac.zassetsu;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const almanac::Event& z = items[i];
            out += "    {\"kind\": " + jsonString(zassetsuKindName(z.kind)) +
                   ", \"id\": " + jsonString(z.id) + ", \"name\": " + jsonString(z.name) +
                   ", \"date\": " + jsonString(dateText(z.date));
            if (z.kind == EventKind::DoyoPeriod) {
                out += ", \"lastDate\": " + jsonString(dateText(z.lastDate));
            }
            if (z.kind == EventKind::ZassetsuMoment) {
                out += ", \"jst\": {\"hour\": " + std::to_string(z.hour) +
                       ", \"minute\": " + std::to_string(z.minute) +
                       "}, \"longitude\": " + jsonNumber(z.longitude, 0);
            }
            out += ", \"line\": " + jsonString(z.line) + "}";
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        out += "  ]";
    }
    if (withHolidays) {
        out += ",\n  \"holidays\": [";
        const auto& days = almanac.holidays;
        for (std::size_t i = 0; i < days.size(); ++i) {
            const holidays::Holiday& h = days[i];
            out += i == 0 ? "\n" : ",\n";
            out += "    {\"date\": " + jsonString(dateText(h.date)) +
                   ", \"name\": " + jsonString(h.name) +
                   ", \"kind\": " + jsonString(holidayKindName(h.kind)) +
                   ", \"provisional\": " + (h.provisional ? "true" : "false") + "}";
        }
        out += days.empty() ? "]" : "\n  ]";
    }
    out += "\n}\n";
    return out;
}

} // namespace sorvane::exports
