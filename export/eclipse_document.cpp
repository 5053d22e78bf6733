#include "export/eclipse_document.h"

#include "almanac/day_eclipses.h"
#include "calendar/civil_date.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace sorvane::exports {

namespace {

using eclipse::Contact;

struct Moment {
    CivilDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The JST minute shown (rounded), with the day it falls on.
Moment minuteOf(const Contact& c) {
    const auto day = static_cast<long long>(std::floor(static_cast<double>(c.jstMinute) / 1440.0));
    const int m = static_cast<int>(c.jstMinute - day * 1440);
    return {civilDate(day), m / 60, m % 60, 0};
}

// The JST second (rounded), for JSON.
Moment secondOf(const Contact& c) {
    const auto s = static_cast<long long>(std::llround((c.jdJST - 0.5) * 86400.0));
    const auto day = static_cast<long long>(std::floor(static_cast<double>(s) / 86400.0));
    const int r = static_cast<int>(s - day * 86400);
    return {civilDate(day), r / 3600, r / 60 % 60, r % 60};
}

std::string hhmm(const Moment& m) {
    char b[32];
    std::snprintf(b, sizeof b, "%02d:%02d", m.hour, m.minute);
    return b;
}

std::string iso(const Moment& m) {
    char b[48];
    std::snprintf(b, sizeof b, "T%02d:%02d:%02d+09:00", m.hour, m.minute, m.second);
    return isoDateText(m.date) + b;
}

// Degrees to a tenth, right-aligned in five places ("-36.5", " 22.8", "322.9"), so that the
// contact lines of an eclipse keep their columns.
std::string degrees(double d) {
    char b[48];
    std::snprintf(b, sizeof b, "%5.1f°", d);
    return b;
}

// A contact's name filled with ideographic spaces to `width` characters (every character of
// the names is one of double width), so that the times of an eclipse's lines stand in one
// column: 5 for the Sun's (食の終わり), 7 for the Moon's (皆既食の終わり).
std::string paddedName(const char* name, std::size_t width) {
    std::string out = name;
    std::size_t characters = 0;
    for (const char c : out) {
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    for (; characters < width; ++characters) {
        out += "　";
    }
    return out;
}

std::string fixed(double v, int digits) {
    char b[48];
    std::snprintf(b, sizeof b, "%.*f", digits, v);
    return b;
}

// One contact's line: "  始め      15:41  高度 28.1°  方位 278.4°" (the date where it is not the
// eclipse's), 「（地平線下）」 below the horizon.
std::string contactLine(const char* name, std::size_t width, const Contact& c, const CivilDate& day,
                        const char* body) {
    const Moment m = minuteOf(c);
    std::string line = "  " + paddedName(name, width) + "  ";
    if (m.date.year != day.year || m.date.month != day.month || m.date.day != day.day) {
        line += monthDayText(m.date) + " ";
    }
    line += hhmm(m);
    if (c.horizontal) {
        line += "  " + std::string(body) + "高度 " + degrees(c.horizontal->altitude) + "  方位 " +
                degrees(c.horizontal->azimuth);
        if (!c.horizontal->above) {
            line += "（地平線下）";
        }
    }
    return line + "\n";
}

const char* qualityText(eclipse::Quality q) {
    switch (q) {
    case eclipse::Quality::Sure:
        return "sure";
    case eclipse::Quality::Doubtful:
        return "doubtful";
    case eclipse::Quality::Failed:
        return "failed";
    }
    return "";
}

nlohmann::json contactJson(const Contact& c) {
    nlohmann::json j = {{"time", iso(secondOf(c))}};
    if (c.horizontal) {
        j["altitude"] = std::round(c.horizontal->altitude * 10) / 10;
        j["azimuth"] = std::round(c.horizontal->azimuth * 10) / 10;
        j["aboveHorizon"] = c.horizontal->above;
    }
    return j;
}

const char* const kLunarNames[7] = {"半影食の始め",   "部分食の始め",   "皆既食の始め",  "食の最大",
                                    "皆既食の終わり", "部分食の終わり", "半影食の終わり"};
const char* const kLunarKeys[7] = {"P1", "U1", "U2", "maximum", "U3", "U4", "P4"};
constexpr std::size_t kSolarWidth = 5;
constexpr std::size_t kLunarWidth = 7;

} // namespace

EclipseYear eclipseYear(int year, const std::string& placeName, const horizon::Observer& observer) {
    return {year, placeName, observer, eclipse::solarEclipses(year, observer),
            eclipse::lunarEclipses(year, observer)};
}

std::string eclipseReport(const EclipseYear& y) {
    std::string out = std::to_string(y.year) + "年の日食・月食（" + y.placeName + "）\n";
    if (y.solar.empty() && y.lunar.empty()) {
        return out + "この年に日食・月食はありません\n";
    }
    for (const eclipse::SolarEclipse& e : y.solar) {
        if (e.quality == eclipse::Quality::Failed) {
            out += "\n" + isoDateText(minuteOf(e.greatest).date) + " 日食：計算できませんでした\n";
            continue;
        }
        const CivilDate day = minuteOf(e.greatest).date;
        out += "\n" + isoDateText(day) + " " + eclipse::solarKindName(e.kind);
        if (e.quality == eclipse::Quality::Doubtful) {
            out += "（不確か：種類の境目に近いか、TT − UT が不確か）";
        }
        out += "\n";
        if (!e.local) {
            out += "  " + y.placeName + "では食になりません\n";
            continue;
        }
        const eclipse::LocalSolarEclipse& l = *e.local;
        out += "  " + y.placeName + "：" + eclipse::solarKindName(l.kind) + "  食分 " +
               fixed(l.magnitude, 3) + "  面積比 " + fixed(l.obscuration * 100, 1) + "%" +
               (l.seen ? "" : "（太陽が地平線下で見えません）") + "\n";
        out += contactLine("食の始め", kSolarWidth, l.begin, day, "太陽");
        if (l.second) {
            out += contactLine("第２接触", kSolarWidth, *l.second, day, "太陽");
        }
        out += contactLine("食の最大", kSolarWidth, l.maximum, day, "太陽");
        if (l.third) {
            out += contactLine("第３接触", kSolarWidth, *l.third, day, "太陽");
        }
        out += contactLine("食の終わり", kSolarWidth, l.end, day, "太陽");
    }
    for (const eclipse::LunarEclipse& e : y.lunar) {
        const CivilDate day = minuteOf(*e.contacts[eclipse::Greatest]).date;
        out += "\n" + isoDateText(day) + " " + eclipse::lunarKindName(e.kind);
        if (e.quality == eclipse::Quality::Doubtful) {
            out += "（不確か：種類の境目に近いか、TT − UT が不確か）";
        }
        out += "  食分 " + fixed(e.umbralMagnitude, 3) + "  半影食分 " +
               fixed(e.penumbralMagnitude, 3) + "\n";
        for (std::size_t k = 0; k < 7; ++k) {
            if (e.contacts[k]) {
                out += contactLine(kLunarNames[k], kLunarWidth, *e.contacts[k], day, "月");
            }
        }
    }
    return out;
}

std::string eclipseJson(const EclipseYear& y) {
    nlohmann::json doc = {{"year", y.year},
                          {"place",
                           {{"name", y.placeName},
                            {"latitude", y.observer.latitude},
                            {"longitude", y.observer.longitude}}},
                          {"solar", nlohmann::json::array()},
                          {"lunar", nlohmann::json::array()}};
    for (const eclipse::SolarEclipse& e : y.solar) {
        nlohmann::json j = {{"kind", eclipse::solarKindName(e.kind)},
                            {"central", e.central},
                            {"greatest", iso(secondOf(e.greatest))},
                            {"gamma", std::round(e.gamma * 1e4) / 1e4},
                            {"quality", qualityText(e.quality)}};
        if (e.local) {
            const eclipse::LocalSolarEclipse& l = *e.local;
            nlohmann::json local = {{"kind", eclipse::solarKindName(l.kind)},
                                    {"seen", l.seen},
                                    {"magnitude", std::round(l.magnitude * 1e3) / 1e3},
                                    {"obscuration", std::round(l.obscuration * 1e3) / 1e3},
                                    {"begin", contactJson(l.begin)},
                                    {"maximum", contactJson(l.maximum)},
                                    {"end", contactJson(l.end)}};
            if (l.second) {
                local["second"] = contactJson(*l.second);
            }
            if (l.third) {
                local["third"] = contactJson(*l.third);
            }
            j["local"] = local;
        } else {
            j["local"] = nullptr;
        }
        doc["solar"].push_back(j);
    }
    for (const eclipse::LunarEclipse& e : y.lunar) {
        nlohmann::json j = {{"kind", eclipse::lunarKindName(e.kind)},
                            {"umbralMagnitude", std::round(e.umbralMagnitude * 1e3) / 1e3},
                            {"penumbralMagnitude", std::round(e.penumbralMagnitude * 1e3) / 1e3},
                            {"quality", qualityText(e.quality)}};
        for (std::size_t k = 0; k < 7; ++k) {
            if (e.contacts[k]) {
                j[kLunarKeys[k]] = contactJson(*e.contacts[k]);
            }
        }
        doc["lunar"].push_back(j);
    }
    return doc.dump(2) + "\n";
}

std::vector<CalendarEvent> eclipseEvents(const EclipseYear& y) {
    std::vector<CalendarEvent> out;
    auto instant = [&](const Contact& c, const std::string& kind, const std::string& summary,
                       const std::vector<std::string>& lines) {
        const Moment m = minuteOf(c);
        CalendarEvent ev;
        ev.uid = "eclipse-" + kind + "-" + isoDateText(m.date);
        ev.summary = summary;
        ev.category = "日食・月食";
        ev.date = m.date;
        ev.lastDate = m.date;
        ev.instant = true;
        ev.hour = m.hour;
        ev.minute = m.minute;
        // The lines of the day's details for the place, one a line.
        for (const std::string& line : lines) {
            ev.description += (ev.description.empty() ? "" : "\n") + line;
        }
        out.push_back(ev);
    };
    for (const eclipse::SolarEclipse& e : y.solar) {
        if (e.quality == eclipse::Quality::Failed) {
            continue;
        }
        const std::vector<std::string> lines = almanac::eclipseLines(e, y.placeName);
        if (e.local && e.local->seen) {
            const eclipse::LocalSolarEclipse& l = *e.local;
            instant(l.maximum, "solar",
                    std::string(eclipse::solarKindName(l.kind)) + "（" + y.placeName + "）", lines);
        } else {
            instant(e.greatest, "solar", eclipse::solarKindName(e.kind), lines);
        }
    }
    for (const eclipse::LunarEclipse& e : y.lunar) {
        if (e.quality == eclipse::Quality::Failed) {
            continue;
        }
        instant(*e.contacts[eclipse::Greatest], "lunar", eclipse::lunarKindName(e.kind),
                almanac::eclipseLines(e, y.placeName));
    }
    return out;
}

} // namespace sorvane::exports
