// What the parsers of this folder do to a text first.
#pragma once

#include <string>
#include <string_view>

namespace sorvane::wareki {

// text with full-width digits (０..９) and the full-width minus and hyphen (－) made
// half-width, and every space (U+0020, U+3000, tab) removed.
std::string normalizedInput(std::string_view text);

} // namespace sorvane::wareki
