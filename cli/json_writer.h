// A small writer for the terminal program's JSON document.
#pragma once

#include <string>
#include <string_view>

namespace sorvane::cli {

// Appends JSON values to a string; the caller writes the structure (braces, commas).
std::string jsonString(std::string_view text);
std::string jsonNumber(double value, int decimals);

} // namespace sorvane::cli
