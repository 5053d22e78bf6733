// A year's notes, day by day.

#include "calendar/calculation_error.h"
#include "calendar/civil_date.h"
#include "calendar/day_cycles.h"
#include "calendar/solar_terms.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/moon_phases.h"
#include "notes/notes.h"
#include "notes/solar_dates.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace sorvane::notes {

namespace {

constexpr int kRisshun = 315; // 立春, degrees
constexpr int kShunbun = 0;   // 春分
constexpr int kShubun = 180;  // 秋分
constexpr int kGeshi = 90;    // 夏至
constexpr int kToji = 270;    // 冬至
constexpr int kHiganHalf = 3; // 彼岸: the equinox's day and three days either side
constexpr int kMinutesPerDay = 1440;
constexpr int kNoonMinute = 720;
constexpr std::size_t kDoyoEntries = 4; // at the end of solarDates

int mod(long long a, int b) {
    return static_cast<int>(floorMod(a, b));
}

// The 節月's branch that a 節 at this longitude opens: 立春 (315) opens 寅.
int branchOfSetsu(int longitude) {
    return mod(2 + mod(longitude - kRisshun, 360) / 30, 12);
}

// The 年中行事 of a fixed date or weekday rule ("人日" .. "大晦日").
void fixedFestivals(const CivilDate& d, int weekday, std::vector<std::string>& out) {
    struct Fixed {
        int month, day;
        const char* name;
    };
    static constexpr std::array<Fixed, 7> kFixed{{{1, 7, "人日"},
                                                  {3, 3, "桃の節句"},
                                                  {5, 5, "端午の節句"},
                                                  {7, 7, "七夕"},
                                                  {9, 9, "重陽"},
                                                  {11, 15, "七五三"},
                                                  {12, 31, "大晦日"}}};
    for (const Fixed& f : kFixed) {
        if (d.month == f.month && d.day == f.day) {
            out.emplace_back(f.name);
        }
    }
    const int nth = (d.day - 1) / 7 + 1; // the nth such weekday of the month
    if (d.month == 5 && weekday == 1 && nth == 2) {
        out.emplace_back("母の日");
    }
    if (d.month == 6 && weekday == 1 && nth == 3) {
        out.emplace_back("父の日");
    }
    if (d.month == 8 && d.day >= 13 && d.day <= 16) {
        out.emplace_back("お盆");
    }
}

} // namespace

bool DayNotes::has(Senjitsu s) const {
    return std::find(senjitsu.begin(), senjitsu.end(), s) != senjitsu.end();
}

bool DayNotes::has(Gedan g) const {
    return std::find(gedan.begin(), gedan.end(), g) != gedan.end();
}

const DayNotes& YearNotes::day(int month, int dayOfMonth) const {
    const CivilDate date{year, month, dayOfMonth};
    const long long index = dayNumber(date) - dayNumber(CivilDate{year, 1, 1});
    if (month < 1 || month > 12 || dayOfMonth < 1 || index < 0 ||
        index >= static_cast<long long>(days.size()) ||
        days[static_cast<std::size_t>(index)].date != date) {
        throw std::out_of_range("no day " + std::to_string(month) + "-" +
                                std::to_string(dayOfMonth) + " in the notes of " +
                                std::to_string(year));
    }
    return days[static_cast<std::size_t>(index)];
}

