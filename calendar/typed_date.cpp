#include "calendar/typed_date.h"

#include "calendar/japanese_era.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace sorvane {

namespace {

// The eras a date may be typed in, with the letters forms use for them (R9.4.30).
struct EraName {
    const char* name;
    char letter;
};
constexpr std::array<EraName, 5> kEraNames = {{
    {"明治", 'M'},
    {"大正", 'T'},
    {"昭和", 'S'},
    {"平成", 'H'},
    {"令和", 'R'},
}};

// The text with full-width digits, letters and separators made ASCII and every space (ASCII
// or U+3000) dropped; other characters are kept as they are. An invalid UTF-8 byte is kept
// too: it matches no form.
std::string normalized(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        std::size_t length = byte < 0x80 ? 1 : byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        if (i + length > text.size()) {
            length = 1;
        }
        std::uint32_t code = byte;
        if (length > 1) {
            code = byte & (0x3F >> (length - 1));
            for (std::size_t k = 1; k < length; ++k) {
                code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
            }
        }
        if (code == ' ' || code == '\t' || code == 0x3000) {
            // dropped
        } else if (code >= 0xFF01 && code <= 0xFF5E) {
            out += static_cast<char>(code - 0xFF01 + 0x21); // the full-width ASCII block
        } else if (code == 0x2212 || code == 0x2010 || code == 0x2011 || code == 0x2013) {
            out += '-'; // minus sign, hyphens, en dash
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
    }
    return out;
}

// Reads the ASCII digits at `at` (at most maxDigits; at least one): their value, or nullopt.
std::optional<int> digits(const std::string& s, std::size_t& at, std::size_t maxDigits) {
    std::size_t n = 0;
    int value = 0;
    while (at + n < s.size() && s[at + n] >= '0' && s[at + n] <= '9') {
        if (++n > maxDigits) {
            return std::nullopt;
        }
        value = value * 10 + (s[at + n - 1] - '0');
    }
    if (n == 0) {
        return std::nullopt;
    }
    at += n;
    return value;
}

bool takes(const std::string& s, std::size_t& at, std::string_view word) {
    if (s.compare(at, word.size(), word) == 0) {
        at += word.size();
        return true;
    }
    return false;
}

const char* const kForms =
    "2027-04-30、2027/4/30、2027年4月30日、令和9年4月30日 のように書いてください。";

TypedDate refused(TypedDate date, TypedDateProblem problem, std::string reason) {
    date.problem = problem;
    date.reason = std::move(reason);
    return date;
}

std::string eraDateText(const EraYear& era, int month, int day) {
    return eraYearText(era) + std::to_string(month) + "月" + std::to_string(day) + "日";
}

// The checks of the parts read: the month and day against the calendar, an era year against
// the era.
TypedDate checked(TypedDate date, const std::optional<EraYear>& era) {
    if (date.month && (*date.month < 1 || *date.month > 12)) {
        return refused(date, TypedDateProblem::NoSuchDay, "月は1〜12です。");
    }
    if (date.day) {
        const int days = daysInMonth(*date.year, *date.month);
        if (*date.day < 1 || *date.day > days) {
            return refused(date, TypedDateProblem::NoSuchDay,
                           std::to_string(*date.month) + "月は" + std::to_string(days) +
                               "日までです。");
        }
    }
    if (era) {
        // The era must hold the date written; a year or month alone, one of its days.
        const int firstMonth = date.month.value_or(1);
        const int lastMonth = date.month.value_or(12);
        const int firstDay = date.day.value_or(1);
        const int lastDay = date.day.value_or(daysInMonth(*date.year, lastMonth));
        const auto atFirst = eraYearOf(*date.year, firstMonth, firstDay);
        const auto atLast = eraYearOf(*date.year, lastMonth, lastDay);
        if (!atLast) {
            return refused(date, TypedDateProblem::BeforeGregorian,
                           "明治5年までの日付は旧暦の日付です（和暦で書ける日は明治6年1月1日"
                           "から）。");
        }
        if (atFirst != era && atLast != era) {
            std::string actual;
            if (date.day) {
                actual = eraDateText(*atLast, *date.month, *date.day);
            } else {
                actual = std::to_string(*date.year) + "年" +
                         (date.month ? std::to_string(*date.month) + "月" : std::string()) + "（" +
                         eraYearText(*atLast) + "）";
            }
            return refused(date, TypedDateProblem::OutsideEra,
                           eraYearText(*era) + "は" + era->era + "にありません：その日は" + actual +
                               "です。");
        }
    }
    date.problem = TypedDateProblem::None;
    return date;
}

} // namespace

TypedDate readTypedDate(std::string_view text) {
    const std::string s = normalized(text);
    TypedDate date;
    const TypedDate bad = refused(date, TypedDateProblem::NotADate, kForms);
    std::size_t at = 0;
    std::optional<EraYear> era;
    for (const EraName& e : kEraNames) {
        if (takes(s, at, e.name) ||
            (s.size() > 1 && (s[0] == e.letter || s[0] == e.letter + ('a' - 'A')) &&
             (std::isdigit(static_cast<unsigned char>(s[1])) != 0) &&
             takes(s, at, s.substr(0, 1)))) {
            era = EraYear{e.name, 0};
            break;
        }
    }
    if (era) {
        if (takes(s, at, "元")) {
            era->year = 1;
        } else if (const auto n = digits(s, at, 3); n && *n >= 1) {
            era->year = *n;
        } else {
            return bad;
        }
        date.year = *gregorianYearOf(*era);
    } else {
        const bool negative = takes(s, at, "-");
        const std::size_t start = at;
        const auto n = digits(s, at, 6);
        if (!n || at - start < 4) {
            return bad;
        }
        date.year = negative ? -*n : *n;
    }
    if (at == s.size()) {
        return checked(date, era);
    }
    if (takes(s, at, "年")) {
        if (at == s.size()) {
            return checked(date, era);
        }
        date.month = digits(s, at, 2);
        if (!date.month || !takes(s, at, "月")) {
            return bad;
        }
        if (at == s.size()) {
            return checked(date, era);
        }
        date.day = digits(s, at, 2);
        if (!date.day) {
            return bad;
        }
        takes(s, at, "日");
        return at == s.size() ? checked(date, era) : bad;
    }
    const char separator = s[at];
    if (separator != '-' && separator != '/' && separator != '.') {
        return bad;
    }
    ++at;
    date.month = digits(s, at, 2);
    if (!date.month) {
        return bad;
    }
    if (at == s.size()) {
        return checked(date, era);
    }
    if (s[at] != separator) {
        return bad;
    }
    ++at;
    date.day = digits(s, at, 2);
    if (!date.day || at != s.size()) {
        return bad;
    }
    return checked(date, era);
}

std::optional<CivilDate> typedDateOver(std::string_view text, const CivilDate& shown,
                                       std::string* reason) {
    const TypedDate typed = readTypedDate(text);
    if (typed.problem != TypedDateProblem::None) {
        if (reason != nullptr) {
            *reason = typed.reason;
        }
        return std::nullopt;
    }
    const int month = typed.month.value_or(shown.month);
    const int day = typed.day.value_or(std::min(shown.day, daysInMonth(*typed.year, month)));
    return CivilDate{*typed.year, month, day};
}

} // namespace sorvane
