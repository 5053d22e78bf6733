// The terminal program's messages quote hostile input escaped: a right-to-left override, an
// isolate, overlong and surrogate UTF-8 (cases of Markus Kuhn's UTF-8 decoder stress test,
// sections 4 and 5) and control characters never reach the terminal raw. The arguments are
// made with printf's octal escapes, so that the test's own text holds none of them.
#include "support/test_support.h"

#include <chrono>
#include <gtest/gtest.h>
#include <string>

namespace {

using sorvane::testing::CliRun;
using sorvane::testing::runCli;

// Whether text holds a byte sequence the input planted: a bidi control (UTF-8 E2 80 AA..AE,
// E2 81 A6..A9), a C0 control other than the line's end, an overlong lead (C0, C1, E0 80..9F)
// or a surrogate (ED A0..BF).
bool holdsRaw(const std::string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto b = [&](std::size_t k) {
            return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0;
        };
        if ((b(0) == 0xE2 && b(1) == 0x80 && b(2) >= 0xAA && b(2) <= 0xAE) ||
            (b(0) == 0xE2 && b(1) == 0x81 && b(2) >= 0xA6 && b(2) <= 0xA9) ||
            (b(0) < 0x20 && b(0) != '\n') || b(0) == 0xC0 || b(0) == 0xC1 ||
            (b(0) == 0xE0 && b(1) < 0xA0) || (b(0) == 0xED && b(1) >= 0xA0)) {
            return true;
        }
    }
    return false;
}

TEST(CliQuoting, MessagesQuoteHostileInputEscaped) {
    const struct {
        std::string args;
        std::string shown; // in the one line of standard error
    } cases[] = {
        {"2026 --month \"$(printf '\\342\\200\\2563')\"", "--month \"\\u202E3\" is not a month"},
        {"\"$(printf '20\\342\\201\\24626')\"", "year \"20\\u206626\" is not a whole number"},
        {"--find \"$(printf 'ab\\342\\200\\256c')\"", "unknown word \"ab\\u202Ec\""},
        {"--find \"$(printf '\\300\\257\\340\\200\\257')\"", "\"\\xC0\\xAF\\xE0\\x80\\xAF\""},
        {"--find \"$(printf '\\355\\240\\200')\"", "\"\\xED\\xA0\\x80\""},
        {"--find \"$(printf '\\033[2J')\"", "\"\\x1B[2J\""},
        {"2026 --sun --place \"$(printf '\\342\\200\\256京都')\"",
         "--place \"\\u202E京都\" is not a known place"},
        {"--find 大安 --from \"$(printf '2026-01-01\\342\\200\\256')\"",
         "\"2026-01-01\\u202E\" is not a date"},
    };
    for (const auto& c : cases) {
        const CliRun r = runCli(c.args);
        EXPECT_EQ(r.status, 2) << c.args << ": " << r.err;
        EXPECT_NE(r.err.find(c.shown), std::string::npos) << c.args << ": " << r.err;
        EXPECT_FALSE(holdsRaw(r.err)) << c.args;
        EXPECT_EQ(sorvane::testing::lines(r.err).size(), 1u) << r.err;
    }
}

// A no-break space and the other spaces of Unicode separate the query's words, and a word of
// 100,000 characters (near the longest argument Linux passes) is refused at once.
TEST(CliQuoting, QueryWordsAndLongWords) {
    const CliRun ascii = runCli("--find '大安 土' --from 2026-01-01 --to 2026-12-31");
    ASSERT_EQ(ascii.status, 0) << ascii.err;
    ASSERT_FALSE(ascii.out.empty());
    for (const char* space :
         {"\\302\\240", "\\342\\200\\257", "\\342\\201\\237", "\\342\\200\\202"}) {
        const CliRun r = runCli(std::string("--find \"$(printf '大安") + space +
                                "土')\" --from 2026-01-01 --to 2026-12-31");
        EXPECT_EQ(r.status, 0) << space << ": " << r.err;
        EXPECT_EQ(r.out, ascii.out) << space;
    }
    const auto start = std::chrono::steady_clock::now();
    const CliRun r = runCli("--find \"$(head -c 100000 /dev/zero | tr '\\0' x)\"");
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown word \"" + std::string(40, 'x') + "...\""), std::string::npos)
        << r.err.substr(0, 200);
    EXPECT_LT(r.err.size(), 200u);
    EXPECT_LT(seconds, 5.0);
}

} // namespace
