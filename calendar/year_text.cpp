#include "calendar/year_text.h"

#include "calendar/quoted_text.h"

namespace sorvane {

std::int16_t parseYearText(std::string_view text) {
    const std::string quoted = quotedText(text);
    std::string_view digits = text;
    bool negative = false;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty()) {
        throw YearTextError("year " + quoted + " is not a whole number");
    }
    long long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            throw YearTextError("year " + quoted + " is not a whole number");
        }
        if (value <= 100000) {
            value = value * 10 + (c - '0');
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < -32768 || value > 32767) {
        throw YearTextError("year " + quoted + " is outside -32768..32767");
    }
    return static_cast<std::int16_t>(value);
}

std::string yearText(int year) {
    return std::to_string(year);
}

std::string printedYearText(int year) {
    return year >= 1 ? std::to_string(year) : "紀元前" + std::to_string(1 - year);
}

std::string printedDateText(int year, int month, int day) {
    return printedYearText(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

} // namespace sorvane
