#include "daysearch/query.h"

#include "almanac/event.h"
#include "almanac/year_almanac.h"
#include "calendar/civil_date.h"
#include "calendar/names.h"
#include "calendar/quoted_text.h"
#include "lunisolar/lunisolar_calendar.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"
#include "zassetsu/zassetsu.h"

#include <algorithm>

namespace sorvane::daysearch {

namespace {

// The separators a query may write in either width.
// Every space of Unicode (its category Zs: the no-break space a page or a word processor
// pastes, the ideographic space, the fixed-width spaces U+2000..U+200A, ...) and a tab or a
// line break (pasted from a list) separate words as the ASCII space does.
constexpr std::string_view kSpaces[] = {" ",      "\u00A0", "\u1680", "\u2000", "\u2001", "\u2002",
                                        "\u2003", "\u2004", "\u2005", "\u2006", "\u2007", "\u2008",
                                        "\u2009", "\u200A", "\u202F", "\u205F", "\u3000", "\t",
                                        "\n",     "\r",     "\v",     "\f"};
constexpr std::string_view kBars[] = {"|", "\uFF5C"};
constexpr std::string_view kMinus[] = {"-", "\uFF0D", "\u2212"};
constexpr std::string_view kColons[] = {":", "\uFF1A"};

// The length of the separator of the set at text[i], or 0.
template <std::size_t N>
std::size_t separatorAt(std::string_view text, std::size_t i, const std::string_view (&set)[N]) {
    for (std::string_view s : set) {
        if (text[i] == s.front() && text.substr(i, s.size()) == s) {
            return s.size();
        }
    }
    return 0;
}

// text cut at every separator of the set; empty pieces kept.
template <std::size_t N>
std::vector<std::string> split(std::string_view text, const std::string_view (&set)[N]) {
    std::vector<std::string> pieces(1);
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = separatorAt(text, i, set); n > 0) {
            pieces.emplace_back();
            i += n;
        } else {
            pieces.back() += text[i++];
        }
    }
    return pieces;
}

// A whole number in ASCII or full-width digits, or -1.
int digitsValue(std::string_view text) {
    if (text.empty()) {
        return -1;
    }
    int value = 0;
    int digits = 0;
    for (std::size_t i = 0; i < text.size();) {
        int d = -1;
        if (text[i] >= '0' && text[i] <= '9') {
            d = text[i] - '0';
            i += 1;
        } else if (text.substr(i, 2) == "\xEF\xBC" && i + 2 < text.size() &&
                   static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
                   static_cast<unsigned char>(text[i + 2]) <= 0x99) {
            d = static_cast<unsigned char>(text[i + 2]) - 0x90; // U+FF10..U+FF19
            i += 3;
        } else {
            return -1;
        }
        value = value * 10 + d;
        if (++digits > 2) {
            return -1;
        }
    }
    return value;
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// Adds a term to the word unless the word has it already; written is the name as the query
// wrote it.
void addTerm(Word& word, const std::string& written, Term term) {
    if (std::find(word.terms.begin(), word.terms.end(), term) == word.terms.end()) {
        word.terms.push_back(std::move(term));
        word.written.push_back(written);
    }
}

// Whether two words name the same terms, in any order.
bool sameTerms(const Word& a, const Word& b) {
    if (a.terms.size() != b.terms.size()) {
        return false;
    }
    return std::all_of(a.terms.begin(), a.terms.end(), [&](const Term& t) {
        return std::find(b.terms.begin(), b.terms.end(), t) != b.terms.end();
    });
}

} // namespace

std::string Term::shownAs(const std::string& shown) const {
    return qualified ? std::string(kindLabel(kind)) + ":" + shown : shown;
}

std::string queryInWords(const Query& query) {
    const auto named = [](const Term& term) {
        const std::string name = term.kind == Kind::Weekday ? term.name + "曜" : term.name;
        return term.qualified ? std::string(kindLabel(term.kind)) + "の" + name : name;
    };
    std::string wanted;
    std::string left;
    for (const Word& word : query.words) {
        std::string text;
        for (const Term& term : word.terms) {
            if (word.negated) {
                left += (left.empty() ? "" : "・") + named(term);
            } else {
                text += (text.empty() ? "" : "か") + named(term);
            }
        }
        if (!text.empty()) {
            wanted += (wanted.empty() ? "" : "、") + text;
        }
    }
    if (wanted.empty()) {
        return left + "を除く日";
    }
    return left.empty() ? wanted + "の日" : wanted + "（" + left + "を除く）の日";
}

