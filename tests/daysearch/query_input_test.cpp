// The day search's query against hostile or pasted input: every space of Unicode's category
// Zs (the Unicode Character Database, PropList/UnicodeData: U+0020, U+00A0, U+1680,
// U+2000..U+200A, U+202F, U+205F, U+3000) separates words; a word a message quotes is
// escaped; a word of megabytes is refused as fast as a short one.
#include "calendar/quoted_text.h"
#include "daysearch/query.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>

namespace {

using namespace sorvane;

TEST(QueryInput, EveryUnicodeSpaceSeparatesWords) {
    const char* spaces[] = {
        " ",
        "\xC2\xA0",
        "\xE1\x9A\x80",
        "\xE2\x80\x80",
        "\xE2\x80\x81",
        "\xE2\x80\x82",
        "\xE2\x80\x83",
        "\xE2\x80\x84",
        "\xE2\x80\x85",
        "\xE2\x80\x86",
        "\xE2\x80\x87",
        "\xE2\x80\x88",
        "\xE2\x80\x89",
        "\xE2\x80\x8A",
        "\xE2\x80\xAF",
        "\xE2\x81\x9F",
        "\xE3\x80\x80",
    };
    const daysearch::Vocabulary vocabulary;
    for (const char* space : spaces) {
        SCOPED_TRACE(printableText(space) + " U+" + std::to_string(space[0]));
        const std::string query = std::string("大安") + space + "土" + space + space;
        try {
            const daysearch::Query q = daysearch::parseQuery(query, vocabulary);
            ASSERT_EQ(q.words.size(), 2u);
            EXPECT_EQ(q.words[0].text, "大安");
            EXPECT_EQ(q.words[1].text, "土");
        } catch (const daysearch::QueryError& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST(QueryInput, MessagesQuoteTheWordEscaped) {
    const struct {
        const char* name;
        std::string query;
        std::string quoted; // the word as the message must show it
    } cases[] = {
        {"right-to-left override",
         "大安 abc\xE2\x80\xAE"
         "def",
         "\"abc\\u202Edef\""},
        {"isolate",
         "\xE2\x81\xA7"
         "x",
         "\"\\u2067x\""},
        {"overlong bytes", "\xC0\xAF\xE0\x80\xAF", "\"\\xC0\\xAF\\xE0\\x80\\xAF\""},
        {"surrogate", "\xED\xA0\x80", "\"\\xED\\xA0\\x80\""},
        {"escape sequence", "\x1B[2J", "\"\\x1B[2J\""},
        {"quote and backslash", "a\"b\\", "\"a\\\"b\\\\\""},
        {"a kind's name", "十二\xE2\x80\xAE:危", "\"十二\\u202E\" is not a kind of name"},
    };
    const daysearch::Vocabulary vocabulary;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            daysearch::parseQuery(c.query, vocabulary);
            ADD_FAILURE() << "accepted";
        } catch (const daysearch::QueryError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find(c.quoted), std::string::npos) << message;
            // Nothing the message holds needs escaping again.
            EXPECT_EQ(printableText(message), message);
        }
    }
}

// A pasted word of two megabytes: refused at once with the usual message, the word cut.
TEST(QueryInput, AHugeUnknownWordIsRefusedAtOnce) {
    const daysearch::Vocabulary vocabulary;
    const struct {
        const char* name;
        std::string word;
    } cases[] = {
        {"ASCII", std::string(2 << 20, 'x')},
        {"a known name and more", "大安" + std::string(2 << 20, 'y')},
        {"kanji",
         [] {
             std::string s;
             for (int i = 0; i < (1 << 19); ++i) {
                 s += "暦";
             }
             return s;
         }()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(vocabulary.nearest(c.word), "");
        try {
            daysearch::parseQuery(c.word, vocabulary);
            ADD_FAILURE() << "accepted";
        } catch (const daysearch::QueryError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("unknown word \"", 0), 0u) << message.substr(0, 80);
            EXPECT_LT(message.size(), 200u);
            EXPECT_EQ(e.suggestion(), "");
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Two passes over the word; before, every name's comparison was quadratic in it.
        EXPECT_LT(seconds, 2.0);
    }
    // A near word of ordinary length still gets its suggestion.
    EXPECT_EQ(vocabulary.nearest("一粒万培"), "一粒万倍日");
}

} // namespace

// The query as a found-days calendar is named: the words that must hold, then those left out.
// And the 六曜 as lists give them, 先勝・友引・先負・仏滅・大安・赤口 (the order of the article
// 六曜 in the Japanese Wikipedia, https://ja.wikipedia.org/wiki/六曜, and of printed 暦).
TEST(QueryInput, AQueryInWordsAndTheSixInListOrder) {
    const daysearch::Vocabulary vocabulary;
    const std::pair<const char*, const char*> cases[] = {
        {"大安 -三隣亡", "大安（三隣亡を除く）の日"},
        {"大安|友引 土曜 一粒万倍", "大安か友引、土曜、一粒万倍日の日"},
        {"-仏滅 -赤口|不成就日", "仏滅・赤口・不成就日を除く日"},
        {"十二直:危 日", "十二直の危、日曜の日"},
        {"天赦日", "天赦日の日"},
    };
    for (const auto& [query, words] : cases) {
        EXPECT_EQ(daysearch::queryInWords(daysearch::parseQuery(query, vocabulary)), words)
            << query;
    }
    EXPECT_EQ(vocabulary.names(daysearch::Kind::Rokuyo),
              (std::vector<std::string>{"先勝", "友引", "先負", "仏滅", "大安", "赤口"}));
}
