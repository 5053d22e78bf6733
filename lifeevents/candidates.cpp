// The candidate days of each date's window, ranked by what families weigh, from the day
// facts of the day search: no 六曜 or 選日 rule is written here, only how much each weighs.
//
// The ranking: Saturdays, Sundays and national holidays first (the family can gather);
// then the 六曜 (大安, 友引, 先勝 in the morning before the rest; 赤口 and 仏滅 avoided) and
// the 選日 (天赦日 and 一粒万倍日 preferred; 不成就日 and 三隣亡 avoided); then the day
// nearest the customary date, and the earlier of two as near.

#include "calendar/day_cycles.h"
#include "daysearch/day_facts.h"
#include "lifeevents/life_events.h"
#include "notes/notes.h"

#include <algorithm>
#include <cstdlib>
#include <map>

namespace sorvane::lifeevents {

namespace {

using Fk = daysearch::Kind;

constexpr unsigned bit(Fk kind) {
    return 1U << static_cast<int>(kind);
}

// What a name weighs and the reason shown for it.
struct Weight {
    const char* name;
    int score;
    const char* reason;
};
constexpr int kRestScore = 1000; // 土日祝 come first whatever else the day carries
constexpr Weight kRokuyoWeights[] = {
    {"大安", 30, "大安（終日吉）"},
    {"友引", 20, "友引（朝夕吉、昼は凶）"},
    {"先勝", 10, "先勝（午前が吉）"},
    {"先負", 0, "先負（午後が吉）"},
    {"赤口", -20, "赤口（避ける：正午のみ吉）"},
    {"仏滅", -30, "仏滅（避ける）"},
};

struct SenjitsuWeight {
    notes::Senjitsu senjitsu;
    int score;
    const char* suffix;
};
constexpr SenjitsuWeight kSenjitsuWeights[] = {
    {notes::Senjitsu::Tensha, 25, "（最上の吉日）"},
    {notes::Senjitsu::IchiryuManbai, 15, "（始めごとに吉）"},
    {notes::Senjitsu::Fujoju, -25, "（避ける）"},
    {notes::Senjitsu::Sanrinbo, -10, "（避ける）"},
};

constexpr int kInuBranch = 10; // 戌

bool isInuNoHi(const CivilDate& date) {
    return (kanshi(static_cast<double>(dayNumber(date))) - 1) % 12 == kInuBranch;
}

Candidate judge(const EventDate& event, const daysearch::DayFacts& day) {
    Candidate c;
    c.forKey = event.key;
    c.forName = event.name;
    c.date = day.date;
    c.weekday = day.weekday;
    const std::vector<daysearch::Fact>& rest = day.of(Fk::Rest);
    std::string holiday;
    for (const daysearch::Fact& f : rest) {
        if (f.name == daysearch::kHolidayWord) {
            holiday = f.text();
        }
    }
    if (!holiday.empty()) {
        c.rest = true;
        c.reasons.push_back("祝日（" + holiday + "）");
    } else if (day.weekday == "土" || day.weekday == "日") {
        c.rest = true;
        c.reasons.push_back(day.weekday + "曜日");
    } else {
        c.reasons.push_back(day.weekday + "曜日（平日）");
    }
    if (c.rest) {
        c.score += kRestScore;
    }
    if (day.knows(Fk::Rokuyo)) {
        for (const daysearch::Fact& f : day.of(Fk::Rokuyo)) {
            c.rokuyo = f.name;
            for (const Weight& w : kRokuyoWeights) {
                if (f.name == w.name) {
                    c.score += w.score;
                    c.reasons.push_back(w.reason);
                }
            }
        }
    } else {
        c.reasons.push_back("六曜は" + daysearch::kindReach(Fk::Rokuyo) + "年のみ");
    }
    if (day.knows(Fk::Senjitsu)) {
        for (const daysearch::Fact& f : day.of(Fk::Senjitsu)) {
            for (const SenjitsuWeight& w : kSenjitsuWeights) {
                if (f.name == notes::senjitsuName(w.senjitsu)) {
                    c.score += w.score;
                    c.reasons.push_back(f.name + w.suffix);
                }
            }
        }
    } else {
        c.reasons.push_back("選日はこの年には求められない");
    }
    if (event.date) {
        const long long offset = dayNumber(day.date) - dayNumber(*event.date);
        c.reasons.push_back(offset == 0  ? "当日"
                            : offset < 0 ? std::to_string(-offset) + "日前"
                                         : std::to_string(offset) + "日後");
    }
    return c;
}

long long distance(const EventDate& event, const CivilDate& date) {
    return event.date ? std::llabs(dayNumber(date) - dayNumber(*event.date)) : 0;
}

} // namespace

std::vector<Candidate> rankCandidates(const std::vector<EventDate>& dates,
                                      const almanac::Days& days) {
    // The days each year needs, once per year however many windows it holds.
    std::map<int, std::pair<CivilDate, CivilDate>> spans;
    for (const EventDate& e : dates) {
        if (!e.windowFirst || !e.windowLast) {
            continue;
        }
        for (int y = e.windowFirst->year; y <= e.windowLast->year; ++y) {
            const CivilDate first = std::max(*e.windowFirst, CivilDate{y, 1, 1});
            const CivilDate last = std::min(*e.windowLast, CivilDate{y, 12, 31});
            auto [it, added] = spans.try_emplace(y, first, last);
            if (!added) {
                it->second.first = std::min(it->second.first, first);
                it->second.second = std::max(it->second.second, last);
            }
        }
    }
    const unsigned kinds =
        bit(Fk::Rokuyo) | bit(Fk::Senjitsu) | bit(Fk::Rest) | daysearch::kLunarNotes;
    std::map<long long, daysearch::DayFacts> facts;
    for (const auto& [year, span] : spans) {
        for (daysearch::DayFacts& d : daysearch::yearFacts(days, span.first, span.second, kinds)) {
            const long long n = dayNumber(d.date);
            facts.emplace(n, std::move(d));
        }
    }
    std::vector<Candidate> out;
    for (const EventDate& e : dates) {
        if (!e.windowFirst || !e.windowLast) {
            continue;
        }
        std::vector<Candidate> ranked;
        for (long long n = dayNumber(*e.windowFirst); n <= dayNumber(*e.windowLast); ++n) {
            const auto day = facts.find(n);
            if (day == facts.end() || (e.onlyInuNoHi && !isInuNoHi(day->second.date))) {
                continue;
            }
            ranked.push_back(judge(e, day->second));
        }
        std::stable_sort(ranked.begin(), ranked.end(), [&](const Candidate& a, const Candidate& b) {
            if (a.score != b.score) {
                return a.score > b.score;
            }
            const long long da = distance(e, a.date);
            const long long db = distance(e, b.date);
            return da != db ? da < db : a.date < b.date;
        });
        if (ranked.size() > static_cast<std::size_t>(kCandidatesPerDate)) {
            ranked.resize(kCandidatesPerDate);
        }
        out.insert(out.end(), ranked.begin(), ranked.end());
    }
    return out;
}

} // namespace sorvane::lifeevents