YearNotes yearNotes(const SunMomentsOfYear& sunOf, int year,
                    const lunisolar::LunisolarYear* lunisolar, KyuseiRule rule,
                    LunarDates lunarDates) {
    if (!inRange(year)) {
        throw std::out_of_range("the notes cover the years " + std::to_string(kFirstYear) + ".." +
                                std::to_string(kLastYear) + "; " + std::to_string(year) +
                                " is outside them");
    }
    YearNotes notes;
    notes.year = year;
    notes.precise = sunOf(year).precise();
    notes.yearKyusei = yearKyusei(year);
    notes.setsuYearStem = (yearSexagenary(year) - 1) % 10;
    notes.eho = ehoName(notes.setsuYearStem);

    std::vector<SolarDate> sun = solarDates(sunOf, year);
    const std::vector<SolarDate> doyoEntries(sun.end() - kDoyoEntries, sun.end());
    sun.resize(sun.size() - kDoyoEntries);
    const SolarDate lastGeshi = sun.back(); // 夏至 of year - 1, after the run
    sun.pop_back();

    // The dates the year's rules turn on.
    auto dateOf = [&](int longitude, int month) {
        for (const SolarDate& s : sun) {
            if (s.longitude == longitude && s.date.year == year && s.date.month == month) {
                return dayNumber(s.date);
            }
        }
        // The search keeps each multiple in its month; a date carried into the next month
        // is looked for there.
        for (const SolarDate& s : sun) {
            if (s.longitude == longitude && s.date.year == year && s.date.month == month + 1) {
                return dayNumber(s.date);
            }
        }
        // Only term tables that make the Sun stall or race leave a multiple out of both.
        throw CalculationError(CalculationError::Code::NotReached, year, month, longitude,
                               "year " + std::to_string(year) + ": the Sun reaches " +
                                   std::to_string(longitude) + " degrees in neither month " +
                                   std::to_string(month) + " nor the next");
    };
    const long long risshun = dateOf(kRisshun, 2);
    const long long shunbun = dateOf(kShunbun, 3);
    const long long shubun = dateOf(kShubun, 9);
    const long long shanichiSpring = shanichi(shunbun);
    const long long shanichiAutumn = shanichi(shubun);

    // 日家九星: the solstices 夏至 year - 1, 冬至 year - 1, 夏至 year, 冬至 year.
    long long tojiBefore = 0;
    for (const SolarDate& s : sun) {
        if (s.longitude == kToji && s.date.year == year - 1) {
            tojiBefore = dayNumber(s.date);
        }
    }
    const std::vector<KyuseiSwitch> switches = kyuseiSwitches(
        {dayNumber(lastGeshi.date), tojiBefore, dateOf(kGeshi, 6), dateOf(kToji, 12)}, false, rule);

    // 土用: from each entry to the eve of the next season's 節.
    struct Span {
        long long first, last;
    };
    std::vector<Span> doyo;
    // The next season's 節 and its month, for the entries of January, April, July, October.
    constexpr std::array<std::array<int, 2>, kDoyoEntries> kNextSetsu{
        {{315, 2}, {45, 5}, {135, 8}, {225, 11}}};
    for (std::size_t i = 0; i < kNextSetsu.size(); ++i) {
        doyo.push_back(
            {dayNumber(doyoEntries[i].date), dateOf(kNextSetsu[i][0], kNextSetsu[i][1]) - 1});
    }

    // The lunisolar date and the noon moon age, where the calendar reaches.
    std::optional<lunisolar::LunisolarYear> own;
    if (lunisolar == nullptr && lunarDates == LunarDates::Computed && lunisolar::inRange(year)) {
        own.emplace(year, lunisolar::Quarters::Left);
        lunisolar = &*own;
    }
    const long long first = dayNumber(CivilDate{year, 1, 1});
    const long long last = dayNumber(CivilDate{year, 12, 31});
    // The new moons of the lunisolar year reach from before 22 November of the year before
    // (the last one before 1 January's noon lies within 30 days of it) to past the year.
    std::vector<long long> newMoons;
    if (lunisolar != nullptr) {
        for (const lunisolar::PhaseMoment& p : lunisolar->newMoons()) {
            newMoons.push_back(p.jstMinute);
        }
    }

    std::size_t setsuAt = 0; // the last 節 on or before the day, in sun
    std::size_t kouAt = 0;   // the last multiple of 5 on or before the day
    notes.days.reserve(static_cast<std::size_t>(last - first + 1));
    for (long long dn = first; dn <= last; ++dn) {
        DayNotes d;
        d.date = civilDate(dn);
        d.weekday = youbi(static_cast<double>(dn));
        d.sexagenary = kanshi(static_cast<double>(dn)) - 1;
        while (kouAt + 1 < sun.size() && dayNumber(sun[kouAt + 1].date) <= dn) {
            ++kouAt;
        }
        while (setsuAt + 1 < sun.size() && dayNumber(sun[setsuAt + 1].date) <= dn) {
            ++setsuAt;
        }
        while (sun[setsuAt].longitude % 30 != 15) {
            --setsuAt; // the run opens with 大雪, a 節
        }
        const SolarDate& setsu = sun[setsuAt];
        d.monthBranch = branchOfSetsu(setsu.longitude);
        d.setsuBegins = dayNumber(setsu.date) == dn;
        d.kou = mod(sun[kouAt].longitude - kRisshun, 360) / 5;
        d.kouBegins = dayNumber(sun[kouAt].date) == dn;
        d.setsuYear = dn < risshun ? year - 1 : year;
        d.monthSexagenary = monthSexagenary(d.setsuYear, d.monthBranch);
        d.choku = choku(d.sexagenary % 12, d.monthBranch);
        d.shuku = shuku(dn);
        d.yearKyusei = yearKyusei(d.setsuYear);
        d.monthKyusei = monthKyusei(d.setsuYear, d.monthBranch);
        d.kyusei = dayKyusei(switches, dn);
        d.yoton = std::prev(std::upper_bound(switches.begin(), switches.end(), dn,
                                             [](long long x, const KyuseiSwitch& sw) {
                                                 return x < sw.dayNumber;
                                             }))
                      ->yoton;
        int lunarMonth = 0;
        int lunarDay = 0;
        if (lunisolar != nullptr) {
            const lunisolar::LunarDay ld = lunisolar->day(dn);
            lunarMonth = ld.month;
            lunarDay = ld.day;
            d.lunarMonth = ld.month;
            d.lunarDay = ld.day;
            d.lunarLeap = ld.leap;
            d.shio = shio(ld.day);
            const long long noon = dn * kMinutesPerDay + kNoonMinute;
            const auto next = std::upper_bound(newMoons.begin(), newMoons.end(), noon);
            if (next != newMoons.begin()) {
                const double age = static_cast<double>(noon - *(next - 1)) / kMinutesPerDay;
                d.moonAge = std::round(age * 10) / 10;
            }
        }
        d.senjitsu = senjitsu(d.monthBranch, d.sexagenary, lunarMonth, lunarDay);
        d.gedan = gedan(d.monthBranch, d.sexagenary);
        if (dn == shanichiSpring || dn == shanichiAutumn) {
            // In enum order: after 復日, before the first days of the periods.
            const auto at = std::find_if(d.gedan.begin(), d.gedan.end(),
                                         [](Gedan g) { return g > Gedan::Shanichi; });
            d.gedan.insert(at, Gedan::Shanichi);
        }
        d.setsubun = dn == risshun - 1;
        fixedFestivals(d.date, d.weekday, d.festivals);
        if (std::llabs(dn - shunbun) <= kHiganHalf || std::llabs(dn - shubun) <= kHiganHalf) {
            d.festivals.emplace_back("彼岸");
        }
        for (const Span& s : doyo) {
            if (dn >= s.first && dn <= s.last) {
                d.festivals.emplace_back("土用");
            }
        }
        notes.days.push_back(std::move(d));
    }
    return notes;
}

} // namespace sorvane::notes
