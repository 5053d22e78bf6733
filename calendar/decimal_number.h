// Reading a decimal number from text, as std::from_chars does for a double: also with a C++
// library that lacks that overload (libc++ before 17, which WebAssembly builds use).
#pragma once

#include <charconv>

namespace sorvane {

// std::from_chars(first, last, value) for a double in the general format: an optional '-'
// (no '+', no leading space), digits with an optional point and exponent, or inf, infinity,
// nan, nan(...); the C locale's point whatever the locale. On success value is set and ptr is
// past the number; a number too large or too small for a double leaves value as it was and
// gives result_out_of_range; no number at first gives invalid_argument with ptr == first.
std::from_chars_result parseDouble(const char* first, const char* last, double& value);

// The same contract on strtod, which parseDouble uses where std::from_chars takes no double;
// declared for the tests, which compare the two.
std::from_chars_result parseDoubleWithStrtod(const char* first, const char* last, double& value);

} // namespace sorvane
