#include "export/calendar_events.h"

#include "calendar/day_cycles.h"
#include "export/icalendar.h"
#include "lunisolar/lunisolar_calendar.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace sorvane::exports {

namespace {

CalendarEvent wholeDays(std::string uid, std::string summary, std::string category,
                        const CivilDate& first, const CivilDate& last, std::string description) {
    CalendarEvent e;
    e.uid = std::move(uid);
    e.summary = std::move(summary);
    e.category = std::move(category);
    e.date = first;
    e.lastDate = last;
    e.description = std::move(description);
    return e;
}

CalendarEvent instant(std::string uid, std::string summary, std::string category,
                      const CivilDate& date, int hour, int minute, std::string description) {
    CalendarEvent e = wholeDays(std::move(uid), std::move(summary), std::move(category), date, date,
                                std::move(description));
    e.instant = true;
    e.hour = hour;
    e.minute = minute;
    return e;
}

// "KIND-ITEM-YYYY-MM-DD" (ITEM may be empty: "KIND-YYYY-MM-DD").
std::string key(const std::string& kind, const std::string& item, const CivilDate& date) {
    return kind + "-" + (item.empty() ? "" : item + "-") + isoDateText(date);
}

// The Sun's longitude as a key: "315".
std::string degreesKey(double longitude) {
    char text[16];
    std::snprintf(text, sizeof text, "%03.0f", longitude);
    return text;
}

// What a moment's description says of how it was computed, and how sure it is.
std::string methodText(const almanac::YearAlmanac& almanac) {
    std::string text = almanac.precise ? "。国立天文台と同じ計算方法（IAU の理論）による"
                                       : "。既定の理論（ニューカムの太陽理論）による計算";
    if (const std::string note = almanac::uncertaintyNote(almanac); !note.empty()) {
        text += "。注：" + note;
    }
    return text;
}

const char* phaseKey(lunisolar::Phase phase) {
    static const char* const kKeys[] = {"new", "first-quarter", "full", "last-quarter"};
    return kKeys[static_cast<int>(phase)];
}

const char* specialDayKey(lunisolar::SpecialDay day) {
    static const char* const kKeys[] = {"kyushogatsu", "tanabata", "jugoya", "jusanya"};
    return kKeys[static_cast<int>(day)];
}

} // namespace

void appendEvents(std::vector<CalendarEvent>& events, std::vector<CalendarEvent>&& more) {
    events.insert(events.end(), std::make_move_iterator(more.begin()),
                  std::make_move_iterator(more.end()));
}

std::vector<CalendarEvent> solarTermEvents(const almanac::YearAlmanac& almanac, bool withDoyo) {
    std::vector<CalendarEvent> out;
    for (const almanac::Event& e : almanac.solarTerms) {
        const bool doyo = e.kind == EventKind::Doyo;
        if (doyo && !withDoyo) {
            continue;
        }
        out.push_back(instant(key(doyo ? "doyo" : "sekki", degreesKey(e.longitude), e.date),
                              almanac::eventTitle(e), doyo ? "土用" : "二十四節気", e.date, e.hour,
                              e.minute,
                              longitudeText(e.longitude, almanac.precise) + "、" +
                                  jstText(e.date, e.hour, e.minute) + methodText(almanac)));
    }
    return out;
}

std::vector<CalendarEvent> zassetsuEvents(const almanac::YearAlmanac& almanac,
                                          bool momentsAsInstants) {
    std::vector<CalendarEvent> out;
    for (const zassetsu::Item& z : almanac.zassetsu) {
        const std::string uid = key("zassetsu", z.id, z.date);
        switch (z.kind) {
        case zassetsu::Kind::Moment: // 入梅, 半夏生
            if (momentsAsInstants) {
                out.push_back(instant(uid, z.name, "雑節", z.date, z.hour, z.minute,
                                      longitudeText(z.longitude, almanac.precise) + "、" +
                                          jstText(z.date, z.hour, z.minute) + methodText(almanac)));
            } else {
                out.push_back(wholeDays(uid, z.name, "雑節", z.date, z.date,
                                        z.rule + "、" + jstText(z.date, z.hour, z.minute) +
                                            methodText(almanac)));
            }
            break;
        case zassetsu::Kind::Period:
            out.push_back(wholeDays(uid, z.name, "雑節", z.date, z.lastDate, z.rule));
            break;
        case zassetsu::Kind::Day:
        case zassetsu::Kind::UshiDay:
            out.push_back(wholeDays(uid, z.name, "雑節", z.date, z.date, z.rule));
            break;
        }
    }
    return out;
}

std::vector<CalendarEvent> phaseEvents(const lunisolar::LunisolarYear& year, PhaseSet phases) {
    std::vector<CalendarEvent> out;
    for (const lunisolar::PhaseMoment& p : year.phases()) {
        if (phases == PhaseSet::NewAndFull && p.phase != lunisolar::Phase::New &&
            p.phase != lunisolar::Phase::Full) {
            continue;
        }
        const CivilDate date = civilDate(p.day());
        const int hour = p.minuteOfDay() / 60;
        const int minute = p.minuteOfDay() % 60;
        out.push_back(instant(key("moon", phaseKey(p.phase), date), lunisolar::phaseName(p.phase),
                              "月相", date, hour, minute,
                              phaseDescription(p.phase, date, hour, minute)));
    }
    return out;
}

