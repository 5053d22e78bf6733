#include "daysearch/day_search.h"

#include "almanac/coverage.h"
#include "notes/notes.h"

#include <algorithm>

namespace sorvane::daysearch {

namespace {

const Fact* findFact(const DayFacts& day, const Term& term) {
    for (const Fact& fact : day.of(term.kind)) {
        if (fact.name == term.name) {
            return &fact;
        }
    }
    return nullptr;
}

// What a word says of a day: it holds, it does not, or a kind it needs is not known there
// and none of its known names holds (then unknown: the kind of the first such name).
struct WordValue {
    bool holds = false;
    std::optional<Kind> unknown;
    std::string matched; // the names that hold, "、" between two
};

WordValue evaluate(const Word& word, const DayFacts& day) {
    WordValue value;
    std::optional<Kind> missing;
    for (const Term& term : word.terms) {
        if (const auto kind = undecidedKind(term, day)) {
            missing = missing ? missing : kind;
        } else if (const Fact* fact = findFact(day, term)) {
            if (!value.matched.empty()) {
                value.matched += "、";
            }
            value.matched += term.shownAs(fact->text());
        }
    }
    if (!value.matched.empty()) {
        value.holds = !word.negated;
    } else if (missing) {
        value.unknown = missing;
    } else {
        value.holds = word.negated;
    }
    return value;
}

// The first kind of the word's names not known on the day, if any.
std::optional<Kind> missingKind(const Word& word, const DayFacts& day) {
    for (const Term& term : word.terms) {
        if (const auto kind = daysearch::missingKind(term, day)) {
            return kind;
        }
    }
    return std::nullopt;
}

// The kind a term needs that no day of the year can have (the lunisolar calendar, the
// holidays outside their years), if any.
std::optional<Kind> missingAllYear(const Term& term, int year) {
    const bool lunar = almanac::covers(almanac::Source::Lunisolar, year);
    switch (term.kind) {
    case Kind::Rokuyo:
    case Kind::Lunisolar:
    case Kind::Shio:
        return lunar ? std::nullopt : std::optional<Kind>(term.kind);
    case Kind::Rest:
        // 休日 holds on Saturdays and Sundays in any year.
        return almanac::covers(almanac::Source::Holidays, year) || term.name == kRestWord
                   ? std::nullopt
                   : std::optional<Kind>(term.kind);
    case Kind::Senjitsu:
        return !lunar && term.name == notes::senjitsuName(notes::Senjitsu::Fujoju)
                   ? std::optional<Kind>(Kind::Lunisolar)
                   : std::nullopt;
    default:
        return std::nullopt;
    }
}

// The kind for which a word is unknown on every day of the year, if every one of its names
// needs one that the year lacks.
std::optional<Kind> unknownAllYear(const Word& word, int year) {
    std::optional<Kind> first;
    for (const Term& term : word.terms) {
        const auto kind = missingAllYear(term, year);
        if (!kind) {
            return std::nullopt;
        }
        first = first ? first : kind;
    }
    return first;
}

} // namespace

std::optional<std::vector<std::string>> matchDay(const Query& query, const DayFacts& day) {
    std::vector<std::string> notes;
    for (const Word& word : query.words) {
        WordValue value = evaluate(word, day);
        if (!value.holds) {
            return std::nullopt;
        }
        if (!word.negated) {
            notes.push_back(std::move(value.matched));
        }
    }
    return notes;
}

DaySearch::DaySearch(const almanac::Days& days, std::size_t yearsKept)
    : days_(days.withMinutes(almanac::Minutes::Observatory)),
      yearsKept_(std::max<std::size_t>(yearsKept, 1)) {}

DaySearch::DaySearch(const Tables& tables, std::size_t yearsKept)
    : DaySearch(almanac::Days(tables, almanac::Minutes::Observatory), yearsKept) {}

const std::vector<DayFacts>& DaySearch::year(int year, unsigned kinds) {
    unsigned wanted = kinds;
    for (auto it = years_.begin(); it != years_.end(); ++it) {
        if (it->year == year) {
            if ((it->kinds & kinds) == kinds) {
                std::rotate(it, it + 1, years_.end());
                return years_.back().days;
            }
            wanted |= it->kinds;
            years_.erase(it);
            break;
        }
    }
    while (years_.size() >= yearsKept_) {
        years_.pop_front();
    }
    const lunisolar::LunisolarYear* lunar = nullptr;
    if (needsLunisolarYear(wanted) && almanac::covers(almanac::Source::Lunisolar, year)) {
        if (!lunarYear_ || lunarYear_->year() != year) {
            const lunisolar::LunisolarYear* before =
                lunarYear_ && lunarYear_->year() == year - 1 ? &*lunarYear_ : nullptr;
            lunisolar::LunisolarYear next(year, lunisolar::Quarters::Left, before);
            lunarYear_ = std::move(next);
        }
        lunar = &*lunarYear_;
    }
    Year computed;
    computed.year = year;
    computed.kinds = wanted;
    computed.days = yearFacts(days_, CivilDate{year, 1, 1}, CivilDate{year, 12, 31}, wanted, lunar);
    years_.push_back(std::move(computed));
    return years_.back().days;
}

SearchResult DaySearch::search(const Query& query, const CivilDate& from, const CivilDate& to,
                               bool listDays) {
    SearchResult result;
    SearchHooks hooks;
    if (listDays) {
        hooks.found = [&](DayMatch&& day) { result.days.push_back(std::move(day)); };
    } else {
        hooks.found = [](DayMatch&&) {};
    }
    SearchResult counted = search(query, from, to, hooks);
    counted.days = std::move(result.days);
    return counted;
}

SearchResult DaySearch::search(const Query& query, const CivilDate& from, const CivilDate& to,
                               const SearchHooks& hooks) {
    SearchResult result;
    std::vector<DayMatch> kept; // without hooks.found
    const unsigned kinds = kindsNamed(query);
    // The stretch of days each word cannot decide that is still open.
    std::vector<std::optional<Uncovered>> open(query.words.size());
    auto mark = [&](std::size_t w, std::optional<Kind> kind, const CivilDate& first,
                    const CivilDate& last) {
        if (kind && open[w] && open[w]->kind == *kind && addDays(open[w]->last, 1) == first) {
            open[w]->last = last;
            return;
        }
        if (open[w]) {
            result.uncovered.push_back(*open[w]);
            open[w].reset();
        }
        if (kind) {
            const auto& terms = query.words[w].terms;
            const bool weekends =
                *kind == Kind::Rest && std::any_of(terms.begin(), terms.end(), [](const Term& t) {
                    return t.kind == Kind::Rest && t.name == kRestWord;
                });
            open[w] = Uncovered{query.words[w].text, *kind, first, last, weekends};
        }
    };
    const long long fromDay = dayNumber(from);
    const long long toDay = dayNumber(to);
    const int years = to.year - from.year + 1;
    for (int y = from.year; y <= to.year; ++y) {
        if (y > from.year && hooks.progress && !hooks.progress(y - from.year, years)) {
            result.stopped = true;
            break;
        }
        const long long first = std::max(fromDay, dayNumber(CivilDate{y, 1, 1}));
        const long long last = std::min(toDay, dayNumber(CivilDate{y, 12, 31}));
        // A year in which some word cannot hold on any day is not computed.
        bool hopeless = false;
        for (const Word& word : query.words) {
            hopeless = hopeless || unknownAllYear(word, y).has_value();
        }
        if (hopeless) {
            for (std::size_t w = 0; w < query.words.size(); ++w) {
                std::optional<Kind> missing;
                for (const Term& term : query.words[w].terms) {
                    missing = missing ? missing : missingAllYear(term, y);
                }
                mark(w, missing, civilDate(first), civilDate(last));
            }
            continue;
        }
        const std::vector<DayFacts>& days = year(y, kinds);
        const long long offset = dayNumber(CivilDate{y, 1, 1});
        for (long long n = first; n <= last; ++n) {
            const DayFacts& day = days[static_cast<std::size_t>(n - offset)];
            std::vector<std::string> notes;
            bool holds = true;
            for (std::size_t w = 0; w < query.words.size(); ++w) {
                WordValue value = evaluate(query.words[w], day);
                mark(w, missingKind(query.words[w], day), day.date, day.date);
                holds = holds && value.holds;
                if (value.holds && !query.words[w].negated) {
                    notes.push_back(std::move(value.matched));
                }
            }
            if (holds) {
                ++result.count;
                DayMatch match{day.date, day.weekday, std::move(notes)};
                if (hooks.found) {
                    hooks.found(std::move(match));
                } else {
                    kept.push_back(std::move(match));
                }
            }
        }
    }
    for (auto& stretch : open) {
        if (stretch) {
            result.uncovered.push_back(*stretch);
        }
    }
    std::stable_sort(result.uncovered.begin(), result.uncovered.end(),
                     [](const Uncovered& a, const Uncovered& b) { return a.first < b.first; });
    if (!result.stopped && hooks.progress) {
        hooks.progress(years, years);
    }
    result.days = std::move(kept);
    return result;
}

std::vector<std::string> absentLunarDates(DaySearch& search, const Query& query,
                                          const CivilDate& from, const CivilDate& to) {
    std::vector<std::string> absent;
    for (const Word& word : query.words) {
        if (word.negated) {
            continue;
        }
        for (const Term& term : word.terms) {
            const bool date = term.kind == Kind::Lunisolar &&
                              term.name.find("月") != std::string::npos &&
                              term.name.ends_with("日");
            if (!date || std::find(absent.begin(), absent.end(), term.name) != absent.end()) {
                continue;
            }
            Query alone;
            alone.text = term.name;
            alone.words.push_back(Word{term.name, false, {term}, {term.name}});
            const SearchResult r = search.search(alone, from, to, false);
            if (r.count == 0 && r.uncovered.empty()) {
                absent.push_back(term.name);
            }
        }
    }
    return absent;
}

} // namespace sorvane::daysearch
