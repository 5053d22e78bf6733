// The escaping of input a message quotes. The well-formed byte sequences are those of the
// Unicode Standard's table 3-7 ("Well-Formed UTF-8 Byte Sequences", chapter 3.9); the
// malformed ones are cases of Markus Kuhn's UTF-8 decoder stress test
// (https://www.cl.cam.ac.uk/~mgk25/ucs/examples/UTF-8-test.txt, sections 3 to 5); the
// bidirectional formatting characters are those of Unicode's bidi algorithm (UAX #9,
// table 4: LRE RLE PDF LRO RLO, LRI RLI FSI PDI, LRM RLM ALM).
#include "calendar/quoted_text.h"
#include "calendar/year_text.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using namespace sorvane;

TEST(QuotedText, EscapesWhatWouldBreakOrTurnTheLine) {
    const struct {
        const char* name;
        std::string text;
        std::string shown;
    } cases[] = {
        // Kept: ASCII, each length of well-formed UTF-8 at the table's edges.
        {"ascii", "2027-04-30", "2027-04-30"},
        {"two bytes, U+00A0 and U+07FF", "\xC2\xA0\xDF\xBF", "\xC2\xA0\xDF\xBF"},
        {"three bytes, U+0800, U+D7FF, U+E000", "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80",
         "\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80"},
        {"Japanese", "大安　仏滅", "大安　仏滅"},
        {"four bytes, U+10000 and U+10FFFF", "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF",
         "\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        // Controls.
        {"line break, tab, return", "a\nb\tc\rd", "a\\nb\\tc\\rd"},
        {"escape and DEL", "\x1B[31m\x7F", "\\x1B[31m\\x7F"},
        {"C1 CSI U+009B",
         "a\xC2\x9B"
         "1m",
         "a\\xC2\\x9B1m"},
        // Bidirectional formatting, line and paragraph separators.
        {"RLO U+202E",
         "abc\xE2\x80\xAE"
         "def",
         "abc\\u202Edef"},
        {"LRE .. RLO", "\xE2\x80\xAA\xE2\x80\xAB\xE2\x80\xAC\xE2\x80\xAD",
         "\\u202A\\u202B\\u202C\\u202D"},
        {"LRI RLI FSI PDI", "\xE2\x81\xA6\xE2\x81\xA7\xE2\x81\xA8\xE2\x81\xA9",
         "\\u2066\\u2067\\u2068\\u2069"},
        {"LRM RLM ALM", "\xE2\x80\x8E\xE2\x80\x8F\xD8\x9C", "\\u200E\\u200F\\u061C"},
        {"LS PS", "\xE2\x80\xA8\xE2\x80\xA9", "\\u2028\\u2029"},
        // Malformed UTF-8, each byte on its own.
        {"stray continuation", "\x80x", "\\x80x"},
        {"overlong '/' in two bytes", "\xC0\xAF", "\\xC0\\xAF"},
        {"overlong '/' in three bytes", "\xE0\x80\xAF", "\\xE0\\x80\\xAF"},
        {"overlong '/' in four bytes", "\xF0\x80\x80\xAF", "\\xF0\\x80\\x80\\xAF"},
        {"overlong U+07FF", "\xE0\x9F\xBF", "\\xE0\\x9F\\xBF"},
        {"surrogate U+D800", "\xED\xA0\x80", "\\xED\\xA0\\x80"},
        {"surrogate pair", "\xED\xA0\x80\xED\xB0\x80", "\\xED\\xA0\\x80\\xED\\xB0\\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80", "\\xF4\\x90\\x80\\x80"},
        {"F5 and FF", "\xF5\xFF", "\\xF5\\xFF"},
        {"a cut sequence", "\xE5\xA4", "\\xE5\\xA4"},
        {"a cut sequence before ASCII", "\xE5\xA4x", "\\xE5\\xA4x"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(printableText(c.text), c.shown) << c.name;
    }
}

TEST(QuotedText, QuotesCutAfterFortyCharacters) {
    const struct {
        std::string text;
        std::string quoted;
    } cases[] = {
        {"abc", "\"abc\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {std::string(40, 'x'), "\"" + std::string(40, 'x') + "\""},
        {std::string(41, 'x'), "\"" + std::string(40, 'x') + "...\""},
        // Characters, not bytes: 41 kanji cut after the 40th whole one.
        {[] {
             std::string s;
             for (int i = 0; i < 41; ++i) {
                 s += "暦";
             }
             return s;
         }(),
         [] {
             std::string s = "\"";
             for (int i = 0; i < 40; ++i) {
                 s += "暦";
             }
             return s + "...\"";
         }()},
        // An escaped character counts once.
        {std::string(39, 'x') + "\xE2\x80\xAE"
                                "y",
         "\"" + std::string(39, 'x') + "\\u202E...\""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(quotedText(c.text), c.quoted) << c.text;
    }
}

// The year a message quotes is escaped as well.
TEST(QuotedText, YearTextQuotesEscaped) {
    try {
        parseYearText("20\xE2\x80\xAE"
                      "26");
        ADD_FAILURE() << "accepted";
    } catch (const YearTextError& e) {
        EXPECT_EQ(std::string(e.what()), "year \"20\\u202E26\" is not a whole number");
    }
}

} // namespace
