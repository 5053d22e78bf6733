#include "almanac/year_almanac.h"

#include "almanac/coverage.h"
#include "calendar/day_cycles.h"
#include "calendar/julian_day.h"
#include "calendar/names.h"
#include "finder/finder.h"
#include "finder/line_format.h"
#include "sky/precise_year.h"
#include "sky/time_scales.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace sorvane::almanac {

namespace {

// A solar term or 土用 entry shown at day (of month, as the result lines count it), hour
// and minute JST.
Event termEvent(int year, int month, EventKind kind, double target, double day, double hour,
                double minute) {
    Event e = momentEvent(kind, addDays(CivilDate{year, month, 1}, static_cast<long long>(day) - 1),
                          static_cast<int>(hour), static_cast<int>(minute), target);
    e.month = month;
    e.name = plainName(kind == EventKind::Doyo ? solarTermNames[0][0]
                                               : solarTermNames[month][termIndex(kind)]);
    char id[32];
    std::snprintf(id, sizeof id, "%s-%03.0f", kind == EventKind::Doyo ? "doyo" : "term", target);
    e.id = id;
    return e;
}

// A 雑節 moment found in month at day, hour and minute JST.
Event foundMoment(int year, int month, double day, double hour, double minute, double longitude) {
    return momentEvent(EventKind::Longitude,
                       addDays(CivilDate{year, month, 1}, static_cast<long long>(day) - 1),
                       static_cast<int>(hour), static_cast<int>(minute), longitude);
}

const Event& find(const YearAlmanac& a, int month, EventKind kind) {
    for (const Event& e : a.solarTerms) {
        if (e.month == month && e.kind == kind) {
            return e;
        }
    }
    throw std::logic_error("no event of month " + std::to_string(month));
}

zassetsu::ShownMoment shown(const Event& e) {
    return {e.date, e.hour, e.minute, e.longitude};
}

zassetsu::SeasonAnchors anchorsOf(const YearAlmanac& a, const Event& nyuubai,
                                  const Event& hangeshou) {
    zassetsu::SeasonAnchors s;
    s.risshun = shown(find(a, 2, EventKind::Setsu));
    s.shunbun = shown(find(a, 3, EventKind::Chuki));
    s.rikka = shown(find(a, 5, EventKind::Setsu));
    s.risshuu = shown(find(a, 8, EventKind::Setsu));
    s.shuubun = shown(find(a, 9, EventKind::Chuki));
    s.rittou = shown(find(a, 11, EventKind::Setsu));
    s.doyoEntries = {shown(find(a, 1, EventKind::Doyo)), shown(find(a, 4, EventKind::Doyo)),
                     shown(find(a, 7, EventKind::Doyo)), shown(find(a, 10, EventKind::Doyo))};
    s.nyuubai = shown(nyuubai);
    s.hangeshou = shown(hangeshou);
    return s;
}

void addDefaultEvents(const Tables& tables, YearAlmanac& a, bool withZassetsu) {
    Finder finder(tables);
    finder.calculate(static_cast<std::int16_t>(a.year));
    for (const EventMoment& m : finder.orderedMoments()) {
        Event e = termEvent(a.year, m.month, m.kind, m.target, m.day, m.hour, m.minute);
        e.momentDay = m.theoryDay;
        e.momentJd = julianday(a.year, m.month, m.theoryDay);
        e.line = finder.kekka[m.month][lineColumn(m.kind)];
        a.solarTerms.push_back(e);
    }
    if (withZassetsu) {
        const auto year = static_cast<std::int16_t>(a.year);
        const EventMoment nyuubai = finder.findLongitude(year, 6, 10, 80);
        const EventMoment hangeshou = finder.findLongitude(year, 7, 1, 100);
        a.zassetsu = zassetsu::yearZassetsu(
            anchorsOf(a, foundMoment(year, 6, nyuubai.day, nyuubai.hour, nyuubai.minute, 80),
                      foundMoment(year, 7, hangeshou.day, hangeshou.hour, hangeshou.minute, 100)));
    }
}

void addPreciseEvents(YearAlmanac& a, bool withZassetsu) {
    const int year = a.year;
    if (!covers(Source::Precise, year)) {
        throw std::invalid_argument("the precise mode covers the years " +
                                    spanText(coverage(Source::Precise)));
    }
    for (const sky::PreciseEvent& p : sky::preciseYear(year)) {
        Event e = termEvent(year, p.month, p.kind, p.target, p.day, p.hour, p.minute);
        e.momentJd = p.jdTT;
        e.momentDay = p.jdTT - julianday(year, p.month, 1) + 1;
        e.line = resultLine(p.month, p.kind, p.day, p.hour, p.minute);
        e.deltaT = p.deltaT;
        e.uncertainty = p.uncertainty;
        a.uncertainty = std::max(a.uncertainty, p.uncertainty);
        a.solarTerms.push_back(e);
    }
    if (withZassetsu) {
        const auto nyuubai = sky::preciseEvent(year, 6, EventKind::Longitude, 80, 11);
        const auto hangeshou = sky::preciseEvent(year, 7, EventKind::Longitude, 100, 2);
        a.zassetsu = zassetsu::yearZassetsu(
            anchorsOf(a, foundMoment(year, 6, nyuubai.day, nyuubai.hour, nyuubai.minute, 80),
                      foundMoment(year, 7, hangeshou.day, hangeshou.hour, hangeshou.minute, 100)));
    }
}

// The almanac; tables may be null when no moment of the default mode is asked for.
YearAlmanac buildAlmanac(const Tables* tables, std::int16_t year, const AlmanacOptions& options) {
    YearAlmanac a;
    a.year = year;
    a.precise = options.precise;
    if (options.solarTerms && options.precise) {
        addPreciseEvents(a, options.zassetsu);
    } else if (options.solarTerms) {
        if (tables == nullptr) {
            throw std::invalid_argument("the default mode's moments need the term files");
        }
        addDefaultEvents(*tables, a, options.zassetsu);
        a.defaultOffset = sky::defaultModeOffsetSeconds(year);
    }
    if ((options.lunisolar || options.phases) && covers(Source::Lunisolar, year)) {
        a.lunisolar.emplace(year);
    } else if (options.phases && covers(Source::Phases, year)) {
        a.moonPhases = lunisolar::phasesBetween(dayNumber(CivilDate{year, 1, 1}),
                                                dayNumber(CivilDate{year, 12, 31}));
    }
    for (const lunisolar::PhaseMoment& p : a.phases()) {
        a.phaseUncertainty = std::max(a.phaseUncertainty, lunisolar::phaseUncertainty(p.jdTT));
    }
    const SunEngines engines(tables);
    if (options.holidays && covers(Source::Holidays, year)) {
        a.holidays = holidays::yearHolidays(year, engines.observatory());
    }
    if (options.notes && covers(Source::Notes, year)) {
        if (tables == nullptr) {
            throw std::invalid_argument("the day notes need the term files");
        }
        a.notes =
            notes::yearNotes(engines.pageChoice(), year, a.lunisolar ? &*a.lunisolar : nullptr);
    }
    for (int m = 1; m <= 12; ++m) {
        FirstDay& first = a.firstDays[static_cast<std::size_t>(m - 1)];
        first.date = CivilDate{year, m, 1};
        const auto n = static_cast<double>(dayNumber(first.date));
        first.sexagenary = kanshi(n);
        first.weekday = youbi(n);
        first.sexagenaryName = sexagenaryNames[first.sexagenary];
        first.weekdayName = weekdayNames[first.weekday];
        a.months[static_cast<std::size_t>(m - 1)] =
            nikkanhyouji(year, m, first.sexagenary, first.weekday);
    }
    return a;
}

} // namespace

YearAlmanac yearAlmanac(const Tables& tables, std::int16_t year, const AlmanacOptions& options) {
    return buildAlmanac(&tables, year, options);
}

YearAlmanac yearAlmanac(std::int16_t year, const AlmanacOptions& options) {
    return buildAlmanac(nullptr, year, options);
}

namespace {

std::string noteOf(double uncertainty) {
    if (!(uncertainty > kNotedUncertainty)) {
        return "";
    }
    const auto minutes = static_cast<long long>(std::ceil(uncertainty / 60.0));
    return "この年の時刻は±" + std::to_string(minutes) + "分ほどずれることがあります";
}

} // namespace

std::string uncertaintyNote(const YearAlmanac& almanac) {
    return almanac.precise ? noteOf(almanac.uncertainty) : "";
}

std::string phasesUncertaintyNote(const YearAlmanac& almanac) {
    return noteOf(almanac.phaseUncertainty);
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

} // namespace sorvane::almanac
