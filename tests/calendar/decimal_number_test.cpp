// parseDouble's fallback on strtod, which WebAssembly builds use, against std::from_chars.
#include "calendar/decimal_number.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <gtest/gtest.h>
#include <string>

namespace sorvane {
namespace {

TEST(DecimalNumber, FallbackReadsWhatFromCharsReads) {
    const char* const texts[] = {
        "1.5",     "-0.25", "35.6895",   "139.6917x", "+1",        " 1",       "",
        "-",       ".",     ".5",        "5.",        "-.5e1",     "1e",       "1e+",
        "1e5x",    "1E-3",  "0x1p3",     "inf",       "-Infinity", "infx",     "nan",
        "nan(12)", "nan(",  "1e400",     "-1e400",    "1e-400",    "4.9e-324", "1,5",
        "--5",     "12abc", "0000.0001", "e5",        "-e5",       "1.2.3",
    };
    for (const std::string text : texts) {
        SCOPED_TRACE("\"" + text + "\"");
        const char* first = text.data();
        const char* last = first + text.size();
        double expected = -7;
        double actual = -7;
        const auto want = std::from_chars(first, last, expected);
        const auto got = parseDoubleWithStrtod(first, last, actual);
        EXPECT_EQ(got.ptr - first, want.ptr - first);
        EXPECT_EQ(static_cast<int>(got.ec), static_cast<int>(want.ec));
        if (expected == expected) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(actual), std::bit_cast<std::uint64_t>(expected));
        } else {
            EXPECT_NE(actual, actual); // both NaN
        }
    }
}

} // namespace
} // namespace sorvane