const char* kindLabel(Kind kind) {
    switch (kind) {
    case Kind::Rokuyo:
        return "六曜";
    case Kind::Senjitsu:
        return "選日";
    case Kind::Weekday:
        return "曜日";
    case Kind::Rest:
        return "休日";
    case Kind::Choku:
        return "十二直";
    case Kind::Shuku:
        return "二十八宿";
    case Kind::Kyusei:
        return "九星";
    case Kind::SolarTerm:
        return "二十四節気";
    case Kind::Zassetsu:
        return "雑節";
    case Kind::Lunisolar:
        return "旧暦";
    case Kind::Shio:
        return "潮名";
    }
    return "";
}

std::string lunisolarPattern(std::string_view text) {
    if (!startsWith(text, "旧")) {
        return "";
    }
    std::string_view rest = text.substr(std::string_view("旧").size());
    auto dayOf = [](std::string_view number) {
        const int day = digitsValue(number);
        return day >= 1 && day <= 30 ? std::to_string(day) + "日" : std::string();
    };
    if (!endsWith(rest, "日") && !endsWith(rest, "月")) {
        return "";
    }
    if (endsWith(rest, "日")) {
        const std::string_view number = rest.substr(0, rest.size() - std::string_view("日").size());
        const std::size_t monthEnd = number.find("月");
        if (monthEnd == std::string_view::npos) {
            const std::string day = dayOf(number);
            return day.empty() ? "" : "旧" + day;
        }
        // 旧N月N日: the month's pattern followed by the day's.
        const std::string month =
            lunisolarPattern("旧" + std::string(number.substr(0, monthEnd)) + "月");
        const std::string day = dayOf(number.substr(monthEnd + std::string_view("月").size()));
        return month.empty() || day.empty() ? "" : month + day;
    }
    std::string_view number = rest.substr(0, rest.size() - std::string_view("月").size());
    const bool leap = startsWith(number, "閏");
    if (leap) {
        number.remove_prefix(std::string_view("閏").size());
    }
    const int month = digitsValue(number);
    if (month >= 1 && month <= 12) {
        return std::string("旧") + (leap ? "閏" : "") + std::to_string(month) + "月";
    }
    return "";
}

namespace {

// The characters (code points) of UTF-8 text.
std::vector<std::string_view> characters(std::string_view text) {
    std::vector<std::string_view> out;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) {
            ++n;
        }
        out.push_back(text.substr(i, n));
        i += n;
    }
    return out;
}

// The edit distance of two texts in characters.
std::size_t editDistance(std::string_view a, std::string_view b) {
    const auto x = characters(a);
    const auto y = characters(b);
    std::vector<std::size_t> row(y.size() + 1);
    for (std::size_t j = 0; j <= y.size(); ++j) {
        row[j] = j;
    }
    for (std::size_t i = 1; i <= x.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= y.size(); ++j) {
            const std::size_t above = row[j];
            row[j] =
                std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[y.size()];
}

} // namespace

