#include "cli/report.h"

#include "calendar/julian_day.h"
#include "cli/json_writer.h"
#include "ui/month_listing.h"

#include <cstdio>

namespace sorvane::cli {

namespace {

std::string withNewlines(const std::string& crlfText) {
    std::string out;
    out.reserve(crlfText.size());
    for (char c : crlfText) {
        if (c != '\r') {
            out += c;
        }
    }
    return out;
}

const char* kindName(int kind) {
    switch (kind) {
    case kSetsu:
        return "節";
    case kDoyo:
        return "土用";
    default:
        return "中気";
    }
}

std::string firstDayLines(const Tables& tables, const Finder& finder) {
    std::string out;
    for (int m = 1; m <= 12; ++m) {
        out += std::to_string(m) + "月 " + tables.sexagenaryNames[finder.kanshi1[m]] + "\n";
    }
    return out;
}

std::string dateText(const CivilDate& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

const char* zassetsuKindName(ZassetsuKind kind) {
    switch (kind) {
    case ZassetsuKind::Day:
        return "day";
    case ZassetsuKind::Moment:
        return "moment";
    case ZassetsuKind::DoyoPeriod:
        return "doyoPeriod";
    case ZassetsuKind::UshiDay:
        return "ushiDay";
    }
    return "day";
}

} // namespace

std::string yearReport(const Tables& tables, const Finder& finder) {
    return finder.resultText("\n") + "\n" + firstDayLines(tables, finder);
}

std::string yearReport(const Tables& tables, const Finder& finder, const YearAlmanac& almanac,
                       bool withZassetsu) {
    std::string out;
    if (almanac.precise) {
        for (const ShownEvent& e : almanac.events) {
            out += e.line + "\n";
        }
    } else {
        out = finder.resultText("\n");
    }
    out += "\n" + firstDayLines(tables, finder);
    if (withZassetsu) {
        out += "\n" + zassetsuReport(almanac);
    }
    return out;
}

std::string zassetsuReport(const YearAlmanac& almanac) {
    std::string out;
    for (const ZassetsuItem& item : almanac.zassetsu) {
        out += zassetsuLine(item) + "\n";
    }
    return out;
}

std::string monthReport(const Tables& tables, const Finder& finder, int month) {
    const MonthListing listing =
        nikkanhyouji(tables, finder.yy, month, finder.kanshi1[month], finder.youbi1[month]);
    return listing.lblnen + "\n" + listing.lbltuki + "\n\n" + withNewlines(listing.txtnikkan);
}

std::string yearJson(const Tables& tables, const Finder& finder) {
    return yearJson(tables, finder, defaultEvents(finder), false);
}

std::string yearJson(const Tables& tables, const Finder& finder, const YearAlmanac& almanac,
                     bool withZassetsu) {
    std::string out = "{\n  \"year\": " + std::to_string(finder.yy) + ",\n";
    out += std::string("  \"mode\": \"") + (almanac.precise ? "precise" : "default") + "\",\n";
    out += "  \"timeScale\": " +
           jsonString(almanac.precise
                          ? "moment: Terrestrial Time (TT), the Sun's apparent longitude from the "
                            "IAU model; jst: UTC + 9 h (TT - UT from Espenak-Meeus before 1960)"
                          : "moment: the solar theory's uniform time scale; jst: Japan Standard "
                            "Time after light time and the time-scale correction") +
           ",\n";
    out += "  \"events\": [\n";
    const auto& events = almanac.events;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const ShownEvent& e = events[i];
        const std::string& shown = e.kind == kDoyo
                                       ? tables.solarTermNames[0][0]
                                       : tables.solarTermNames[e.month][e.kind == kSetsu ? 0 : 1];
        out += "    {\"month\": " + std::to_string(e.month) +
               ", \"kind\": " + jsonString(kindName(e.kind)) +
               ", \"name\": " + jsonString(plainName(shown)) +
               ", \"longitude\": " + jsonNumber(e.target, 0) + ",\n";
        out += "     \"moment\": {\"year\": " + std::to_string(finder.yy) +
               ", \"month\": " + std::to_string(e.month) +
               ", \"day\": " + jsonNumber(e.momentDay, 8) +
               ", \"jd\": " + jsonNumber(e.momentJd, 8) + "},\n";
        out += "     \"jst\": {\"day\": " + jsonNumber(e.day, 0) +
               ", \"hour\": " + jsonNumber(e.hour, 0) + ", \"minute\": " + jsonNumber(e.minute, 0) +
               "},\n";
        out += "     \"line\": " + jsonString(e.line) + "}";
        out += i + 1 < events.size() ? ",\n" : "\n";
    }
    out += "  ],\n  \"firstDays\": [\n";
    for (int m = 1; m <= 12; ++m) {
        out += "    {\"month\": " + std::to_string(m) +
               ", \"sexagenary\": " + jsonString(tables.sexagenaryNames[finder.kanshi1[m]]) +
               ", \"weekday\": " + jsonString(tables.weekdayNames[finder.youbi1[m]]) + "}";
        out += m < 12 ? ",\n" : "\n";
    }
    out += "  ]";
    if (withZassetsu) {
        out += ",\n  \"zassetsu\": [\n";
        const auto& items = almanac.zassetsu;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ZassetsuItem& z = items[i];
            out += "    {\"kind\": " + jsonString(zassetsuKindName(z.kind)) +
                   ", \"id\": " + jsonString(z.id) + ", \"name\": " + jsonString(z.name) +
                   ", \"date\": " + jsonString(dateText(z.date));
            if (z.kind == ZassetsuKind::DoyoPeriod) {
                out += ", \"lastDate\": " + jsonString(dateText(z.lastDate));
            }
            if (z.kind == ZassetsuKind::Moment) {
                out += ", \"jst\": {\"hour\": " + std::to_string(z.hour) +
                       ", \"minute\": " + std::to_string(z.minute) +
                       "}, \"longitude\": " + jsonNumber(z.longitude, 0);
            }
            out += ", \"line\": " + jsonString(zassetsuLine(z)) + "}";
            out += i + 1 < items.size() ? ",\n" : "\n";
        }
        out += "  ]";
    }
    out += "\n}\n";
    return out;
}

} // namespace sorvane::cli
