#include "calendar/quoted_text.h"

#include <cstdio>

namespace sorvane {

namespace {

// The length of the well-formed UTF-8 sequence at text[i] (Unicode's table 3-7), 0 when
// there is none; *codePoint is set to its value.
std::size_t sequenceAt(std::string_view text, std::size_t i, char32_t* codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
    const unsigned char c = byte(0);
    if (c < 0x80) {
        *codePoint = c;
        return 1;
    }
    std::size_t length = 0;
    unsigned char low = 0x80; // the second byte's range
    unsigned char high = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        low = c == 0xE0 ? 0xA0 : 0x80;  // E0 80..9F would be overlong
        high = c == 0xED ? 0x9F : 0xBF; // ED A0..BF would be a surrogate
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        low = c == 0xF0 ? 0x90 : 0x80;  // F0 80..8F would be overlong
        high = c == 0xF4 ? 0x8F : 0xBF; // F4 90.. would lie past U+10FFFF
    } else {
        return 0; // a continuation byte, C0, C1 (overlong) or F5..FF
    }
    if (i + length > text.size() || byte(1) < low || byte(1) > high) {
        return 0;
    }
    char32_t value = c & (0x7F >> length);
    value = (value << 6) | (byte(1) & 0x3F);
    for (std::size_t k = 2; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return 0;
        }
        value = (value << 6) | (byte(k) & 0x3F);
    }
    *codePoint = value;
    return length;
}

// Whether a character changes the direction of the text around it or breaks its line.
bool isFormatting(char32_t c) {
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069) || c == 0x2028 || c == 0x2029;
}

void appendHex(std::string& out, const char* format, unsigned value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, format, value);
    out += buf;
}

} // namespace

std::string printableText(std::string_view text, std::size_t maxCharacters, bool inQuotes) {
    std::string out;
    std::size_t characters = 0;
    std::size_t i = 0;
    while (i < text.size() && characters < maxCharacters) {
        char32_t c = 0;
        const std::size_t length = sequenceAt(text, i, &c);
        if (length == 0) {
            appendHex(out, "\\x%02X", static_cast<unsigned char>(text[i]));
            i += 1;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c < 0x20 || c == 0x7F) {
            appendHex(out, "\\x%02X", static_cast<unsigned>(c));
        } else if (c >= 0x80 && c <= 0x9F) {
            appendHex(out, "\\x%02X", static_cast<unsigned char>(text[i]));
            appendHex(out, "\\x%02X", static_cast<unsigned char>(text[i + 1]));
        } else if (isFormatting(c)) {
            appendHex(out, "\\u%04X", static_cast<unsigned>(c));
        } else if (inQuotes && (c == '"' || c == '\\')) {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            out.append(text.substr(i, length));
        }
        i += length;
        ++characters;
    }
    if (i < text.size()) {
        out += "...";
    }
    return out;
}

std::string quotedText(std::string_view text) {
    return "\"" + printableText(text, kQuotedCharacters, true) + "\"";
}

} // namespace sorvane
