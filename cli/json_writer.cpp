#include "cli/json_writer.h"

#include <cmath>
#include <cstdio>

namespace sorvane::cli {

std::string jsonString(std::string_view text) {
    std::string out = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char buf[8];
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += ch;
            }
        }
    }
    return out + "\"";
}

std::string jsonNumber(double value, int decimals) {
    if (!std::isfinite(value)) {
        return "null";
    }
    char buf[400];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

} // namespace sorvane::cli
