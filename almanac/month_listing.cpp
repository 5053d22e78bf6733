#include "almanac/month_listing.h"

#include "calendar/civil_date.h"
#include "calendar/day_cycles.h"
#include "calendar/names.h"

#include <stdexcept>

namespace sorvane::almanac {

std::int16_t nenkanshi(int year, int m) {
    return static_cast<std::int16_t>(yearSexagenary(m == 1 ? year - 1 : year));
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
    MonthListing listing;
    const int days = daysInMonth(year, m);
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
