#include "almanac/days.h"

#include "almanac/limits.h"
#include "calendar/day_cycles.h"
#include "calendar/names.h"
#include "zassetsu/zassetsu.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <stdexcept>

namespace sorvane::almanac {

// The term files and the engines over them, shared by a Days and its copies and made once.
struct Days::Shared {
    TableLoader loader;
    // Held while the term files are read. Not std::call_once: where that is built on
    // pthread_once (mingw-w64's winpthreads), a read that throws leaves the flag taken and
    // the next call waits for ever; here a failed read leaves the files unread, to be read
    // again by the next call.
    std::mutex loading;
    std::atomic<bool> loaded{false};
    std::shared_ptr<const Tables> tables;
    std::optional<SunEngines> engines;
    // The holiday law's engine needs no term file.
    SunEngines observatory{nullptr};
};

Days::Days(TableLoader loader, Minutes minutes)
    : shared_(std::make_shared<Shared>()), minutes_(minutes) {
    shared_->loader = std::move(loader);
}

Days::Days(const Tables& tables, Minutes minutes)
    : shared_(std::make_shared<Shared>()), minutes_(minutes) {
    // Not owned: the caller keeps the tables alive.
    shared_->tables = std::shared_ptr<const Tables>(&tables, [](const Tables*) {});
}

Days Days::withMinutes(Minutes minutes) const {
    Days other = *this;
    other.minutes_ = minutes;
    return other;
}

Mode Days::mode(int year) const {
    return modeFor(year, minutes_ == Minutes::Observatory);
}

const Tables& Days::tables() const {
    Shared& s = *shared_;
    if (!s.loaded.load(std::memory_order_acquire)) {
        const std::lock_guard<std::mutex> lock(s.loading);
        if (!s.loaded.load(std::memory_order_relaxed)) {
            if (!s.tables) {
                if (!s.loader) {
                    throw std::invalid_argument("the solar theory's moments need the term files");
                }
                s.tables = std::make_shared<const Tables>(s.loader());
            }
            s.engines.emplace(s.tables.get());
            s.loaded.store(true, std::memory_order_release);
        }
    }
    return *s.tables;
}

const SunEngines& Days::engines() const {
    tables();
    return *shared_->engines;
}

bool Days::needsTables(int year, const AlmanacOptions& what) const {
    return (what.solarTerms && mode(year) == Mode::Default) ||
           (what.notes && covers(Source::Notes, year));
}

YearAlmanac Days::year(int year, const AlmanacOptions& what) const {
    AlmanacOptions options = what;
    options.precise = mode(year) == Mode::Precise;
    const auto y = static_cast<std::int16_t>(year);
    return needsTables(year, options) ? yearAlmanac(tables(), y, options) : yearAlmanac(y, options);
}

std::vector<YearAlmanac> Days::neighbours(int year, const AlmanacOptions& what) const {
    std::vector<YearAlmanac> out;
    if (!what.solarTerms) {
        return out;
    }
    AlmanacOptions events;
    events.zassetsu = what.zassetsu;
    for (const int neighbour : {year - 1, year + 1}) {
        if ((!keepsToSeasons(year) || !keepsToSeasons(neighbour)) &&
            covers(Source::Year, neighbour)) {
            out.push_back(this->year(neighbour, events));
        }
    }
    return out;
}

std::vector<holidays::Holiday> Days::holidays(int year) const {
    if (!covers(Source::Holidays, year)) {
        return {};
    }
    return holidays::yearHolidays(year, shared_->observatory.observatory());
}

notes::YearNotes Days::notes(int year, const lunisolar::LunisolarYear* lunar,
                             notes::LunarDates lunarDates) const {
    return notes::yearNotes(engines().pageChoice(), year, lunar, notes::KyuseiRule::KoyomiNoPage,
                            lunarDates);
}

std::vector<DayRecord> Days::records(const YearAlmanac& almanac) const {
    std::vector<DayRecord> out;
    for (DayEntry& d : dayListing(almanac)) {
        DayRecord r;
        static_cast<DayEntry&>(r) = std::move(d);
        out.push_back(std::move(r));
    }
    const long long first = dayNumber(CivilDate{almanac.year, 1, 1});
    const auto at = [&](const CivilDate& date) -> DayRecord* {
        const long long n = dayNumber(date) - first;
        return n >= 0 && n < static_cast<long long>(out.size()) ? &out[static_cast<std::size_t>(n)]
                                                                : nullptr;
    };
    AlmanacOptions events;
    events.solarTerms = !almanac.solarTerms.empty();
    events.zassetsu = !almanac.zassetsu.empty();
    std::vector<zassetsu::Period> periods = zassetsu::yearPeriods(almanac.zassetsu);
    const std::vector<YearAlmanac> others = neighbours(almanac.year, events);
    for (const YearAlmanac& other : others) {
        placeItems(other, at);
        for (zassetsu::Period& p : zassetsu::yearPeriods(other.zassetsu)) {
            periods.push_back(std::move(p));
        }
    }
    if (!others.empty()) {
        for (DayRecord& r : out) {
            sortItems(r);
        }
    }
    std::stable_sort(
        periods.begin(), periods.end(),
        [](const zassetsu::Period& a, const zassetsu::Period& b) { return a.first < b.first; });
    for (const zassetsu::Period& p : periods) {
        for (long long n = dayNumber(p.first); n <= dayNumber(p.last); ++n) {
            if (DayRecord* r = at(civilDate(n))) {
                r->periods.push_back(p.name);
            }
        }
    }
    return out;
}

std::vector<DayRecord> Days::span(const CivilDate& first, const CivilDate& last,
                                  const DayContents& contents) const {
    if (last < first) {
        throw std::invalid_argument("a span of days ends before it begins");
    }
    AlmanacOptions what;
    what.solarTerms = what.zassetsu = contents.events;
    what.lunisolar = contents.lunisolar;
    what.holidays = contents.holidays;
    std::vector<DayRecord> out;
    out.reserve(static_cast<std::size_t>(dayNumber(last) - dayNumber(first) + 1));
    for (int y = first.year; y <= last.year; ++y) {
        const YearAlmanac almanac = year(y, what);
        const CivilDate from = std::max(first, CivilDate{y, 1, 1});
        const CivilDate to = std::min(last, CivilDate{y, 12, 31});
        std::optional<notes::YearNotes> yearNotes;
        if (contents.notes && covers(Source::Notes, y)) {
            yearNotes = notes(y, almanac.lunisolar ? &*almanac.lunisolar : nullptr);
        }
        const std::vector<notes::SenjitsuPeriod> senjitsu =
            yearNotes ? notes::senjitsuPeriods(dayNumber(from), dayNumber(to))
                      : std::vector<notes::SenjitsuPeriod>{};
        for (DayRecord& r : records(almanac)) {
            if (r.date < from || to < r.date) {
                continue;
            }
            if (yearNotes) {
                r.notes = yearNotes->day(r.date.month, r.date.day);
                const long long n = dayNumber(r.date);
                for (const notes::SenjitsuPeriod& p : senjitsu) {
                    if (p.first <= n && n <= p.last) {
                        r.periods.push_back(notes::senjitsuName(p.kind));
                    }
                }
            }
            out.push_back(std::move(r));
        }
    }
    return out;
}

} // namespace sorvane::almanac
