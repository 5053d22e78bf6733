#include "cli/report.h"

#include "calendar/julian_day.h"
#include "cli/json_writer.h"
#include "ui/month_listing.h"

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

// "小　寒" -> "小寒": the name without the full-width space used for alignment.
std::string plainName(const std::string& name) {
    const std::string wideSpace = "\u3000";
    std::string out = name;
    const auto pos = out.find(wideSpace);
    if (pos != std::string::npos) {
        out.erase(pos, wideSpace.size());
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

} // namespace

std::string yearReport(const Tables& tables, const Finder& finder) {
    std::string out = finder.resultText("\n");
    out += "\n";
    for (int m = 1; m <= 12; ++m) {
        out += std::to_string(m) + "月 " + tables.sexagenaryNames[finder.kanshi1[m]] + "\n";
    }
    return out;
}

std::string monthReport(const Tables& tables, const Finder& finder, int month) {
    const MonthListing listing =
        nikkanhyouji(tables, finder.yy, month, finder.kanshi1[month], finder.youbi1[month]);
    return listing.lblnen + "\n" + listing.lbltuki + "\n\n" + withNewlines(listing.txtnikkan);
}

std::string yearJson(const Tables& tables, const Finder& finder) {
    std::string out = "{\n  \"year\": " + std::to_string(finder.yy) + ",\n";
    out += "  \"mode\": \"default\",\n";
    out += "  \"timeScale\": " +
           jsonString("moment: the solar theory's uniform time scale; jst: Japan Standard Time "
                      "after light time and the time-scale correction") +
           ",\n";
    out += "  \"events\": [\n";
    const auto moments = finder.orderedMoments();
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const EventMoment& e = moments[i];
        const std::string& shown = e.kind == kDoyo
                                       ? tables.solarTermNames[0][0]
                                       : tables.solarTermNames[e.month][e.kind == kSetsu ? 0 : 1];
        out += "    {\"month\": " + std::to_string(e.month) +
               ", \"kind\": " + jsonString(kindName(e.kind)) +
               ", \"name\": " + jsonString(plainName(shown)) +
               ", \"longitude\": " + jsonNumber(e.target, 0) + ",\n";
        out += "     \"moment\": {\"year\": " + std::to_string(finder.yy) +
               ", \"month\": " + std::to_string(e.month) +
               ", \"day\": " + jsonNumber(e.theoryDay, 8) +
               ", \"jd\": " + jsonNumber(julianday(finder.yy, e.month, e.theoryDay), 8) + "},\n";
        out += "     \"jst\": {\"day\": " + jsonNumber(e.day, 0) +
               ", \"hour\": " + jsonNumber(e.hour, 0) + ", \"minute\": " + jsonNumber(e.minute, 0) +
               "},\n";
        out += "     \"line\": " + jsonString(finder.kekka[e.month][e.kind]) + "}";
        out += i + 1 < moments.size() ? ",\n" : "\n";
    }
    out += "  ],\n  \"firstDays\": [\n";
    for (int m = 1; m <= 12; ++m) {
        out += "    {\"month\": " + std::to_string(m) +
               ", \"sexagenary\": " + jsonString(tables.sexagenaryNames[finder.kanshi1[m]]) +
               ", \"weekday\": " + jsonString(tables.weekdayNames[finder.youbi1[m]]) + "}";
        out += m < 12 ? ",\n" : "\n";
    }
    out += "  ]\n}\n";
    return out;
}

} // namespace sorvane::cli
