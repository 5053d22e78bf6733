#include "export/feed.h"

#include "almanac/coverage.h"
#include "almanac/limits.h"
#include "almanac/year_almanac.h"
#include "export/calendar_events.h"
#include "export/eclipse_document.h"
#include "holidays/holidays.h"
#include "horizon/places.h"
#include "lunisolar/lunisolar_calendar.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <stdexcept>

namespace sorvane::exports {

namespace {

struct KindInfo {
    FeedKind kind;
    const char* key;
    const char* name;
    const char* about;
};

constexpr KindInfo kKinds[] = {
    {FeedKind::Rokuyo, "rokuyo", "六曜（Sorvane）",
     "先勝・友引・先負・仏滅・大安・赤口を毎日の終日予定として（旧暦の月日による）"},
    {FeedKind::Senjitsu, "senjitsu", "選日（Sorvane）",
     "一粒万倍日・天赦日・不成就日・三隣亡・寅の日・巳の日・己巳の日・甲子の日（八専・十方暮・"
     "天一天上の期間は「選日の期間」に）"},
    {FeedKind::Sekki, "sekki", "二十四節気（Sorvane）",
     "二十四節気の時刻（太陽の視黄経が15°の倍数になる瞬間、日本時間の分まで）"},
    {FeedKind::Holidays, "holidays", "国民の祝日（Sorvane）",
     "国民の祝日・振替休日・国民の休日のみ（行事や記念日は含みません）"},
    {FeedKind::Moon, "moon", "月の満ち欠け（Sorvane）",
     "朔（新月）・上弦・望（満月）・下弦の時刻と、十五夜・十三夜、日食・月食（東京での食の始め・最"
     "大・"
     "終わりの時刻）"},
    {FeedKind::Zassetsu, "zassetsu", "雑節（Sorvane）",
     "節分・彼岸・八十八夜・入梅・半夏生・土用と丑の日・二百十日・二百二十日"},
    {FeedKind::SenjitsuPeriods, "senjitsu-periods", "選日の期間（Sorvane）",
     "八専・十方暮・天一天上の期間（八専の間日は説明に）"},
    {FeedKind::Shio, "shio", "潮名（Sorvane）",
     "大潮・中潮・小潮・長潮・若潮を毎日の終日予定として（旧暦の日による海上保安庁の表。潮位は港ご"
     "とに"
     "異なります）"},
};

const KindInfo& info(FeedKind kind) {
    for (const KindInfo& k : kKinds) {
        if (k.kind == kind) {
            return k;
        }
    }
    throw std::logic_error("feed: a kind of no known name");
}

almanac::YearSpan intersect(const almanac::YearSpan& a, const almanac::YearSpan& b) {
    return {std::max(a.first, b.first), std::min(a.last, b.last)};
}

// The almanac of a year with the moments of the precise mode where it reaches (as --days
// takes them), else of the solar theory.
almanac::YearAlmanac seasonsAlmanac(int year, bool zassetsu, const almanac::Days& days) {
    almanac::AlmanacOptions options;
    options.zassetsu = zassetsu;
    return days.year(year, options);
}

} // namespace

const char* feedKindKey(FeedKind kind) {
    return info(kind).key;
}

std::optional<FeedKind> feedKindOfKey(std::string_view key) {
    for (const KindInfo& k : kKinds) {
        if (key == k.key) {
            return k.kind;
        }
    }
    return std::nullopt;
}

almanac::YearSpan feedYears(FeedKind kind) {
    using almanac::coverage;
    using almanac::Source;
    const almanac::YearSpan ics = coverage(Source::ICalendar);
    switch (kind) {
    case FeedKind::Rokuyo:
    case FeedKind::Senjitsu:
    case FeedKind::Shio:
        return intersect(ics, coverage(Source::Lunisolar));
    case FeedKind::SenjitsuPeriods:
        // The periods hang on the days' 干支 alone; they keep the 選日's years.
        return intersect(ics, coverage(Source::Lunisolar));
    case FeedKind::Moon:
        // The phases reach further; 十五夜 and 十三夜 need the lunisolar calendar.
        return intersect(ics, intersect(coverage(Source::Phases), coverage(Source::Lunisolar)));
    case FeedKind::Holidays:
        return intersect(ics, coverage(Source::Holidays));
    case FeedKind::Sekki:
    case FeedKind::Zassetsu:
        return intersect(ics, {almanac::kFirstCleanYear, almanac::kLastCleanYear});
    }
    throw std::logic_error("feed: a kind of no known years");
}

std::optional<almanac::YearSpan> publishedFeedYears(FeedKind kind, int thisYear) {
    const almanac::YearSpan years = feedYears(kind);
    const int first = std::max(thisYear - kPublishedYearsBefore, years.first);
    const int last = std::min(thisYear + kPublishedYearsAfter, years.last);
    if (first > last) {
        return std::nullopt;
    }
    return almanac::YearSpan{first, last};
}

const char* feedYearsReason(FeedKind kind) {
    switch (kind) {
    case FeedKind::Rokuyo:
        return "the years of the lunisolar calendar, on which 六曜 rests";
    case FeedKind::Shio:
        return "the years of the lunisolar calendar, on which the 潮名 rest";
    case FeedKind::Senjitsu:
        return "the years of the lunisolar calendar, on which 不成就日 rests";
    case FeedKind::SenjitsuPeriods:
        return "the years of the 選日 feed";
    case FeedKind::Moon:
        return "the years of the lunisolar calendar, on which 十五夜 and 十三夜 rest";
    case FeedKind::Holidays:
        return "the years of the holiday law, as --holidays takes them";
    case FeedKind::Sekki:
    case FeedKind::Zassetsu:
        return "the years an iCalendar file holds in which the seasons keep to their months";
    }
    throw std::logic_error("feed: a kind of no known years");
}

const char* feedName(FeedKind kind) {
    return info(kind).name;
}

const char* feedAbout(FeedKind kind) {
    return info(kind).about;
}

namespace {

// The years of a kind's feed, checked.
void checkFeedYears(FeedKind kind, int firstYear, int lastYear) {
    const almanac::YearSpan years = feedYears(kind);
    if (firstYear > lastYear || !years.contains(firstYear) || !years.contains(lastYear)) {
        throw std::out_of_range(std::string("the ") + feedKindKey(kind) +
                                " feed covers the years " + almanac::spanText(years));
    }
}

// The events a kind makes for one year, in the order they are made (the periods, made for a
// run of years at once, excepted).
void appendYearEvents(std::vector<FeedEvent>& out, FeedKind kind, int year,
                      const almanac::Days& days) {
    switch (kind) {
    case FeedKind::Rokuyo:
        appendEvents(out, rokuyoEvents(lunisolar::LunisolarYear(year)));
        break;
    case FeedKind::Senjitsu:
        appendEvents(out, senjitsuDayEvents(days.notes(year)));
        break;
    case FeedKind::Sekki:
        appendEvents(out, solarTermEvents(seasonsAlmanac(year, false, days), false));
        break;
    case FeedKind::Holidays:
        appendEvents(out, holidayEvents(days.holidays(year)));
        break;
    case FeedKind::Moon: {
        const lunisolar::LunisolarYear lunar(year);
        appendEvents(out, phaseEvents(lunar, PhaseSet::All));
        appendEvents(out, lunisolarDayEvents(lunar, true));
        // The eclipses fall on the 朔 and 望: their instants (at the greatest eclipse,
        // Tokyo's where the Sun is eclipsed there) with Tokyo's contacts, under the
        // feed's own UIDs ("moon-eclipse-solar-2030-06-01").
        const horizon::NamedPlace tokyo = horizon::tokyo();
        std::vector<CalendarEvent> eclipses =
            eclipseEvents(eclipseYear(year, tokyo.name, tokyo.observer));
        for (CalendarEvent& e : eclipses) {
            e.uid = "moon-" + e.uid;
        }
        appendEvents(out, std::move(eclipses));
        break;
    }
    case FeedKind::Zassetsu:
        appendEvents(out, zassetsuEvents(seasonsAlmanac(year, true, days), false));
        break;
    case FeedKind::Shio:
        appendEvents(out, shioEvents(lunisolar::LunisolarYear(year)));
        break;
    case FeedKind::SenjitsuPeriods:
        break;
    }
}

// Date order; the events of one day in the order they were made.
void sortByDate(std::vector<FeedEvent>& events) {
    std::stable_sort(events.begin(), events.end(),
                     [](const FeedEvent& a, const FeedEvent& b) { return a.date < b.date; });
}

} // namespace

FeedHeader feedHeader(FeedKind kind, int firstYear, int lastYear) {
    const std::string years = firstYear == lastYear ? std::to_string(firstYear) + "年"
                                                    : std::to_string(firstYear) + "年〜" +
                                                          std::to_string(lastYear) + "年";
    return FeedHeader{feedName(kind),
                      std::string(feedAbout(kind)) + "。" + years + "。Sorvane による計算", "P1W"};
}

std::vector<FeedEvent> feedEvents(FeedKind kind, int firstYear, int lastYear,
                                  const almanac::Days& source) {
    // The feeds take the observatory's minutes wherever they reach, as --days does.
    const almanac::Days days = source.withMinutes(almanac::Minutes::Observatory);
    checkFeedYears(kind, firstYear, lastYear);
    std::vector<FeedEvent> out;
    for (int year = firstYear; year <= lastYear; ++year) {
        appendYearEvents(out, kind, year, days);
    }
    if (kind == FeedKind::SenjitsuPeriods) {
        appendEvents(out,
                     senjitsuPeriodEvents(CivilDate{firstYear, 1, 1}, CivilDate{lastYear, 12, 31}));
    }
    sortByDate(out);
    return out;
}

void writeFeed(FeedKind kind, int firstYear, int lastYear, const almanac::Days& source,
               const std::function<void(std::string_view)>& write) {
    const almanac::Days days = source.withMinutes(almanac::Minutes::Observatory);
    checkFeedYears(kind, firstYear, lastYear);
    FeedPieces pieces(feedHeader(kind, firstYear, lastYear));
    write(pieces.header());
    if (kind == FeedKind::SenjitsuPeriods) {
        // A few events a year, made for the whole run at once (a period crossing a year's end
        // is one event).
        std::vector<FeedEvent> periods =
            senjitsuPeriodEvents(CivilDate{firstYear, 1, 1}, CivilDate{lastYear, 12, 31});
        sortByDate(periods);
        write(pieces.events(periods));
    } else {
        // Each year's events are written as they are made, but for those on or after the
        // year's first day: a year may make events on the last days of the year before (a
        // lunisolar year's first days), which must come before them.
        std::vector<FeedEvent> pending;
        for (int year = firstYear; year <= lastYear; ++year) {
            appendYearEvents(pending, kind, year, days);
            sortByDate(pending);
            const CivilDate first{year, 1, 1};
            const auto ready = std::partition_point(
                pending.begin(), pending.end(), [&](const FeedEvent& e) { return e.date < first; });
            write(pieces.events(std::vector<FeedEvent>(std::make_move_iterator(pending.begin()),
                                                       std::make_move_iterator(ready))));
            pending.erase(pending.begin(), ready);
        }
        write(pieces.events(pending));
    }
    write(FeedPieces::footer());
}

std::string feedCalendar(FeedKind kind, int firstYear, int lastYear, const almanac::Days& days) {
    std::string text;
    writeFeed(kind, firstYear, lastYear, days, [&](std::string_view piece) { text += piece; });
    return text;
}

} // namespace sorvane::exports
