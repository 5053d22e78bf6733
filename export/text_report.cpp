#include "export/text_report.h"

#include "almanac/coverage.h"

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
    if (const std::string note = almanac::uncertaintyNote(almanac); !note.empty()) {
        out += "\n注：" + note + "\n";
    }
    return out;
}

std::string zassetsuReport(const almanac::YearAlmanac& almanac) {
    std::string out;
    for (const zassetsu::Item& item : almanac.zassetsu) {
        out += item.line + "\n";
    }
    return out;
}

std::string holidaysNote(int year) {
    const CivilDate law = almanac::firstHolidayDate();
    return year < law.year ? "no national holidays before " + isoDateText(law) +
                                 ", the day the holiday law took effect"
                           : "";
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
