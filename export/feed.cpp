#include "export/feed.h"

#include "almanac/coverage.h"
#include "almanac/limits.h"
#include "almanac/year_almanac.h"
#include "export/days_document.h"
#include "holidays/holidays.h"
#include "lunisolar/lunisolar_calendar.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"

#include <algorithm>
#include <cstdio>
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
     "大安・赤口・先勝・友引・先負・仏滅を毎日の終日予定として（旧暦の月日による）"},
    {FeedKind::Senjitsu, "senjitsu", "選日（Sorvane）",
     "一粒万倍日・天赦日・不成就日・三隣亡・寅の日・巳の日・己巳の日・甲子の日と、八専・十方暮・"
     "天一天上の期間"},
    {FeedKind::Sekki, "sekki", "二十四節気（Sorvane）",
     "二十四節気の時刻（太陽の視黄経が15°の倍数になる瞬間、日本時間の分まで）"},
    {FeedKind::Holidays, "holidays", "国民の祝日（Sorvane）",
     "国民の祝日・振替休日・国民の休日のみ（行事や記念日は含みません）"},
    {FeedKind::Moon, "moon", "月の満ち欠け（Sorvane）",
     "朔（新月）・上弦・望（満月）・下弦の時刻と、十五夜・十三夜"},
    {FeedKind::Zassetsu, "zassetsu", "雑節（Sorvane）",
     "節分・彼岸・八十八夜・入梅・半夏生・土用と丑の日・二百十日・二百二十日"},
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

// "3月2日", for the text of a description.
std::string japaneseDay(const CivilDate& date) {
    return std::to_string(date.month) + "月" + std::to_string(date.day) + "日";
}

FeedEvent wholeDay(const std::string& uid, const std::string& summary, const std::string& category,
                   const CivilDate& date, const std::string& description) {
    FeedEvent e;
    e.uid = uid;
    e.summary = summary;
    e.category = category;
    e.date = e.lastDate = date;
    e.description = description;
    return e;
}

FeedEvent instant(const std::string& uid, const std::string& summary, const std::string& category,
                  const CivilDate& date, int hour, int minute, const std::string& description) {
    FeedEvent e = wholeDay(uid, summary, category, date, description);
    e.instant = true;
    e.hour = hour;
    e.minute = minute;
    return e;
}

// The almanac of a year with the moments of the precise mode where it reaches (as --days
// takes them), else of the solar theory.
almanac::YearAlmanac seasonsAlmanac(int year, bool zassetsu, const almanac::Days& days) {
    almanac::AlmanacOptions options;
    options.zassetsu = zassetsu;
    return days.year(year, options);
}

// What a moment's description says of how it was computed, and how sure it is.
std::string methodText(const almanac::YearAlmanac& almanac) {
    std::string text =
        almanac.precise ? "。IAU の理論による精密計算" : "。ニューカムの太陽理論による計算";
    if (const std::string note = almanac::uncertaintyNote(almanac); !note.empty()) {
        text += "。注：" + note;
    }
    return text;
}

void addRokuyo(std::vector<FeedEvent>& out, int year) {
    const lunisolar::LunisolarYear lunar(year);
    for (long long n = lunar.firstDay(); n <= lunar.lastDay(); ++n) {
        const lunisolar::LunarDay d = lunar.day(n);
        const CivilDate date = civilDate(n);
        out.push_back(wholeDay("rokuyo-" + isoDateText(date), lunisolar::rokuyoName(d.rokuyo),
                               "六曜", date, "旧暦" + lunisolar::lunarDateText(d)));
    }
}

void addSekki(std::vector<FeedEvent>& out, int year, const almanac::Days& days) {
    const almanac::YearAlmanac almanac = seasonsAlmanac(year, false, days);
    for (const almanac::Event& e : almanac.solarTerms) {
        if (e.kind == EventKind::Doyo) {
            continue;
        }
        char key[16];
        std::snprintf(key, sizeof key, "%03.0f", e.longitude);
        out.push_back(instant("sekki-" + std::string(key) + "-" + isoDateText(e.date),
                              almanac::eventTitle(e), "二十四節気", e.date, e.hour, e.minute,
                              longitudeText(e.longitude, almanac.precise) + "、" +
                                  jstText(e.date, e.hour, e.minute) + methodText(almanac)));
    }
}

void addZassetsu(std::vector<FeedEvent>& out, int year, const almanac::Days& days) {
    const almanac::YearAlmanac almanac = seasonsAlmanac(year, true, days);
    for (const zassetsu::Item& z : almanac.zassetsu) {
        const std::string uid = "zassetsu-" + z.id + "-" + isoDateText(z.date);
        switch (z.kind) {
        case zassetsu::Kind::Moment: // 入梅, 半夏生: the day, with the minute in the text
            out.push_back(
                wholeDay(uid, z.name, "雑節", z.date,
                         z.rule + "、" + jstText(z.date, z.hour, z.minute) + methodText(almanac)));
            break;
        case zassetsu::Kind::Period: {
            FeedEvent e = wholeDay(uid, z.name, "雑節", z.date, z.rule);
            e.lastDate = z.lastDate;
            out.push_back(e);
            break;
        }
        case zassetsu::Kind::Day:
        case zassetsu::Kind::UshiDay:
            out.push_back(wholeDay(uid, z.name, "雑節", z.date, z.rule));
            break;
        }
    }
}

void addHolidays(std::vector<FeedEvent>& out, int year, const almanac::Days& days) {
    for (const holidays::Holiday& h : days.holidays(year)) {
        out.push_back(wholeDay("holidays-" + isoDateText(h.date), h.name, "祝日", h.date,
                               holidayDescription(h)));
    }
}