std::vector<CalendarEvent> lunisolarDayEvents(const lunisolar::LunisolarYear& year,
                                              bool moonViewingOnly) {
    std::vector<CalendarEvent> out;
    for (long long n = year.firstDay(); n <= year.lastDay(); ++n) {
        const lunisolar::LunarDay d = year.day(n);
        if (!d.special || (moonViewingOnly && *d.special != lunisolar::SpecialDay::Jugoya &&
                           *d.special != lunisolar::SpecialDay::Jusanya)) {
            continue;
        }
        const CivilDate date = civilDate(n);
        out.push_back(wholeDays(key("moon", specialDayKey(*d.special), date),
                                lunisolar::specialDayName(*d.special), "旧暦", date, date,
                                "旧暦" + lunisolar::lunarDateText(d)));
    }
    return out;
}

std::vector<CalendarEvent> holidayEvents(const std::vector<holidays::Holiday>& holidays) {
    std::vector<CalendarEvent> out;
    for (const holidays::Holiday& h : holidays) {
        out.push_back(wholeDays(key("holidays", "", h.date), h.name, "祝日", h.date, h.date,
                                holidayDescription(h)));
    }
    return out;
}

std::vector<CalendarEvent> rokuyoEvents(const lunisolar::LunisolarYear& year) {
    std::vector<CalendarEvent> out;
    for (long long n = year.firstDay(); n <= year.lastDay(); ++n) {
        const lunisolar::LunarDay d = year.day(n);
        const CivilDate date = civilDate(n);
        out.push_back(wholeDays(key("rokuyo", "", date), lunisolar::rokuyoName(d.rokuyo), "六曜",
                                date, date, "旧暦" + lunisolar::lunarDateText(d)));
    }
    return out;
}

std::vector<CalendarEvent> shioEvents(const lunisolar::LunisolarYear& year) {
    std::vector<CalendarEvent> out;
    for (long long n = year.firstDay(); n <= year.lastDay(); ++n) {
        const lunisolar::LunarDay d = year.day(n);
        const CivilDate date = civilDate(n);
        out.push_back(wholeDays(key("shio", "", date), notes::shioName(notes::shio(d.day)), "潮名",
                                date, date, "旧暦" + lunisolar::lunarDateText(d)));
    }
    return out;
}

std::vector<CalendarEvent> senjitsuDayEvents(const notes::YearNotes& year) {
    std::vector<CalendarEvent> out;
    for (const notes::DayNotes& d : year.days) {
        const auto has = [&d](notes::Senjitsu s) {
            return std::find(d.senjitsu.begin(), d.senjitsu.end(), s) != d.senjitsu.end();
        };
        // Every 己巳の日 is a 巳の日: the two are one event, named by both.
        const bool tsuchinotomi = has(notes::Senjitsu::Tsuchinotomi);
        for (const notes::Senjitsu s : d.senjitsu) {
            if (notes::isPeriod(s) ||
                (s == notes::Senjitsu::Tsuchinotomi && has(notes::Senjitsu::Mi))) {
                continue;
            }
            std::string name = notes::senjitsuName(s);
            std::string category = "選日," + name;
            std::string description = notes::senjitsuMeaning(s);
            if (s == notes::Senjitsu::Mi && tsuchinotomi) {
                const std::string other = notes::senjitsuName(notes::Senjitsu::Tsuchinotomi);
                name += "・" + other;
                category += "," + other;
                description +=
                    "。" + other + "：" + notes::senjitsuMeaning(notes::Senjitsu::Tsuchinotomi);
            }
            out.push_back(wholeDays(key("senjitsu", senjitsuKey(s), d.date), name, category, d.date,
                                    d.date, description));
        }
    }
    return out;
}

std::vector<CalendarEvent> senjitsuPeriodEvents(const CivilDate& first, const CivilDate& last) {
    std::vector<CalendarEvent> out;
    for (const notes::SenjitsuPeriod& p :
         notes::senjitsuPeriods(dayNumber(first), dayNumber(last))) {
        const CivilDate start = civilDate(p.first);
        std::string description = std::string(notes::senjitsuMeaning(p.kind)) + "（" +
                                  japaneseMonthDayText(start) + "〜" +
                                  japaneseMonthDayText(civilDate(p.last));
        if (!p.restDays.empty()) {
            description += "。間日 ";
            for (std::size_t i = 0; i < p.restDays.size(); ++i) {
                description +=
                    (i == 0 ? "" : "、") + japaneseMonthDayText(civilDate(p.restDays[i]));
            }
        }
        description += "）";
        const std::string name = notes::senjitsuName(p.kind);
        out.push_back(wholeDays(key("senjitsu", senjitsuKey(p.kind), start), name, "選日," + name,
                                start, civilDate(p.last), description));
    }
    return out;
}

} // namespace sorvane::exports
