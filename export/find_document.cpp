#include "export/find_document.h"

#include "daysearch/day_facts.h"
#include "export/icalendar.h"

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>

namespace sorvane::exports {

namespace {

// The query's words as one line, whatever spaces separated them.
std::string queryWords(const daysearch::Query& query) {
    std::string text;
    for (const daysearch::Word& word : query.words) {
        text += (text.empty() ? "" : " ") + word.text;
    }
    return text;
}

// A 64-bit FNV-1a hash of text, as 16 hexadecimal digits: the same query gives the same
// UIDs from run to run.
std::string textHash(const std::string& text) {
    constexpr std::uint64_t kOffsetBasis = 14695981039346656037ULL;
    constexpr std::uint64_t kPrime = 1099511628211ULL;
    std::uint64_t h = kOffsetBasis;
    for (const char c : text) {
        h = (h ^ static_cast<unsigned char>(c)) * kPrime;
    }
    char buf[24];
    std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(h));
    return buf;
}

std::string joined(const std::vector<std::string>& notes, const char* separator) {
    std::string text;
    for (const std::string& note : notes) {
        text += (text.empty() ? "" : separator) + note;
    }
    return text;
}

// A JSON value as dump(2) writes it, each line after the first indented by `indent` more.
std::string indented(const nlohmann::ordered_json& value, const std::string& indent) {
    std::string text = value.dump(2);
    for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
        text.insert(at + 1, indent);
    }
    return text;
}

} // namespace

std::string findReportLine(const daysearch::DayMatch& day) {
    std::string out = isoDateText(day.date) + "\t" + day.weekday;
    for (const std::string& note : day.notes) {
        out += "\t" + note;
    }
    if (day.notes.empty()) {
        out += "\t-";
    }
    return out + "\n";
}

std::string findReport(const daysearch::SearchResult& result) {
    std::string out;
    for (const daysearch::DayMatch& day : result.days) {
        out += findReportLine(day);
    }
    return out;
}

FindJsonWriter::FindJsonWriter(const daysearch::Query& query, const CivilDate& from,
                               const CivilDate& to, TextSink out)
    : out_(std::move(out)) {
    out_("{\n  \"query\": " + nlohmann::json(queryWords(query)).dump() + ",\n  \"from\": \"" +
         isoDateText(from) + "\",\n  \"to\": \"" + isoDateText(to) + "\",\n  \"days\": [");
}

void FindJsonWriter::day(const daysearch::DayMatch& day) {
    nlohmann::ordered_json d;
    d["date"] = isoDateText(day.date);
    d["weekday"] = day.weekday;
    d["notes"] = day.notes;
    out_((days_ == 0 ? "\n    " : ",\n    ") + indented(d, "    "));
    ++days_;
}

void FindJsonWriter::finish(const daysearch::SearchResult& result) {
    nlohmann::ordered_json uncovered = nlohmann::ordered_json::array();
    for (const daysearch::Uncovered& u : result.uncovered) {
        nlohmann::ordered_json d;
        d["word"] = u.word;
        d["kind"] = daysearch::kindLabel(u.kind);
        d["from"] = isoDateText(u.first);
        d["to"] = isoDateText(u.last);
        d["reach"] = daysearch::kindReach(u.kind);
        if (u.weekends) {
            d["weekends"] = true;
        }
        uncovered.push_back(std::move(d));
    }
    out_(std::string(days_ == 0 ? "]" : "\n  ]") +
         ",\n  \"count\": " + std::to_string(result.count) +
         ",\n  \"uncovered\": " + indented(uncovered, "  ") + "\n}\n");
}

std::string findJson(const daysearch::Query& query, const CivilDate& from, const CivilDate& to,
                     const daysearch::SearchResult& result) {
    std::string text;
    FindJsonWriter writer(query, from, to, [&](std::string_view piece) { text += piece; });
    for (const daysearch::DayMatch& day : result.days) {
        writer.day(day);
    }
    writer.finish(result);
    return text;
}

FindCalendarWriter::FindCalendarWriter(const daysearch::Query& query, std::time_t dtstamp,
                                       TextSink out)
    : words_(queryWords(query)), name_(daysearch::queryInWords(query)),
      pieces_(name_, "sorvane-find-" + textHash(words_) + "-", dtstamp), out_(std::move(out)) {}

void FindCalendarWriter::day(const daysearch::DayMatch& day) {
    char id[16];
    std::snprintf(id, sizeof id, "%04d%02d%02d", day.date.year, day.date.month, day.date.day);
    const std::string event = pieces_.event(
        AllDayEvent{id, "候補日：" + (day.notes.empty() ? words_ : joined(day.notes, "・")),
                    "日を探す", day.date, "日を探す：" + name_});
    out_(days_ == 0 ? pieces_.header() + event : event);
    ++days_;
}

bool FindCalendarWriter::finish() {
    if (days_ == 0) {
        return false;
    }
    out_(AllDayCalendarPieces::footer());
    return true;
}

std::vector<std::string> uncoveredLines(const daysearch::SearchResult& result) {
    // One line per kind and stretch, naming every word it stops.
    std::vector<std::string> lines;
    const auto& stretches = result.uncovered;
    std::vector<bool> done(stretches.size(), false);
    for (std::size_t i = 0; i < stretches.size(); ++i) {
        if (done[i]) {
            continue;
        }
        const daysearch::Uncovered& u = stretches[i];
        std::string words;
        for (std::size_t j = i; j < stretches.size(); ++j) {
            const daysearch::Uncovered& v = stretches[j];
            if (!done[j] && v.kind == u.kind && v.first == u.first && v.last == u.last &&
                v.weekends == u.weekends) {
                words += (words.empty() ? "" : ", ") + v.word;
                done[j] = true;
            }
        }
        const std::string reach = daysearch::kindReach(u.kind);
        lines.push_back(words + " (" + daysearch::kindLabel(u.kind) +
                        (reach.empty() ? ", not computed there" : ", known " + reach) +
                        "): not known from " + isoDateText(u.first) + " to " + isoDateText(u.last) +
                        (u.weekends ? ", where only a Saturday or a Sunday matches through 休日"
                                    : ", where no day matches through it"));
    }
    return lines;
}

} // namespace sorvane::exports
