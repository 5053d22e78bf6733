// The query of the day search: words that must all hold, each one name or several joined
// by '|' (any of them), a leading '-' negating it.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sorvane::daysearch {

// What a name of the query speaks of.
enum class Kind {
    Rokuyo,    // 六曜: 大安 .. 仏滅
    Senjitsu,  // 選日: 一粒万倍日, 天赦日, 寅の日 ..
    Weekday,   // 曜日: 日 .. 土
    Rest,      // 休日: the words 祝日 (any national holiday) and 休日 (土, 日 or 祝日)
    Choku,     // 十二直: 建 .. 閉
    Shuku,     // 二十八宿: 角 .. 軫
    Kyusei,    // 日家九星: 一白水星 .. 九紫火星
    SolarTerm, // 二十四節気 and the 土用 entries: 立春, 夏の土用入り ..
    Zassetsu,  // 雑節: 節分, 八十八夜, 夏の土用 (each of its days), 一の丑 ..
    Lunisolar, // 旧暦: 旧1月, 旧閏6月, 旧15日, 旧正月, 十五夜 ..
    Shio,      // 潮名: 大潮 .. 若潮, by the lunisolar day
};
inline constexpr int kKindCount = 11;

// The two words of Kind::Rest.
inline constexpr const char* kHolidayWord = "祝日";
inline constexpr const char* kRestWord = "休日";

// The kind's name as a qualified word writes it ("十二直" in 十二直:危).
const char* kindLabel(Kind kind);

// One name of one kind. A name of more than one kind (危) is qualified: listings show it
// with its kind (十二直:危), as the query must write it.
struct Term {
    Kind kind = Kind::Rokuyo;
    std::string name;
    bool qualified = false;
    bool operator==(const Term&) const = default;
    // The name as a listing shows a match through this term (shown: the day's text for it).
    std::string shownAs(const std::string& shown) const;
};

// A word of the query: any of its terms holds (negated: none does).
struct Word {
    std::string text; // as written, with its '-'
    bool negated = false;
    std::vector<Term> terms;
    std::vector<std::string> written; // each term's name as the query wrote it
};

struct Query {
    std::string text;
    std::vector<Word> words;
};

// A query that cannot be read. word() is the word at fault as written; for a name of more
// than one kind, qualifiedForms() lists the ways to write it (十二直:危, 二十八宿:危).
// What is wrong with a query, for a front end's own message.
enum class QueryProblem {
    Unreadable,  // a word not written as a word ("-" alone, "a||b", "a:b:c", "種類:name")
    Empty,       // no word at all
    UnknownName, // a name no kind has (or not the kind written before its ':')
    TwoKinds,    // a name of two kinds, written without its kind
};

class QueryError : public std::runtime_error {
  public:
    QueryError(const std::string& message, std::string word,
               std::vector<std::string> qualifiedForms = {}, std::string suggestion = {},
               QueryProblem problem = QueryProblem::Unreadable)
        : std::runtime_error(message), word_(std::move(word)),
          qualifiedForms_(std::move(qualifiedForms)), suggestion_(std::move(suggestion)),
          problem_(problem) {}
    QueryProblem problem() const { return problem_; }
    const std::string& word() const { return word_; }
    const std::vector<std::string>& qualifiedForms() const { return qualifiedForms_; }
    // For an unknown name, the known name nearest to it ("" when none is near).
    const std::string& suggestion() const { return suggestion_; }

  private:
    std::string word_;
    std::vector<std::string> qualifiedForms_;
    std::string suggestion_;
    QueryProblem problem_;
};

// The names a query may use, each with the kinds it belongs to. The names are taken from
// where the program defines them: the weekday and term tables, the 六曜 and lunisolar days,
// the 雑節 rules, the day notes. 旧N月, 旧閏N月 and 旧N日 are read as patterns.
class Vocabulary {
  public:
    Vocabulary();

    // The kinds of a plain name; empty when unknown.
    std::vector<Kind> kindsOf(std::string_view name) const;
    // The name a query means by a form the program also prints or people type: a cell's
    // mark (一粒万倍 for 一粒万倍日, 寅 for 寅の日), 土曜 and 土曜日 for 土, 旧3月15日 with
    // full-width digits. Any other name is given back as it is.
    std::string canonical(std::string_view name) const;
    // The known name nearest to an unknown one (a few characters apart), "" when none is.
    std::string nearest(std::string_view name) const;
    // Every name of a kind, in the program's order (for lists in a window); the short
    // forms a query may also use (一白 for 一白水星) are left out.
    const std::vector<std::string>& names(Kind kind) const;

  private:
    void add(Kind kind, const std::string& name, bool listed = true);
    void addAlias(const std::string& alias, const std::string& name);
    std::map<std::string, std::vector<Kind>, std::less<>> kinds_;
    std::map<std::string, std::string, std::less<>> aliases_; // alias -> name
    std::vector<std::vector<std::string>> names_;
    std::size_t longestName_ = 0; // characters of the longest name nearest() compares
};

// Reads a query: words separated by spaces (ASCII, the full-width U+3000, the no-break
// U+00A0 and every other space of Unicode's category Zs), tabs or line breaks, each a name, a
// qualified name (KIND:NAME, the colon ASCII or full-width) or several joined by '|', with an
// optional leading '-' (or '−'). A name given twice in a word counts once, and a word that repeats
// an earlier one (the same names, negated or not alike) is dropped; a word that lost names is
// written again from those it keeps. Throws QueryError for an empty query or word, an unknown name,
// or a name of two kinds written without its kind; its message quotes the word as quotedText does
// (escaped, cut to 40 characters).
Query parseQuery(std::string_view text, const Vocabulary& vocabulary);

// The days a query asks for, in words a calendar's name can carry: the words that must hold
// joined by 「、」, the names of a word by 「か」, the negated names after them as 「を除く」:
// 大安 -三隣亡 → 「大安（三隣亡を除く）の日」, 大安|友引 土曜 → 「大安か友引、土曜の日」,
// -仏滅 → 「仏滅を除く日」. A weekday reads 土曜, a qualified name 十二直の危.
std::string queryInWords(const Query& query);

// The lunisolar patterns: 旧N月 (N 1..12), 旧閏N月, 旧N日 (N 1..30) and the dates 旧N月N日,
// 旧閏N月N日, digits ASCII or full-width. Returns the term's name in its canonical form (ASCII
// digits), or "" when text is none of them.
std::string lunisolarPattern(std::string_view text);

} // namespace sorvane::daysearch
