#include "wareki/western.h"

#include "calendar/civil_date.h"
#include "wareki/input_text.h"

namespace sorvane::wareki {

namespace {

long long floorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

} // namespace

std::string normalizedInput(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c == ' ' || c == '\t') {
            continue;
        }
        if (c == 0xE3 && text.substr(i, 3) == "\u3000") {
            i += 2;
            continue;
        }
        // U+FF10..U+FF19 are EF BC 90..99; U+FF0D (－) is EF BC 8D.
        if (c == 0xEF && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xBC) {
            const unsigned char last = static_cast<unsigned char>(text[i + 2]);
            if (last >= 0x90 && last <= 0x99) {
                out += static_cast<char>('0' + (last - 0x90));
                i += 2;
                continue;
            }
            if (last == 0x8D) {
                out += '-';
                i += 2;
                continue;
            }
        }
        out += static_cast<char>(c);
    }
    return out;
}

long long jdnOf(Western calendar, const WesternDate& date) {
    if (calendar == Western::Gregorian) {
        // The project's day number is the integer part of the JD of the day's 00:00.
        return dayNumber(CivilDate{date.year, date.month, date.day}) + 1;
    }
    // Months from March, years from -4800 (floored, so that any year works).
    const long long a = floorDiv(14 - date.month, 12);
    const long long y = static_cast<long long>(date.year) + 4800 - a;
    const long long m = date.month + 12 * a - 3;
    return date.day + floorDiv(153 * m + 2, 5) + 365 * y + floorDiv(y, 4) - 32083;
}

WesternDate westernDate(Western calendar, long long jdn) {
    if (calendar == Western::Gregorian) {
        const CivilDate d = civilDate(jdn - 1);
        return {d.year, d.month, d.day};
    }
    const long long c = jdn + 32082;
    const long long d = floorDiv(4 * c + 3, 1461);
    const long long e = c - floorDiv(1461 * d, 4);
    const long long m = floorDiv(5 * e + 2, 153);
    WesternDate out;
    out.day = static_cast<int>(e - floorDiv(153 * m + 2, 5) + 1);
    out.month = static_cast<int>(m + 3 - 12 * floorDiv(m, 10));
    out.year = static_cast<int>(d - 4800 + floorDiv(m, 10));
    return out;
}

bool isValid(Western calendar, const WesternDate& date) {
    return date.month >= 1 && date.month <= 12 && date.day >= 1 && date.day <= 31 &&
           westernDate(calendar, jdnOf(calendar, date)) == date;
}

Western historicalCalendar(long long jdn) {
    return jdn < kFirstGregorianJdn ? Western::Julian : Western::Gregorian;
}

std::string isoText(const WesternDate& date) {
    return isoDateText(CivilDate{date.year, date.month, date.day});
}

std::optional<WesternDate> parseIso(std::string_view text) {
    const std::string s = normalizedInput(text);
    const auto digits = [&](std::size_t from, std::size_t to) {
        if (from >= to) {
            return false;
        }
        for (std::size_t i = from; i < to; ++i) {
            if (s[i] < '0' || s[i] > '9') {
                return false;
            }
        }
        return true;
    };
    const std::size_t first = s.find('-');
    const std::size_t second = first == std::string::npos ? first : s.find('-', first + 1);
    if (first == std::string::npos || second == std::string::npos || first > 4 ||
        !digits(0, first) || !digits(first + 1, second) || !digits(second + 1, s.size()) ||
        second - first - 1 > 2 || s.size() - second - 1 > 2) {
        return std::nullopt;
    }
    return WesternDate{std::stoi(s.substr(0, first)),
                       std::stoi(s.substr(first + 1, second - first - 1)),
                       std::stoi(s.substr(second + 1))};
}

const char* calendarName(Western calendar) {
    return calendar == Western::Julian ? "ユリウス暦" : "グレゴリオ暦";
}

const char* calendarKey(Western calendar) {
    return calendar == Western::Julian ? "julian" : "gregorian";
}

} // namespace sorvane::wareki
