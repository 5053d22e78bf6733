#include "wareki/day_report.h"

#include "calendar/day_cycles.h"
#include "calendar/names.h"
#include "lunisolar/lunisolar_calendar.h"
#include "wareki/parse.h"

#include <nlohmann/json.hpp>

namespace sorvane::wareki {

DayReport describeDay(long long jdn) {
    DayReport r;
    r.jdn = jdn;
    r.gregorian = westernDate(Western::Gregorian, jdn);
    r.julian = westernDate(Western::Julian, jdn);
    r.historical = historicalCalendar(jdn);
    // The day cycles take the project's day number, the JDN less one.
    r.weekday = youbi(static_cast<double>(jdn - 1));
    r.sexagenary = kanshi(static_cast<double>(jdn - 1));
    r.lunisolar = lunisolarDateOf(jdn);
    if (r.lunisolar) {
        r.rokuyo = lunisolar::rokuyo(r.lunisolar->month, r.lunisolar->day);
    }
    r.eras = eraDaysOf(jdn);
    if (r.eras.size() == 2) {
        r.warekiTexts = {warekiText(jdn, Line::South), warekiText(jdn, Line::North)};
    } else if (r.eras.size() == 1) {
        r.warekiTexts = {warekiText(jdn)};
    }
    return r;
}

namespace {

std::string westernLine(const DayReport& r, Western calendar) {
    const WesternDate& d = calendar == Western::Gregorian ? r.gregorian : r.julian;
    std::string note;
    if (calendar != r.historical) {
        note = calendar == Western::Gregorian ? "（先発グレゴリオ暦: 1582-10-15 より前）"
                                              : "（先発ユリウス暦: 1582-10-15 からはグレゴリオ暦）";
    } else {
        note = "（当時の西暦）";
    }
    return std::string(calendarName(calendar)) + "  " + isoText(d) + " " + note + "\n";
}

} // namespace

std::string lunisolarDayText(const LunisolarDate& l) {
    return std::to_string(l.year) + "年" + lunisolarDateText(l.month, l.leap, l.day) + "（" +
           monthText(l.month, l.leap) + "は" + std::to_string(l.monthLength) + "日" +
           (l.source == LunisolarSource::Table ? "、当時の暦の表から"
                                               : "、現行の旧暦の規則で計算") +
           "）";
}

std::string dayReportText(const DayReport& r) {
    std::string out;
    if (r.warekiTexts.empty()) {
        out += "和暦      なし（元号も天皇の在位年もない日）\n";
    }
    for (const std::string& text : r.warekiTexts) {
        out += "和暦      " + text + "\n";
    }
    out += westernLine(r, r.historical);
    out += westernLine(r, r.historical == Western::Julian ? Western::Gregorian : Western::Julian);
    out += "曜日      " + weekdayNames[static_cast<std::size_t>(r.weekday)] + "\n";
    out += "干支      " + sexagenaryNames[static_cast<std::size_t>(r.sexagenary)] + "\n";
    if (r.lunisolar) {
        const LunisolarDate& l = *r.lunisolar;
        out += "旧暦      " + lunisolarDayText(l) + "\n";
        out +=
            "六曜      " + std::string(lunisolar::rokuyoName(r.rokuyo)) +
            (l.source == LunisolarSource::Table ? "（旧暦の月日から、当時の暦の日として）" : "") +
            "\n";
    } else {
        out += "旧暦      なし（1873-1899年は太陽暦のみ。旧暦の表は1872年まで、計算は"
               "1900-2100年）\n";
    }
    out += "ユリウス通日 " + std::to_string(r.jdn) + "\n";
    return out;
}

std::string dayReportJson(const DayReport& r, const std::string& input, const char* inputCalendar) {
    nlohmann::ordered_json j;
    j["input"] = input;
    j["inputCalendar"] = inputCalendar;
    j["jdn"] = r.jdn;
    j["gregorian"] = isoText(r.gregorian);
    j["julian"] = isoText(r.julian);
    j["historicalCalendar"] = calendarKey(r.historical);
    j["weekday"] = weekdayNames[static_cast<std::size_t>(r.weekday)];
    j["sexagenary"] = sexagenaryNames[static_cast<std::size_t>(r.sexagenary)];
    if (r.lunisolar) {
        const LunisolarDate& l = *r.lunisolar;
        j["lunisolar"] = {{"year", l.year},
                          {"month", l.month},
                          {"leap", l.leap},
                          {"day", l.day},
                          {"monthLength", l.monthLength},
                          {"source", l.source == LunisolarSource::Table ? "table" : "rule"},
                          {"text", lunisolarDayText(l)}};
        j["rokuyo"] = lunisolar::rokuyoName(r.rokuyo);
    } else {
        j["lunisolar"] = nullptr;
        j["rokuyo"] = nullptr;
    }
    j["eras"] = nlohmann::ordered_json::array();
    for (const EraDay& e : r.eras) {
        nlohmann::ordered_json era{{"era", e.era}, {"reading", e.reading}, {"year", e.year}};
        era["line"] = e.line ? nlohmann::ordered_json(lineName(*e.line)) : nullptr;
        j["eras"].push_back(era);
    }
    j["wareki"] = r.warekiTexts;
    // Text that is not UTF-8 is written replaced, not thrown on.
    return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

} // namespace sorvane::wareki
