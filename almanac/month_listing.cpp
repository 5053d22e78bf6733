#include "almanac/month_listing.h"

#include "calendar/day_cycles.h"
#include "calendar/names.h"

#include <stdexcept>

namespace sorvane::almanac {

std::array<std::int16_t, 13> uruu(int year) {
    std::array<std::int16_t, 13> nissu = {0, 31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year % 400 == 0) {
        nissu[2] = 29;
    } else if (year % 100 == 0 && year % 4 == 0) {
        // a century year outside the 400 rule keeps 28 days
    } else if (year % 4 == 0) {
        nissu[2] = 29;
    }
    return nissu;
}

std::int16_t nenkanshi(int year, int m) {
    const int y = m == 1 ? year - 1 : year;
    auto r = floorMod(y, 60) + 57;
    if (r > 60) {
        r = r - 60;
    }
    return static_cast<std::int16_t>(r);
}

std::int16_t tukikanshi(int year, int m) {
    const auto a = floorMod(year, 5) + 1;
    auto r = a * 12 + 1 + m;
    if (r > 60) {
        r = r - 60;
    }
    return static_cast<std::int16_t>(r);
}

MonthListing nikkanhyouji(int year, int m, int k1, int w1) {
    if (m < 1 || m > 12 || k1 < 1 || k1 > 60 || w1 < 1 || w1 > 7) {
        throw std::out_of_range("month listing: month " + std::to_string(m) + ", first day " +
                                std::to_string(k1) + "/" + std::to_string(w1) +
                                " outside 1..12, 1..60, 1..7");
    }
    const std::array<std::int16_t, 13> nissu = uruu(year);
    MonthListing listing;
    const int days = nissu[m];
    for (int d = 1; d <= days; ++d) {
        int k = k1 + d - 1;
        if (k > 60) {
            k = k - 60;
        }
        int w = w1 + ((d - 1) % 7);
        if (w > 7) {
            w = w - 7;
        }
        listing.dayLines += std::to_string(d) + "日" + "(" + weekdayNames[w] + ")" + "  " +
                            sexagenaryNames[k] + "\r\n";
    }
    listing.yearCaption = sexagenaryNames[nenkanshi(year, m)] + "年";
    listing.monthCaption = std::to_string(m) + "月" + sexagenaryNames[tukikanshi(year, m)];
    return listing;
}

} // namespace sorvane::almanac
