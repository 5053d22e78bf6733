// parseDouble and its fallback on strtod (which WebAssembly builds use): the general format
// of std::from_chars, and natively the library's own std::from_chars, on the same texts.
#include "calendar/decimal_number.h"

#include <charconv>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace sorvane {
namespace {

constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kUnset = -7; // what a failed read leaves

struct DecimalCase {
    const char* text;
    int consumed; // characters read
    std::errc ec;
    double value;
};

void expectSame(double actual, double expected) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << actual;
    } else {
        EXPECT_EQ(actual, expected);
        EXPECT_EQ(std::signbit(actual), std::signbit(expected));
    }
}

TEST(DecimalNumber, GeneralFormatAsFromChars) {
    const std::errc ok{};
    const std::errc bad = std::errc::invalid_argument;
    const std::errc range = std::errc::result_out_of_range;
    const DecimalCase cases[] = {
        {"1.5", 3, ok, 1.5},
        {"-0.25", 5, ok, -0.25},
        {"35.6895", 7, ok, 35.6895},
        {"139.6917x", 8, ok, 139.6917},
        {"+1", 0, bad, kUnset},
        {" 1", 0, bad, kUnset},
        {"", 0, bad, kUnset},
        {"-", 0, bad, kUnset},
        {".", 0, bad, kUnset},
        {".5", 2, ok, 0.5},
        {"5.", 2, ok, 5.0},
        {"-.5e1", 5, ok, -5.0},
        {"1e", 1, ok, 1.0},
        {"1e+", 1, ok, 1.0},
        {"1e5x", 3, ok, 1e5},
        {"1E-3", 4, ok, 1e-3},
        {"0x1p3", 1, ok, 0.0},
        {"inf", 3, ok, kInf},
        {"-Infinity", 9, ok, -kInf},
        {"infx", 3, ok, kInf},
        {"nan", 3, ok, kNan},
        {"nan(12)", 7, ok, kNan},
        {"nan(", 3, ok, kNan},
        {"1e400", 5, range, kUnset},
        {"-1e400", 6, range, kUnset},
        {"1e-400", 6, range, kUnset},
        {"4.9e-324", 8, ok, 4.9e-324},
        {"1,5", 1, ok, 1.0},
        {"--5", 0, bad, kUnset},
        {"12abc", 2, ok, 12.0},
        {"0000.0001", 9, ok, 1e-4},
        {"e5", 0, bad, kUnset},
        {"-e5", 0, bad, kUnset},
        {"1.2.3", 3, ok, 1.2},
        {"-0", 2, ok, -0.0},
    };
    for (const DecimalCase& c : cases) {
        SCOPED_TRACE(std::string("\"") + c.text + "\"");
        const std::string text = c.text;
        const char* first = text.data();
        const char* last = first + text.size();
        double fallback = kUnset;
        const auto got = parseDoubleWithStrtod(first, last, fallback);
        EXPECT_EQ(got.ptr - first, c.consumed);
        EXPECT_EQ(static_cast<int>(got.ec), static_cast<int>(c.ec));
        expectSame(fallback, c.value);
        double parsed = kUnset;
        const auto used = parseDouble(first, last, parsed);
        EXPECT_EQ(used.ptr - first, c.consumed);
        EXPECT_EQ(static_cast<int>(used.ec), static_cast<int>(c.ec));
        expectSame(parsed, c.value);
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
        double library = kUnset;
        const auto want = std::from_chars(first, last, library);
        EXPECT_EQ(want.ptr - first, c.consumed);
        EXPECT_EQ(static_cast<int>(want.ec), static_cast<int>(c.ec));
        expectSame(library, c.value);
#endif
    }
}

} // namespace
} // namespace sorvane
