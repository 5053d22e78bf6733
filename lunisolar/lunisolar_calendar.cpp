#include "lunisolar/lunisolar_calendar.h"

#include <cmath>
#include <stdexcept>
#include <string>

namespace sorvane::lunisolar {

long long Chuki::day() const {
    return static_cast<long long>(std::floor(static_cast<double>(jstMinute) / 1440.0));
}

std::vector<LunarMonth> numberMonths(const std::vector<long long>& newMoonDays,
                                     const std::vector<Chuki>& chuki) {
    // Which months hold a 中気, and which hold 冬至.
    const std::size_t count = newMoonDays.empty() ? 0 : newMoonDays.size() - 1;
    std::vector<bool> hasChuki(count, false);
    std::vector<std::size_t> winter;
    for (std::size_t i = 0; i < count; ++i) {
        bool solstice = false;
        for (const Chuki& c : chuki) {
            if (c.day() >= newMoonDays[i] && c.day() < newMoonDays[i + 1]) {
                hasChuki[i] = true;
                solstice = solstice || c.longitude == 270;
            }
        }
        if (solstice) {
            winter.push_back(i);
        }
    }
    if (winter.size() < 2) {
        throw std::runtime_error("lunisolar months: fewer than two months with 冬至");
    }

    std::vector<LunarMonth> months;
    for (std::size_t w = 0; w + 1 < winter.size(); ++w) {
        const std::size_t a = winter[w];
        const std::size_t b = winter[w + 1];
        if (b - a != 12 && b - a != 13) {
            throw std::runtime_error("lunisolar months: " + std::to_string(b - a) +
                                     " months between two with 冬至 (from day " +
                                     std::to_string(newMoonDays[a]) + ")");
        }
        std::size_t leapAt = count; // none
        if (b - a == 13) {
            for (std::size_t i = a + 1; i < b && leapAt == count; ++i) {
                if (!hasChuki[i]) {
                    leapAt = i;
                }
            }
        }
        if (b - a == 13 && leapAt == count) {
            throw std::runtime_error("lunisolar months: thirteen months from day " +
                                     std::to_string(newMoonDays[a]) +
                                     " and every one holds a 中気");
        }
        int number = 11;
        for (std::size_t i = a; i < b; ++i) {
            LunarMonth m;
            m.firstDay = newMoonDays[i];
            m.days = static_cast<int>(newMoonDays[i + 1] - newMoonDays[i]);
            m.leap = i == leapAt;
            if (i != a && !m.leap) {
                number = number % 12 + 1;
            }
            m.number = number;
            months.push_back(m);
        }
    }
    return months;
}

int rokuyo(int month, int day) {
    return (month + day) % 6;
}

const char* rokuyoName(int index) {
    static const char* const names[] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    return index >= 0 && index < 6 ? names[index] : "";
}

int rokuyoInListOrder(int position) {
    return position >= 0 && position < 6 ? (position + 2) % 6 : -1;
}

} // namespace sorvane::lunisolar