void addMoon(std::vector<FeedEvent>& out, int year) {
    static const char* const kPhaseKeys[] = {"new", "first-quarter", "full", "last-quarter"};
    const lunisolar::LunisolarYear lunar(year);
    for (const lunisolar::PhaseMoment& p : lunar.phases()) {
        const CivilDate date = civilDate(p.day());
        const int hour = p.minuteOfDay() / 60;
        const int minute = p.minuteOfDay() % 60;
        out.push_back(instant(std::string("moon-") + kPhaseKeys[static_cast<int>(p.phase)] + "-" +
                                  isoDateText(date),
                              lunisolar::phaseName(p.phase), "月相", date, hour, minute,
                              phaseDescription(p.phase, date, hour, minute)));
    }
    for (long long n = lunar.firstDay(); n <= lunar.lastDay(); ++n) {
        const lunisolar::LunarDay d = lunar.day(n);
        if (d.special == lunisolar::SpecialDay::Jugoya ||
            d.special == lunisolar::SpecialDay::Jusanya) {
            const CivilDate date = civilDate(n);
            const char* key = *d.special == lunisolar::SpecialDay::Jugoya ? "jugoya" : "jusanya";
            out.push_back(wholeDay(std::string("moon-") + key + "-" + isoDateText(date),
                                   lunisolar::specialDayName(*d.special), "旧暦", date,
                                   "旧暦" + lunisolar::lunarDateText(d)));
        }
    }
}

// The 選日 of firstYear..lastYear: the days of each one-day note, and each period (八専,
// 十方暮, 天一天上) that shares a day with the range as one event, whole, its 間日 named.
void addSenjitsu(std::vector<FeedEvent>& out, int firstYear, int lastYear,
                 const almanac::Days& days) {
    for (int year = firstYear; year <= lastYear; ++year) {
        const notes::YearNotes notes = days.notes(year);
        for (const notes::DayNotes& d : notes.days) {
            for (const notes::Senjitsu s : d.senjitsu) {
                if (!notes::isPeriod(s)) {
                    const std::string name = notes::senjitsuName(s);
                    out.push_back(wholeDay(
                        std::string("senjitsu-") + senjitsuKey(s) + "-" + isoDateText(d.date), name,
                        "選日," + name, d.date, notes::senjitsuMeaning(s)));
                }
            }
        }
    }
    for (const notes::SenjitsuPeriod& p :
         days.senjitsuPeriods(CivilDate{firstYear, 1, 1}, CivilDate{lastYear, 12, 31})) {
        const CivilDate first = civilDate(p.first);
        std::string description = std::string(notes::senjitsuMeaning(p.kind)) + "（" +
                                  japaneseDay(first) + "〜" + japaneseDay(civilDate(p.last));
        if (!p.restDays.empty()) {
            description += "。間日 ";
            for (std::size_t i = 0; i < p.restDays.size(); ++i) {
                description += (i == 0 ? "" : "、") + japaneseDay(civilDate(p.restDays[i]));
            }
        }
        description += "）";
        const std::string name = notes::senjitsuName(p.kind);
        FeedEvent e =
            wholeDay(std::string("senjitsu-") + senjitsuKey(p.kind) + "-" + isoDateText(first),
                     name, "選日," + name, first, description);
        e.lastDate = civilDate(p.last);
        out.push_back(e);
    }
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

const char* feedYearsReason(FeedKind kind) {
    switch (kind) {
    case FeedKind::Rokuyo:
        return "the years of the lunisolar calendar, on which 六曜 rests";
    case FeedKind::Senjitsu:
        return "the years of the lunisolar calendar, on which 不成就日 rests";
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

std::vector<FeedEvent> feedEvents(FeedKind kind, int firstYear, int lastYear,
                                  const almanac::Days& source) {
    // The feeds take the observatory's minutes wherever they reach, as --days does.
    const almanac::Days days = source.withMinutes(almanac::Minutes::Observatory);
    const almanac::YearSpan years = feedYears(kind);
    if (firstYear > lastYear || !years.contains(firstYear) || !years.contains(lastYear)) {
        throw std::out_of_range(std::string("the ") + feedKindKey(kind) +
                                " feed covers the years " + almanac::spanText(years));
    }
    std::vector<FeedEvent> out;
    if (kind == FeedKind::Senjitsu) {
        addSenjitsu(out, firstYear, lastYear, days);
    }
    for (int year = firstYear; year <= lastYear && kind != FeedKind::Senjitsu; ++year) {
        switch (kind) {
        case FeedKind::Rokuyo:
            addRokuyo(out, year);
            break;
        case FeedKind::Sekki:
            addSekki(out, year, days);
            break;
        case FeedKind::Holidays:
            addHolidays(out, year, days);
            break;
        case FeedKind::Moon:
            addMoon(out, year);
            break;
        case FeedKind::Zassetsu:
            addZassetsu(out, year, days);
            break;
        case FeedKind::Senjitsu:
            break;
        }
    }
    // Date order; the events of one day in the order they were added.
    std::stable_sort(out.begin(), out.end(),
                     [](const FeedEvent& a, const FeedEvent& b) { return a.date < b.date; });
    return out;
}

std::string feedCalendar(FeedKind kind, int firstYear, int lastYear, const almanac::Days& days) {
    const std::string years = firstYear == lastYear ? std::to_string(firstYear) + "年"
                                                    : std::to_string(firstYear) + "年〜" +
                                                          std::to_string(lastYear) + "年";
    const FeedHeader header{feedName(kind),
                            std::string(feedAbout(kind)) + "。" + years + "。Sorvane による計算",
                            "P1W"};
    return icsFeed(header, feedEvents(kind, firstYear, lastYear, days));
}

} // namespace sorvane::exports