Vocabulary::Vocabulary() : names_(kKindCount) {
    for (int i = 0; i < 6; ++i) {
        add(Kind::Rokuyo, lunisolar::rokuyoName(lunisolar::rokuyoInListOrder(i)));
    }
    for (int w = 1; w <= 7; ++w) {
        add(Kind::Weekday, weekdayNames[static_cast<std::size_t>(w)]);
    }
    add(Kind::Rest, kHolidayWord);
    add(Kind::Rest, kRestWord);
    for (int m = 1; m <= 12; ++m) {
        for (int row = 0; row < 2; ++row) {
            add(Kind::SolarTerm,
                almanac::plainName(
                    solarTermNames[static_cast<std::size_t>(m)][static_cast<std::size_t>(row)]));
        }
        if (m % 3 == 1) {
            almanac::Event entry;
            entry.kind = EventKind::Doyo;
            entry.name = almanac::plainName(solarTermNames[0][0]);
            entry.month = m;
            add(Kind::SolarTerm, almanac::eventTitle(entry));
        }
    }
    for (const std::string& name : zassetsu::names()) {
        add(Kind::Zassetsu, name);
    }
    for (int i = 0; i < notes::kSenjitsuCount; ++i) {
        add(Kind::Senjitsu, notes::senjitsuName(static_cast<notes::Senjitsu>(i)));
    }
    // The 下段 answer with the 選日 (大安 母倉日): both are notes of the day's 干支 and 節月.
    for (int i = 0; i < notes::kGedanCount; ++i) {
        add(Kind::Senjitsu, notes::gedanName(static_cast<notes::Gedan>(i)));
    }
    for (int i = 0; i < notes::kShioCount; ++i) {
        add(Kind::Shio, notes::shioName(static_cast<notes::Shio>(i)));
    }
    // The forms the page prints and people type, once every name is known (a form that is
    // itself a name keeps that meaning).
    for (int i = 0; i < notes::kSenjitsuCount; ++i) {
        const auto s = static_cast<notes::Senjitsu>(i);
        if (const char* mark = notes::senjitsuMark(s); mark != nullptr && *mark != '\0') {
            addAlias(mark, notes::senjitsuName(s));
        }
    }
    for (int i = 0; i < notes::kGedanCount; ++i) {
        const auto g = static_cast<notes::Gedan>(i);
        addAlias(notes::gedanMark(g), notes::gedanName(g));
    }
    for (int w = 1; w <= 7; ++w) {
        const std::string& name = weekdayNames[static_cast<std::size_t>(w)];
        addAlias(name + "曜", name);
        addAlias(name + "曜日", name);
    }
    for (int i = 0; i < 12; ++i) {
        add(Kind::Choku, notes::chokuName(i));
    }
    for (int i = 0; i < 28; ++i) {
        add(Kind::Shuku, notes::shukuName(i));
    }
    for (int star = 1; star <= 9; ++star) {
        add(Kind::Kyusei, notes::kyuseiName(star));
    }
    for (int star = 1; star <= 9; ++star) {
        add(Kind::Kyusei, notes::kyuseiShortName(star), false);
    }
    for (auto special : {lunisolar::SpecialDay::KyuShogatsu, lunisolar::SpecialDay::Tanabata,
                         lunisolar::SpecialDay::Jugoya, lunisolar::SpecialDay::Jusanya}) {
        add(Kind::Lunisolar, lunisolar::specialDayName(special));
    }
    // The longest text nearest() compares a word with: a name written with its kind.
    for (const auto& [known, kinds] : kinds_) {
        for (Kind kind : kinds) {
            longestName_ = std::max(longestName_,
                                    characters(std::string(kindLabel(kind)) + ":" + known).size());
        }
    }
    for (const auto& [alias, meant] : aliases_) {
        longestName_ = std::max(longestName_, characters(alias).size());
    }
}

void Vocabulary::add(Kind kind, const std::string& name, bool listed) {
    std::vector<Kind>& kinds = kinds_[name];
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) {
        kinds.push_back(kind);
        if (listed) {
            names_[static_cast<std::size_t>(kind)].push_back(name);
        }
    }
}

void Vocabulary::addAlias(const std::string& alias, const std::string& name) {
    if (alias != name && !kinds_.contains(alias)) {
        aliases_.emplace(alias, name);
    }
}

std::string Vocabulary::canonical(std::string_view name) const {
    if (const auto it = aliases_.find(name); it != aliases_.end()) {
        return it->second;
    }
    if (const std::string pattern = lunisolarPattern(name); !pattern.empty()) {
        return pattern;
    }
    return std::string(name);
}

std::string Vocabulary::nearest(std::string_view name) const {
    // Near: at most a third of the word's characters differ (so none for a word of two). Two
    // texts are at least their difference in length apart, so a word of 3 (L + 1) characters
    // or more (L: the longest name compared) is near none: counting stops there, and a pasted
    // megabyte costs no more than a long word.
    const std::size_t limit = 3 * (longestName_ + 1);
    std::size_t length = 0;
    for (std::size_t i = 0; i < name.size() && length < limit; ++i) {
        length += (static_cast<unsigned char>(name[i]) & 0xC0) != 0x80 ? 1 : 0;
    }
    if (length >= limit) {
        return "";
    }
    std::size_t best = length / 3 + 1;
    std::string found;
    auto consider = [&](const std::string& known, const std::string& meant) {
        if (const std::size_t d = editDistance(name, known); d < best) {
            best = d;
            found = meant;
        }
    };
    for (const auto& [known, kinds] : kinds_) {
        if (kinds.size() == 1) {
            consider(known, known);
        }
        // A name of two kinds must be written with its kind.
        for (Kind kind : kinds) {
            const std::string qualified = std::string(kindLabel(kind)) + ":" + known;
            consider(qualified, kinds.size() > 1 ? qualified : known);
        }
    }
    for (const auto& [alias, meant] : aliases_) {
        consider(alias, meant);
    }
    return found;
}

