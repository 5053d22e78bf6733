#include "daysearch/day_facts.h"

#include "almanac/coverage.h"
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/calculation_error.h"
#include "calendar/day_cycles.h"
#include "calendar/names.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_calendar.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"

#include <optional>

namespace sorvane::daysearch {

namespace {

constexpr unsigned bit(Kind kind) {
    return 1U << static_cast<int>(kind);
}

void add(DayFacts& day, Kind kind, std::string name, std::string shown = {}) {
    day.facts[static_cast<std::size_t>(kind)].push_back(Fact{std::move(name), std::move(shown)});
}

bool weekend(const DayFacts& day) {
    const int w = youbi(static_cast<double>(dayNumber(day.date)));
    return w == 1 || w == 7;
}

} // namespace

std::optional<Kind> undecidedKind(const Term& term, const DayFacts& day) {
    // A Saturday or a Sunday is a 休日 in any year: only a weekday's 休日 hangs on the holidays.
    if (term.kind == Kind::Rest && term.name == kRestWord && weekend(day)) {
        return std::nullopt;
    }
    return missingKind(term, day);
}

std::optional<Kind> missingKind(const Term& term, const DayFacts& day) {
    if (!day.knows(term.kind)) {
        return term.kind;
    }
    if (term.kind == Kind::Senjitsu && (day.known & kLunarNotes) == 0 &&
        term.name == notes::senjitsuName(notes::Senjitsu::Fujoju)) {
        return Kind::Lunisolar;
    }
    return std::nullopt;
}

bool needsLunisolarYear(unsigned kinds) {
    return (kinds & (bit(Kind::Rokuyo) | bit(Kind::Lunisolar) | bit(Kind::Shio) | kLunarNotes)) !=
           0;
}

unsigned kindsNamed(const Query& query) {
    unsigned mask = 0;
    for (const Word& word : query.words) {
        for (const Term& term : word.terms) {
            mask |= bit(term.kind);
            if (term.kind == Kind::Senjitsu &&
                term.name == notes::senjitsuName(notes::Senjitsu::Fujoju)) {
                mask |= kLunarNotes;
            }
        }
    }
    return mask;
}

std::string kindReach(Kind kind) {
    switch (kind) {
    case Kind::Rokuyo:
    case Kind::Lunisolar:
    case Kind::Shio:
        return almanac::spanText(almanac::coverage(almanac::Source::Lunisolar));
    case Kind::Rest:
        return isoDateText(almanac::firstHolidayDate()) + ".." +
               std::to_string(almanac::coverage(almanac::Source::Holidays).last);
    default:
        return "";
    }
}

std::vector<DayFacts> yearFacts(const almanac::Days& source, const CivilDate& first,
                                const CivilDate& last, unsigned kinds,
                                const lunisolar::LunisolarYear* given) {
    const int year = first.year;
    const long long firstDay = dayNumber(first);
    const long long lastDay = dayNumber(last);
    std::vector<DayFacts> days(static_cast<std::size_t>(lastDay - firstDay + 1));
    for (std::size_t i = 0; i < days.size(); ++i) {
        DayFacts& d = days[i];
        const long long n = firstDay + static_cast<long long>(i);
        d.date = civilDate(n);
        d.weekday = weekdayNames[static_cast<std::size_t>(youbi(static_cast<double>(n)))];
        add(d, Kind::Weekday, d.weekday);
        d.known |= bit(Kind::Weekday);
    }
    auto at = [&](const CivilDate& date) -> DayFacts* {
        const long long n = dayNumber(date);
        return n >= firstDay && n <= lastDay ? &days[static_cast<std::size_t>(n - firstDay)]
                                             : nullptr;
    };

    const bool terms = (kinds & (bit(Kind::SolarTerm) | bit(Kind::Zassetsu))) != 0;
    const bool lunar =
        (kinds & (bit(Kind::Rokuyo) | bit(Kind::Lunisolar) | bit(Kind::Shio))) != 0 &&
        almanac::covers(almanac::Source::Lunisolar, year);
    const bool restAsked = (kinds & bit(Kind::Rest)) != 0;
    const bool rest = restAsked && almanac::covers(almanac::Source::Holidays, year);
    // The notes are computed for their own years only (the solar theory's seasons in their
    // months); elsewhere they stay unknown.
    const bool dayNotes =
        (kinds & (bit(Kind::Senjitsu) | bit(Kind::Choku) | bit(Kind::Shuku) | bit(Kind::Kyusei))) !=
            0 &&
        almanac::covers(almanac::Source::Notes, year);
    if (!terms && !lunar && !restAsked && !dayNotes) {
        return days;
    }

    // The solar terms and 雑節 come with a year almanac; the lunisolar year and the holidays
    // alone are taken from their own libraries, without the solar terms' search. A lunisolar
    // year the caller has is used as it is.
    const bool lunarYearGiven = given != nullptr && given->year() == year;
    std::optional<almanac::YearAlmanac> almanac;
    if (terms) {
        almanac::AlmanacOptions options;
        options.zassetsu = (kinds & bit(Kind::Zassetsu)) != 0;
        options.lunisolar = lunar && !lunarYearGiven;
        options.holidays = rest;
        almanac = source.year(year, options);
    }
    std::optional<lunisolar::LunisolarYear> lunisolarYear;
    const bool lunarNotes = dayNotes && (kinds & kLunarNotes) != 0;
    if ((lunar || lunarNotes) && almanac::covers(almanac::Source::Lunisolar, year) &&
        !lunarYearGiven && !(almanac && almanac->lunisolar)) {
        lunisolarYear.emplace(year, lunisolar::Quarters::Left);
    }
    const lunisolar::LunisolarYear* lunarYear = lunarYearGiven ? given
                                                : almanac && almanac->lunisolar
                                                    ? &*almanac->lunisolar
                                                    : (lunisolarYear ? &*lunisolarYear : nullptr);
    const std::vector<holidays::Holiday> holidayList =
        almanac ? almanac->holidays
                : (rest ? source.holidays(year) : std::vector<holidays::Holiday>{});

    // Where the calendar has drifted from the seasons an event of the year may fall in the
    // year before or after (立春 of 32700 on 32699-12-29): the events of both neighbours are
    // listed on their days too.
    auto addEvents = [&](const almanac::YearAlmanac& source) {
        for (const almanac::Event& e : source.solarTerms) {
            if (DayFacts* d = at(e.date)) {
                add(*d, Kind::SolarTerm, almanac::eventTitle(e));
            }
        }
        for (const zassetsu::Item& e : source.zassetsu) {
            if (e.kind == zassetsu::Kind::Period) {
                // Every day of a 土用 carries its name.
                for (long long n = dayNumber(e.date); n <= dayNumber(e.lastDate); ++n) {
                    if (DayFacts* d = at(civilDate(n))) {
                        add(*d, Kind::Zassetsu, e.name);
                    }
                }
            } else if (DayFacts* d = at(e.date)) {
                // A 丑の日 answers to its own name ("一の丑"), shown with its 土用's.
                const std::size_t space = e.name.rfind(' ');
                if (space == std::string::npos) {
                    add(*d, Kind::Zassetsu, e.name);
                } else {
                    add(*d, Kind::Zassetsu, e.name.substr(space + 1), e.name);
                }
            }
        }
    };
    if (terms) {
        for (DayFacts& d : days) {
            d.known |= bit(Kind::SolarTerm) | bit(Kind::Zassetsu);
        }
        almanac::AlmanacOptions options;
        options.zassetsu = (kinds & bit(Kind::Zassetsu)) != 0;
        for (const almanac::YearAlmanac& neighbour : source.neighbours(year, options)) {
            addEvents(neighbour);
        }
        addEvents(*almanac);
    }
    if (lunar && lunarYear != nullptr) {
        for (std::size_t i = 0; i < days.size(); ++i) {
            DayFacts& d = days[i];
            const lunisolar::LunarDay day = lunarYear->day(firstDay + static_cast<long long>(i));
            d.known |= bit(Kind::Rokuyo) | bit(Kind::Lunisolar) | bit(Kind::Shio);
            add(d, Kind::Rokuyo, lunisolar::rokuyoName(day.rokuyo));
            add(d, Kind::Shio, notes::shioName(notes::shio(day.day)));
            const std::string month = "旧" + lunisolar::lunarMonthText(day);
            const std::string dayName = std::to_string(day.day) + "日";
            add(d, Kind::Lunisolar, month, month + dayName);
            add(d, Kind::Lunisolar, "旧" + dayName, month + dayName);
            add(d, Kind::Lunisolar, month + dayName);
            if (day.special) {
                add(d, Kind::Lunisolar, lunisolar::specialDayName(*day.special));
            }
        }
    }
    if (rest) {
        for (DayFacts& d : days) {
            if (d.date >= almanac::firstHolidayDate()) {
                d.known |= bit(Kind::Rest);
            }
        }
        for (const holidays::Holiday& h : holidayList) {
            if (DayFacts* d = at(h.date)) {
                add(*d, Kind::Rest, kHolidayWord, h.name);
                add(*d, Kind::Rest, kRestWord, h.name);
            }
        }
    }
    if (restAsked) {
        // Saturdays and Sundays are 休日 in every year, known or not for the holidays.
        for (DayFacts& d : days) {
            if (weekend(d) && d.of(Kind::Rest).empty()) {
                add(d, Kind::Rest, kRestWord, d.weekday);
            }
        }
    }
    if (dayNotes) {
        // The notes of the year, the lunisolar year shared with the 六曜 when both are asked.
        // Where the Sun's search finds no usable date (the term tables make the Sun stall or
        // race) the notes stay unknown; any other error is no such answer and goes on.
        std::optional<notes::YearNotes> found;
        try {
            // Without 不成就日 among the words the notes need no lunisolar date.
            found =
                source.notes(year, lunarYear,
                             lunarNotes ? notes::LunarDates::Computed : notes::LunarDates::Left);
        } catch (const CalculationError&) {
            return days;
        }
        const notes::YearNotes& yearNotes = *found;
        for (DayFacts& d : days) {
            const notes::DayNotes& n = yearNotes.day(d.date.month, d.date.day);
            d.known |=
                bit(Kind::Senjitsu) | bit(Kind::Choku) | bit(Kind::Shuku) | bit(Kind::Kyusei);
            if (n.lunarMonth) {
                d.known |= kLunarNotes;
            }
            for (notes::Senjitsu s : n.senjitsu) {
                add(d, Kind::Senjitsu, notes::senjitsuName(s));
            }
            for (notes::Gedan g : n.gedan) {
                add(d, Kind::Senjitsu, notes::gedanName(g));
            }
            add(d, Kind::Choku, notes::chokuName(n.choku));
            add(d, Kind::Shuku, notes::shukuName(n.shuku));
            add(d, Kind::Kyusei, notes::kyuseiName(n.kyusei));
            add(d, Kind::Kyusei, notes::kyuseiShortName(n.kyusei), notes::kyuseiName(n.kyusei));
        }
    }
    return days;
}

} // namespace sorvane::daysearch
