#include "almanac/day_eclipses.h"

#include "almanac/coverage.h"
#include "horizon/day_text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace sorvane::almanac {

namespace {

using eclipse::Contact;

// The JST day of a minute counted from day 0.
CivilDate dayOfMinute(long long minute) {
    return civilDate(static_cast<long long>(std::floor(static_cast<double>(minute) / 1440.0)));
}

std::string fixed(double value, int digits) {
    char b[48];
    std::snprintf(b, sizeof b, "%.*f", digits, value);
    return b;
}

// "　食の始め 15:41　太陽 高度 28.1° 方位 278.4°", the date before the time where the contact
// falls on another day than the eclipse's, 「（地平線下）」 with the body below the horizon.
std::string contactLine(const char* name, const Contact& c, const CivilDate& day,
                        const char* body) {
    const CivilDate date = dayOfMinute(c.jstMinute);
    const auto minute = static_cast<int>(c.jstMinute - dayNumber(date) * 1440);
    std::string line = std::string("　") + name + " ";
    if (date != day) {
        line += japaneseMonthDayText(date) + " ";
    }
    char clock[16];
    std::snprintf(clock, sizeof clock, "%02d:%02d", minute / 60, minute % 60);
    line += clock;
    if (c.horizontal) {
        char where[96];
        std::snprintf(where, sizeof where, "　%s 高度 %.1f° 方位 %.1f°", body,
                      c.horizontal->altitude, c.horizontal->azimuth);
        line += where;
        if (!c.horizontal->above) {
            line += "（地平線下）";
        }
    }
    return line;
}

const char* const kLunarNames[7] = {"半影食の始め",   "部分食の始め",   "皆既食の始め",  "食の最大",
                                    "皆既食の終わり", "部分食の終わり", "半影食の終わり"};

} // namespace

bool eclipsesCovered(int year) {
    return covers(Source::Precise, year);
}

std::string eclipsePlaceName(const horizon::NamedPlace& place) {
    return place.name.empty() ? "この地" : place.name;
}

CivilDate eclipseDate(const eclipse::SolarEclipse& e) {
    return dayOfMinute(eclipse::greatestOf(e).jstMinute);
}

CivilDate eclipseDate(const eclipse::LunarEclipse& e) {
    return dayOfMinute(eclipse::greatestOf(e).jstMinute);
}

std::vector<std::string> eclipseLines(const eclipse::SolarEclipse& e,
                                      const std::string& placeName) {
    if (e.quality == eclipse::Quality::Failed) {
        return {"日食（計算できませんでした）"};
    }
    const CivilDate day = eclipseDate(e);
    std::string head = eclipse::solarKindName(e.kind);
    if (e.quality == eclipse::Quality::Doubtful) {
        head += "（不確か）";
    }
    head += "　" + placeName;
    if (!e.local) {
        return {head + "では見えません（食の範囲外）"};
    }
    const eclipse::LocalSolarEclipse& l = *e.local;
    if (!l.seen) {
        return {head + "では見えません（太陽が地平線下）"};
    }
    std::vector<std::string> lines{head + "では" + eclipse::solarKindName(l.kind) + "（食分 " +
                                   fixed(l.magnitude, 3) + "）"};
    const bool annular = l.kind == eclipse::SolarKind::Annular;
    lines.push_back(contactLine("食の始め", l.begin, day, "太陽"));
    if (l.second) {
        lines.push_back(
            contactLine(annular ? "金環食の始め" : "皆既食の始め", *l.second, day, "太陽"));
    }
    lines.push_back(contactLine("食の最大", l.maximum, day, "太陽"));
    if (l.third) {
        lines.push_back(
            contactLine(annular ? "金環食の終わり" : "皆既食の終わり", *l.third, day, "太陽"));
    }
    lines.push_back(contactLine("食の終わり", l.end, day, "太陽"));
    return lines;
}

std::vector<std::string> eclipseLines(const eclipse::LunarEclipse& e,
                                      const std::string& placeName) {
    if (e.quality == eclipse::Quality::Failed || !e.contacts[eclipse::Greatest]) {
        return {"月食（計算できませんでした）"};
    }
    const CivilDate day = eclipseDate(e);
    std::string head = eclipse::lunarKindName(e.kind);
    if (e.quality == eclipse::Quality::Doubtful) {
        head += "（不確か）";
    }
    head += e.kind == eclipse::LunarKind::Penumbral
                ? "（半影食分 " + fixed(e.penumbralMagnitude, 3) + "）"
                : "（食分 " + fixed(e.umbralMagnitude, 3) + "）";
    bool seen = false;
    bool placed = false;
    for (const std::optional<Contact>& c : e.contacts) {
        if (c && c->horizontal) {
            placed = true;
            seen = seen || c->horizontal->above;
        }
    }
    if (placed && !seen) {
        return {head + "　" + placeName + "では見えません（月が地平線下）"};
    }
    std::vector<std::string> lines{head};
    for (std::size_t k = 0; k < e.contacts.size(); ++k) {
        if (e.contacts[k]) {
            lines.push_back(contactLine(kLunarNames[k], *e.contacts[k], day, "月"));
        }
    }
    return lines;
}

namespace {

// The eclipses whose JST day lies from first to last, days of year.
std::vector<DayEclipse> eclipsesOf(int year, const CivilDate& first, const CivilDate& last,
                                   const std::optional<horizon::NamedPlace>& place) {
    std::vector<DayEclipse> out;
    if (!eclipsesCovered(year)) {
        return out;
    }
    const std::optional<horizon::Observer> observer =
        place ? std::optional<horizon::Observer>(place->observer) : std::nullopt;
    const std::string name = place ? eclipsePlaceName(*place) : std::string();
    const auto add = [&](const auto& e, bool solar, const char* kind) {
        const bool failed = e.quality == eclipse::Quality::Failed;
        DayEclipse d;
        d.date = eclipseDate(e);
        d.solar = solar;
        d.name = failed ? (solar ? "日食" : "月食") : kind;
        if (place) {
            d.lines = eclipseLines(e, name);
        }
        out.push_back(std::move(d));
    };
    for (const eclipse::SolarEclipse& e :
         eclipse::solarEclipsesBetween(dayNumber(first), dayNumber(last), observer)) {
        add(e, true, eclipse::solarKindName(e.kind));
    }
    for (const eclipse::LunarEclipse& e :
         eclipse::lunarEclipsesBetween(dayNumber(first), dayNumber(last), observer)) {
        add(e, false, eclipse::lunarKindName(e.kind));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const DayEclipse& a, const DayEclipse& b) { return a.date < b.date; });
    return out;
}

} // namespace

std::vector<DayEclipse> yearEclipses(int year) {
    return eclipsesOf(year, {year, 1, 1}, {year, 12, 31}, std::nullopt);
}

std::vector<DayEclipse> yearEclipses(int year, const horizon::NamedPlace& place) {
    return eclipsesOf(year, {year, 1, 1}, {year, 12, 31}, place);
}

std::vector<DayEclipse> monthEclipses(int year, int month) {
    return eclipsesOf(year, {year, month, 1}, {year, month, daysInMonth(year, month)},
                      std::nullopt);
}

std::vector<DayEclipse> monthEclipses(int year, int month, const horizon::NamedPlace& place) {
    return eclipsesOf(year, {year, month, 1}, {year, month, daysInMonth(year, month)}, place);
}

} // namespace sorvane::almanac
