#include "calendar/decimal_number.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

namespace sorvane {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

char lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether [p, last) starts with word, ignoring case.
bool startsWith(const char* p, const char* last, const char* word) {
    for (; *word != '\0'; ++p, ++word) {
        if (p == last || lower(*p) != *word) {
            return false;
        }
    }
    return true;
}

// The end of the longest number of the general format at first, or first when there is none.
const char* numberEnd(const char* first, const char* last) {
    const char* p = first;
    if (p != last && *p == '-') {
        ++p;
    }
    if (startsWith(p, last, "infinity")) {
        return p + 8;
    }
    if (startsWith(p, last, "inf")) {
        return p + 3;
    }
    if (startsWith(p, last, "nan")) {
        p += 3;
        // nan(n-char-sequence): letters, digits and '_' in parentheses.
        if (p != last && *p == '(') {
            const char* q = p + 1;
            while (q != last &&
                   (isDigit(*q) || *q == '_' || (lower(*q) >= 'a' && lower(*q) <= 'z'))) {
                ++q;
            }
            if (q != last && *q == ')') {
                return q + 1;
            }
        }
        return p;
    }
    const char* digits = p;
    while (p != last && isDigit(*p)) {
        ++p;
    }
    bool any = p != digits;
    if (p != last && *p == '.') {
        const char* fraction = ++p;
        while (p != last && isDigit(*p)) {
            ++p;
        }
        any = any || p != fraction;
    }
    if (!any) {
        return first;
    }
    if (p != last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q != last && (*q == '+' || *q == '-')) {
            ++q;
        }
        const char* exponent = q;
        while (q != last && isDigit(*q)) {
            ++q;
        }
        if (q != exponent) {
            p = q;
        }
    }
    return p;
}

} // namespace

std::from_chars_result parseDoubleWithStrtod(const char* first, const char* last, double& value) {
    const char* end = numberEnd(first, last);
    if (end == first) {
        return {first, std::errc::invalid_argument};
    }
    // strtod reads the locale's decimal point: give it that one.
    std::string text(first, end);
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && point[0] != '\0' && point[0] != '.' && point[1] == '\0') {
        for (char& c : text) {
            if (c == '.') {
                c = point[0];
            }
        }
    }
    errno = 0;
    char* stop = nullptr;
    const double parsed = std::strtod(text.c_str(), &stop);
    const int error = errno;
    if (stop != text.c_str() + text.size()) {
        return {first, std::errc::invalid_argument};
    }
    // Overflow and underflow to zero are out of range; a subnormal result is a number.
    if (error == ERANGE && (std::isinf(parsed) || parsed == 0)) {
        return {end, std::errc::result_out_of_range};
    }
    value = parsed;
    return {end, std::errc()};
}

std::from_chars_result parseDouble(const char* first, const char* last, double& value) {
#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
    return std::from_chars(first, last, value);
#else
    return parseDoubleWithStrtod(first, last, value);
#endif
}

} // namespace sorvane
