#include "almanac/day_listing.h"

#include "calendar/day_cycles.h"
#include "calendar/names.h"
#include "wareki/historical_calendar.h"

#include <algorithm>
#include <functional>
#include <map>
#include <stdexcept>

namespace sorvane::almanac {

namespace {

DayItem dayItem(std::string name, DayItemKind kind, std::optional<Event> event = {}) {
    DayItem item;
    item.name = std::move(name);
    item.kind = kind;
    item.event = std::move(event);
    return item;
}

DayItem timedItem(std::string name, DayItemKind kind, int hour, int minute,
                  std::optional<Event> event = {}) {
    DayItem item = dayItem(std::move(name), kind, std::move(event));
    item.timed = true;
    item.hour = hour;
    item.minute = minute;
    return item;
}

} // namespace

const char* dayItemKindKey(DayItemKind kind) {
    switch (kind) {
    case DayItemKind::Term:
        return "term";
    case DayItemKind::Doyo:
        return "doyo";
    case DayItemKind::Zassetsu:
        return "zassetsu";
    case DayItemKind::Phase:
        return "phase";
    case DayItemKind::Lunisolar:
        return "lunisolar";
    }
    throw std::logic_error("day listing: an item of no known kind");
}

void placeItems(const YearAlmanac& almanac,
                const std::function<DayEntry*(const CivilDate&)>& dayOf) {
    for (const Event& e : almanac.solarTerms) {
        if (DayEntry* d = dayOf(e.date)) {
            d->items.push_back(
                timedItem(e.kind == EventKind::Doyo ? eventTitle(e) : e.name,
                          e.kind == EventKind::Doyo ? DayItemKind::Doyo : DayItemKind::Term, e.hour,
                          e.minute, e));
        }
    }
    for (const zassetsu::Item& z : almanac.zassetsu) {
        DayEntry* d = dayOf(z.date);
        if (d == nullptr || z.kind == zassetsu::Kind::Period) {
            continue;
        }
        DayItem item = z.kind == zassetsu::Kind::Moment
                           ? timedItem(z.name, DayItemKind::Zassetsu, z.hour, z.minute)
                           : dayItem(z.name, DayItemKind::Zassetsu);
        item.zassetsu = z;
        d->items.push_back(std::move(item));
    }
    if (almanac.lunisolar) {
        for (const lunisolar::PhaseMoment& p : almanac.lunisolar->phases()) {
            DayItem item = timedItem(lunisolar::phaseName(p.phase), DayItemKind::Phase,
                                     p.minuteOfDay() / 60, p.minuteOfDay() % 60);
            item.phase = p;
            if (DayEntry* d = dayOf(civilDate(p.day()))) {
                d->items.push_back(std::move(item));
            }
        }
    }
}

void sortItems(DayEntry& day) {
    // The instants in time order before the whole days; each group keeps its order.
    std::stable_sort(day.items.begin(), day.items.end(), [](const DayItem& a, const DayItem& b) {
        if (a.timed != b.timed) {
            return a.timed;
        }
        return a.timed && a.hour * 60 + a.minute < b.hour * 60 + b.minute;
    });
}

bool addHistoricalLunar(DayEntry& d) {
    // The JDN is the project's day number plus one.
    const long long jdn = dayNumber(d.date) + 1;
    if (d.lunar || jdn > wareki::kLastTableJdn) {
        return false;
    }
    const auto date = wareki::lunisolarDateOf(jdn);
    if (!date) {
        return false;
    }
    lunisolar::LunarDay lunar;
    lunar.month = date->month;
    lunar.day = date->day;
    lunar.leap = date->leap;
    lunar.monthLength = date->monthLength;
    lunar.rokuyo = lunisolar::rokuyo(date->month, date->day);
    d.lunar = lunar;
    d.historicalLunar = true;
    return true;
}

bool addHistoricalLunar(std::vector<DayEntry>& days) {
    bool added = false;
    for (DayEntry& d : days) {
        added = addHistoricalLunar(d) || added;
    }
    return added;
}

std::vector<DayEntry> dayListing(const YearAlmanac& almanac) {
    const long long first = dayNumber(CivilDate{almanac.year, 1, 1});
    const long long last = dayNumber(CivilDate{almanac.year, 12, 31});
    std::vector<DayEntry> days(static_cast<std::size_t>(last - first + 1));
    const auto at = [&](const CivilDate& date) -> DayEntry* {
        const long long n = dayNumber(date);
        return n >= first && n <= last ? &days[static_cast<std::size_t>(n - first)] : nullptr;
    };

    for (std::size_t i = 0; i < days.size(); ++i) {
        DayEntry& d = days[i];
        const long long n = first + static_cast<long long>(i);
        d.date = civilDate(n);
        d.weekday = weekdayNames[youbi(static_cast<double>(n))];
        d.sexagenary = sexagenaryNames[kanshi(static_cast<double>(n))];
        if (almanac.lunisolar) {
            d.lunar = almanac.lunisolar->day(n);
        }
    }
    placeItems(almanac, at);
    if (almanac.lunisolar) {
        for (DayEntry& d : days) {
            if (d.lunar && d.lunar->special) {
                d.items.push_back(
                    dayItem(lunisolar::specialDayName(*d.lunar->special), DayItemKind::Lunisolar));
            }
        }
    }
    for (const holidays::Holiday& h : almanac.holidays) {
        if (DayEntry* d = at(h.date)) {
            d->holiday = h.name;
        }
    }
    for (DayEntry& d : days) {
        sortItems(d);
    }
    return days;
}

} // namespace sorvane::almanac
