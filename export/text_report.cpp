#include "export/text_report.h"

#include <cmath>

namespace sorvane::exports {

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

} // namespace

std::string yearReport(const almanac::YearAlmanac& almanac, bool withZassetsu) {
    std::string out;
    for (const almanac::Event& e : almanac.solarTerms) {
        out += e.line + "\n";
    }
    out += "\n";
    for (int m = 1; m <= 12; ++m) {
        out += std::to_string(m) + "月 " + almanac.firstDay(m).sexagenaryName + "\n";
    }
    if (withZassetsu) {
        out += "\n" + zassetsuReport(almanac);
    }
    if (almanac.precise && almanac.uncertainty > kNotedUncertainty) {
        const auto minutes = static_cast<long long>(std::ceil(almanac.uncertainty / 60.0));
        out += "\n注：この年の時刻は±" + std::to_string(minutes) + "分ほどずれることがあります\n";
    }
    return out;
}

std::string zassetsuReport(const almanac::YearAlmanac& almanac) {
    std::string out;
    for (const almanac::Event& item : almanac.zassetsu) {
        out += item.line + "\n";
    }
    return out;
}

std::string holidayReport(const almanac::YearAlmanac& almanac) {
    std::string out;
    for (const holidays::Holiday& h : almanac.holidays) {
        out += monthDayText(h.date) + "  " + h.name + "\n";
    }
    return out;
}

std::string monthReport(const almanac::YearAlmanac& almanac, int month) {
    const almanac::MonthListing& listing = almanac.monthListing(month);
    return listing.yearCaption + "\n" + listing.monthCaption + "\n\n" +
           withNewlines(listing.dayLines);
}

} // namespace sorvane::exports
