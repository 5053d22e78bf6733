// Arguments as the terminal program's messages quote them: one printable line.
#include "cli/options.h"

#include <cstdio>

namespace sorvane::cli {

std::string printable(std::string_view text, std::size_t maxCharacters, bool inQuotes) {
    std::string out;
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size() && characters < maxCharacters) {
        const auto c = static_cast<unsigned char>(text[i]);
        // The length of a well-formed UTF-8 sequence starting here, 0 if there is none.
        std::size_t length = c < 0x80                 ? 1
                             : c >= 0xC2 && c <= 0xDF ? 2
                             : c >= 0xE0 && c <= 0xEF ? 3
                             : c >= 0xF0 && c <= 0xF4 ? 4
                                                      : 0;
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 0;
            }
        }
        // C1 controls (U+0080..U+009F) act on some terminals as their escape sequences do.
        const bool c1 = length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        const bool control = length == 1 && (c < 0x20 || c == 0x7F);
        if (length == 0 || c1 || control || (inQuotes && (c == '"' || c == '\\'))) {
            const std::size_t n = c1 ? 2 : 1;
            for (std::size_t k = 0; k < n; ++k) {
                const auto b = static_cast<unsigned char>(text[i + k]);
                const char* named = b == '\n'   ? "\\n"
                                    : b == '\t' ? "\\t"
                                    : b == '\r' ? "\\r"
                                    : b == '"'  ? "\\\""
                                    : b == '\\' ? "\\\\"
                                                : nullptr;
                if (named != nullptr) {
                    out += named;
                } else {
                    char buf[8];
                    std::snprintf(buf, sizeof buf, "\\x%02X", b);
                    out += buf;
                }
            }
            i += n;
        } else {
            out.append(text.substr(i, length));
            i += length;
        }
        ++characters;
    }
    if (i < text.size()) {
        out += "...";
    }
    return out;
}

std::string quotedArgument(std::string_view text) {
    return "\"" + printable(text, 40, true) + "\"";
}

} // namespace sorvane::cli
