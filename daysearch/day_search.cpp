#include "daysearch/day_search.h"

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

// The first kind of the word not known on the day, if any.
std::optional<Kind> unknownKind(const Word& word, const DayFacts& day) {
    for (const Term& term : word.terms) {
        if (const auto kind = missingKind(term, day)) {
            return kind;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::vector<std::string>> matchDay(const Query& query, const DayFacts& day) {
    std::vector<std::string> notes;
    for (const Word& word : query.words) {
        if (unknownKind(word, day)) {
            return std::nullopt;
        }
        std::string matched;
        for (const Term& term : word.terms) {
            if (const Fact* fact = findFact(day, term)) {
                if (!matched.empty()) {
                    matched += "、";
                }
                matched += fact->text();
            }
        }
        if (matched.empty() != word.negated) {
            return std::nullopt;
        }
        if (!word.negated) {
            notes.push_back(std::move(matched));
        }
    }
    return notes;
}

DaySearch::DaySearch(const Tables& tables, std::size_t yearsKept)
    : tables_(tables), yearsKept_(std::max<std::size_t>(yearsKept, 1)) {}

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
    Year computed;
    computed.year = year;
    computed.kinds = wanted;
    computed.days = yearFacts(tables_, CivilDate{year, 1, 1}, CivilDate{year, 12, 31}, wanted);
    years_.push_back(std::move(computed));
    return years_.back().days;
}

SearchResult DaySearch::search(const Query& query, const CivilDate& from, const CivilDate& to,
                               bool listDays) {
    SearchResult result;
    const unsigned kinds = kindsNamed(query);
    // The stretch of days each word cannot decide that is still open.
    std::vector<std::optional<Uncovered>> open(query.words.size());
    const long long fromDay = dayNumber(from);
    const long long toDay = dayNumber(to);
    for (int y = from.year; y <= to.year; ++y) {
        const std::vector<DayFacts>& days = year(y, kinds);
        const long long first = std::max(fromDay, dayNumber(CivilDate{y, 1, 1}));
        const long long last = std::min(toDay, dayNumber(CivilDate{y, 12, 31}));
        const long long offset = dayNumber(CivilDate{y, 1, 1});
        for (long long n = first; n <= last; ++n) {
            const DayFacts& day = days[static_cast<std::size_t>(n - offset)];
            for (std::size_t w = 0; w < query.words.size(); ++w) {
                if (const auto kind = unknownKind(query.words[w], day)) {
                    if (open[w] && open[w]->kind == *kind) {
                        open[w]->last = day.date;
                    } else {
                        if (open[w]) {
                            result.uncovered.push_back(*open[w]);
                        }
                        open[w] = Uncovered{query.words[w].text, *kind, day.date, day.date};
                    }
                } else if (open[w]) {
                    result.uncovered.push_back(*open[w]);
                    open[w].reset();
                }
            }
            if (auto notes = matchDay(query, day)) {
                ++result.count;
                if (listDays) {
                    result.days.push_back(DayMatch{day.date, day.weekday, std::move(*notes)});
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
    return result;
}

} // namespace sorvane::daysearch
