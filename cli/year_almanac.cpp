#include "cli/year_almanac.h"

#include "calendar/julian_day.h"
#include "finder/line_format.h"
#include "precise/precise_year.h"

#include <cmath>

namespace sorvane::cli {

namespace {

ShownMoment shownMoment(int year, int month, double day, double hour, double minute,
                        double longitude) {
    ShownMoment m;
    m.date = addDays(CivilDate{year, month, 1}, static_cast<long long>(day) - 1);
    m.hour = static_cast<int>(hour);
    m.minute = static_cast<int>(minute);
    m.longitude = longitude;
    return m;
}

const ShownEvent& find(const YearAlmanac& a, int month, int kind) {
    for (const ShownEvent& e : a.events) {
        if (e.month == month && e.kind == kind) {
            return e;
        }
    }
    return a.events[0]; // every month and kind asked for below is among the 28
}

ShownMoment anchor(const YearAlmanac& a, int month, int kind) {
    const ShownEvent& e = find(a, month, kind);
    return shownMoment(a.year, e.month, e.day, e.hour, e.minute, e.target);
}

SeasonAnchors anchorsOf(const YearAlmanac& a, const ShownMoment& nyuubai,
                        const ShownMoment& hangeshou) {
    SeasonAnchors s;
    s.risshun = anchor(a, 2, kSetsu);
    s.shunbun = anchor(a, 3, kChuki);
    s.rikka = anchor(a, 5, kSetsu);
    s.risshuu = anchor(a, 8, kSetsu);
    s.shuubun = anchor(a, 9, kChuki);
    s.rittou = anchor(a, 11, kSetsu);
    s.doyoEntries = {anchor(a, 1, kDoyo), anchor(a, 4, kDoyo), anchor(a, 7, kDoyo),
                     anchor(a, 10, kDoyo)};
    s.nyuubai = nyuubai;
    s.hangeshou = hangeshou;
    return s;
}

} // namespace

YearAlmanac defaultEvents(const Finder& finder) {
    YearAlmanac a;
    a.year = finder.yy;
    a.precise = false;
    const auto moments = finder.orderedMoments();
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const EventMoment& m = moments[i];
        ShownEvent& e = a.events[i];
        e.month = m.month;
        e.kind = m.kind;
        e.target = m.target;
        e.momentDay = m.theoryDay;
        e.momentJd = julianday(finder.yy, m.month, m.theoryDay);
        e.day = static_cast<int>(m.day);
        e.hour = static_cast<int>(m.hour);
        e.minute = static_cast<int>(m.minute);
        e.line = finder.kekka[m.month][m.kind];
    }
    return a;
}

YearAlmanac defaultAlmanac(Finder& finder) {
    YearAlmanac a = defaultEvents(finder);
    const std::int16_t year = finder.yy;
    const EventMoment nyuubai = finder.findLongitude(year, 6, 10, 80);
    const EventMoment hangeshou = finder.findLongitude(year, 7, 1, 100);
    a.zassetsu = zassetsu(
        anchorsOf(a, shownMoment(year, 6, nyuubai.day, nyuubai.hour, nyuubai.minute, 80),
                  shownMoment(year, 7, hangeshou.day, hangeshou.hour, hangeshou.minute, 100)));
    return a;
}

YearAlmanac preciseAlmanac(const Tables& tables, int year) {
    YearAlmanac a;
    a.year = year;
    a.precise = true;
    const auto events = precise::preciseYear(year);
    for (std::size_t i = 0; i < events.size(); ++i) {
        const precise::PreciseEvent& p = events[i];
        ShownEvent& e = a.events[i];
        e.month = p.month;
        e.kind = p.kind;
        e.target = p.target;
        e.momentJd = p.jdTT;
        e.momentDay = p.jdTT - julianday(year, p.month, 1) + 1;
        e.day = static_cast<int>(p.day);
        e.hour = static_cast<int>(p.hour);
        e.minute = static_cast<int>(p.minute);
        e.line = resultLine(tables, p.month, p.kind, p.day, p.hour, p.minute);
    }
    const auto nyuubai = precise::preciseEvent(year, 6, -1, 80, 11);
    const auto hangeshou = precise::preciseEvent(year, 7, -1, 100, 2);
    a.zassetsu = zassetsu(
        anchorsOf(a, shownMoment(year, 6, nyuubai.day, nyuubai.hour, nyuubai.minute, 80),
                  shownMoment(year, 7, hangeshou.day, hangeshou.hour, hangeshou.minute, 100)));
    return a;
}

std::string plainName(const std::string& name) {
    const std::string wideSpace = "\u3000";
    std::string out = name;
    const auto pos = out.find(wideSpace);
    if (pos != std::string::npos) {
        out.erase(pos, wideSpace.size());
    }
    return out;
}

std::string eventName(const Tables& tables, const ShownEvent& event) {
    if (event.kind == kDoyo) {
        static const char* const seasons[] = {"冬", "春", "夏", "秋"};
        return std::string(seasons[(event.month - 1) / 3]) + "の" + tables.solarTermNames[0][0] +
               "入り";
    }
    return plainName(tables.solarTermNames[event.month][event.kind == kSetsu ? 0 : 1]);
}

CivilDate eventDate(int year, const ShownEvent& event) {
    return addDays(CivilDate{year, event.month, 1}, event.day - 1);
}

} // namespace sorvane::cli