std::vector<Kind> Vocabulary::kindsOf(std::string_view name) const {
    if (const auto it = aliases_.find(name); it != aliases_.end()) {
        return kindsOf(it->second);
    }
    if (const auto it = kinds_.find(name); it != kinds_.end()) {
        return it->second;
    }
    if (!lunisolarPattern(name).empty()) {
        return {Kind::Lunisolar};
    }
    return {};
}

const std::vector<std::string>& Vocabulary::names(Kind kind) const {
    return names_.at(static_cast<std::size_t>(kind));
}

Query parseQuery(std::string_view text, const Vocabulary& vocabulary) {
    Query query;
    query.text = std::string(text);
    for (const std::string& piece : split(text, kSpaces)) {
        if (piece.empty()) {
            continue;
        }
        Word word;
        word.text = piece;
        std::string_view body = piece;
        if (const std::size_t n = separatorAt(body, 0, kMinus); n > 0) {
            word.negated = true;
            body.remove_prefix(n);
        }
        if (body.empty()) {
            throw QueryError(quotedText(piece) + " names nothing after its '-'", piece);
        }
        for (const std::string& name : split(body, kBars)) {
            if (name.empty()) {
                throw QueryError(quotedText(piece) + " has an empty name beside a '|'", piece);
            }
            const std::vector<std::string> parts = split(name, kColons);
            if (parts.size() > 2) {
                throw QueryError(quotedText(name) + " has more than one ':'", name);
            }
            if (parts.size() == 2) {
                Kind kind{};
                bool found = false;
                for (int k = 0; k < kKindCount; ++k) {
                    if (parts[0] == kindLabel(static_cast<Kind>(k))) {
                        kind = static_cast<Kind>(k);
                        found = true;
                    }
                }
                if (!found) {
                    throw QueryError(quotedText(name) + ": " + quotedText(parts[0]) +
                                         " is not a kind of name",
                                     name);
                }
                const auto kinds = vocabulary.kindsOf(parts[1]);
                if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) {
                    throw QueryError(quotedText(name) + ": no " + kindLabel(kind) + " is named " +
                                         quotedText(parts[1]),
                                     name, {}, {}, QueryProblem::UnknownName);
                }
                addTerm(word, name, Term{kind, vocabulary.canonical(parts[1]), kinds.size() > 1});
                continue;
            }
            const auto kinds = vocabulary.kindsOf(name);
            if (kinds.empty()) {
                const std::string near = vocabulary.nearest(name);
                throw QueryError("unknown word " + quotedText(name) +
                                     (near.empty() ? "" : " (did you mean " + near + "?)"),
                                 name, {}, near, QueryProblem::UnknownName);
            }
            if (kinds.size() > 1) {
                std::vector<std::string> forms;
                std::string list;
                for (Kind k : kinds) {
                    forms.push_back(std::string(kindLabel(k)) + ":" + name);
                    list += (list.empty() ? "" : " or ") + forms.back();
                }
                throw QueryError(quotedText(name) + " is ambiguous: write " + list, name,
                                 std::move(forms), {}, QueryProblem::TwoKinds);
            }
            addTerm(word, name, Term{kinds.front(), vocabulary.canonical(name)});
        }
        if (word.written.size() < split(body, kBars).size()) {
            word.text = (word.negated ? "-" : "");
            for (std::size_t i = 0; i < word.written.size(); ++i) {
                word.text += (i == 0 ? "" : "|") + word.written[i];
            }
        }
        const bool repeated =
            std::any_of(query.words.begin(), query.words.end(), [&](const Word& earlier) {
                return earlier.negated == word.negated && sameTerms(earlier, word);
            });
        if (!repeated) {
            query.words.push_back(std::move(word));
        }
    }
    if (query.words.empty()) {
        throw QueryError("the query is empty", "", {}, {}, QueryProblem::Empty);
    }
    return query;
}

} // namespace sorvane::daysearch
