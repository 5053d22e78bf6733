#include "holidays/holidays.h"

#include "calendar/day_cycles.h"

#include <algorithm>
#include <stdexcept>

namespace sorvane::holidays {

namespace {

// How a rule finds its day in a year.
enum class DayRule {
    Fixed,         // month/day
    NthMonday,     // the n-th Monday of the month
    SpringEquinox, // the JST date of the Sun at 0°
    AutumnEquinox, // the JST date of the Sun at 180°
};

// One holiday as the law held it over a span of dates: the holiday of a year is kept when its
// date falls in [from, until].
struct Rule {
    const char* name;
    HolidayKind kind;
    DayRule day;
    int month;
    int n; // the day of the month (Fixed) or which Monday (NthMonday)
    CivilDate from;
    CivilDate until;
};

constexpr CivilDate kOpen{9999, 12, 31};

using enum DayRule;
constexpr HolidayKind kNational = HolidayKind::National;
constexpr HolidayKind kSpecial = HolidayKind::Special;

// The list this was last checked against: the Cabinet Office's 「国民の祝日」について
// (syukujitsu.csv, 内閣府), years 1955-2026, as npm japanese-public-holidays 3.2.38 carries it,
// taken on 2026-12-07 (tests/holidays/cabinet-office-holidays.csv): every date and name agree.
// The law's text followed is that of the revisions below, the latest 令和2年法律第68号. Check
// again, and extend the list, when the Cabinet Office publishes a new year.
// 昭和23年法律第178号 took effect on 1948-07-20. Its revisions:
//   昭和41年法律第86号 (1966-06-25): 敬老の日 and 体育の日; 建国記念の日 from 1967 on the day the
//     cabinet order of 1966-12-09 set (02-11).
//   平成元年法律第5号 (1989-02-17): 天皇誕生日 to 12-23, 04-29 becomes みどりの日.
//   平成7年法律第22号: 海の日 from 1996.
//   平成10年法律第141号: 成人の日 and 体育の日 on Mondays from 2000.
//   平成13年法律第59号: 海の日 and 敬老の日 on Mondays from 2003.
//   平成17年法律第43号: 昭和の日 on 04-29, みどりの日 to 05-04, from 2007.
//   平成26年法律第43号: 山の日 from 2016.
//   平成29年法律第63号 (the abdication law), from 2019-04-30: 天皇誕生日 to 02-23.
//   平成30年法律第57号: 体育の日 renamed スポーツの日 from 2020.
//   平成30年法律第55号 and 令和2年法律第68号: 海の日, スポーツの日 and 山の日 moved for the
//     Olympic Games in 2020 and 2021.
// The one-off holidays each have a law of their own; the 2019 one counts its days as 祝日,
// which is what makes 2019-04-30 and 2019-05-02 国民の休日.
constexpr Rule kRules[] = {
    {"元日", kNational, Fixed, 1, 1, kFirstDate, kOpen},
    {"成人の日", kNational, Fixed, 1, 15, kFirstDate, {1999, 12, 31}},
    {"成人の日", kNational, NthMonday, 1, 2, {2000, 1, 1}, kOpen},
    {"建国記念の日", kNational, Fixed, 2, 11, {1967, 1, 1}, kOpen},
    {"天皇誕生日", kNational, Fixed, 2, 23, {2019, 4, 30}, kOpen},
    {"春分の日", kNational, SpringEquinox, 3, 0, kFirstDate, kOpen},
    {"天皇誕生日", kNational, Fixed, 4, 29, kFirstDate, {1989, 2, 16}},
    {"みどりの日", kNational, Fixed, 4, 29, {1989, 2, 17}, {2006, 12, 31}},
    {"昭和の日", kNational, Fixed, 4, 29, {2007, 1, 1}, kOpen},
    {"憲法記念日", kNational, Fixed, 5, 3, kFirstDate, kOpen},
    {"みどりの日", kNational, Fixed, 5, 4, {2007, 1, 1}, kOpen},
    {"こどもの日", kNational, Fixed, 5, 5, kFirstDate, kOpen},
    {"海の日", kNational, Fixed, 7, 20, {1996, 1, 1}, {2002, 12, 31}},
    {"海の日", kNational, NthMonday, 7, 3, {2003, 1, 1}, {2019, 12, 31}},
    {"海の日", kNational, Fixed, 7, 23, {2020, 1, 1}, {2020, 12, 31}},
    {"海の日", kNational, Fixed, 7, 22, {2021, 1, 1}, {2021, 12, 31}},
    {"海の日", kNational, NthMonday, 7, 3, {2022, 1, 1}, kOpen},
    {"スポーツの日", kNational, Fixed, 7, 24, {2020, 1, 1}, {2020, 12, 31}},
    {"スポーツの日", kNational, Fixed, 7, 23, {2021, 1, 1}, {2021, 12, 31}},
    {"山の日", kNational, Fixed, 8, 11, {2016, 1, 1}, {2019, 12, 31}},
    {"山の日", kNational, Fixed, 8, 10, {2020, 1, 1}, {2020, 12, 31}},
    {"山の日", kNational, Fixed, 8, 8, {2021, 1, 1}, {2021, 12, 31}},
    {"山の日", kNational, Fixed, 8, 11, {2022, 1, 1}, kOpen},
    {"敬老の日", kNational, Fixed, 9, 15, {1966, 6, 25}, {2002, 12, 31}},
    {"敬老の日", kNational, NthMonday, 9, 3, {2003, 1, 1}, kOpen},
    {"秋分の日", kNational, AutumnEquinox, 9, 0, kFirstDate, kOpen},
    {"体育の日", kNational, Fixed, 10, 10, {1966, 6, 25}, {1999, 12, 31}},
    {"体育の日", kNational, NthMonday, 10, 2, {2000, 1, 1}, {2019, 12, 31}},
    {"スポーツの日", kNational, NthMonday, 10, 2, {2022, 1, 1}, kOpen},
    {"文化の日", kNational, Fixed, 11, 3, kFirstDate, kOpen},
    {"勤労感謝の日", kNational, Fixed, 11, 23, kFirstDate, kOpen},
    {"天皇誕生日", kNational, Fixed, 12, 23, {1989, 2, 17}, {2019, 4, 29}},
    {"皇太子明仁親王の結婚の儀", kSpecial, Fixed, 4, 10, {1959, 4, 10}, {1959, 4, 10}},
    {"昭和天皇の大喪の礼", kSpecial, Fixed, 2, 24, {1989, 2, 24}, {1989, 2, 24}},
    {"即位礼正殿の儀", kSpecial, Fixed, 11, 12, {1990, 11, 12}, {1990, 11, 12}},
    {"皇太子徳仁親王の結婚の儀", kSpecial, Fixed, 6, 9, {1993, 6, 9}, {1993, 6, 9}},
    {"天皇の即位の日", kSpecial, Fixed, 5, 1, {2019, 5, 1}, {2019, 5, 1}},
    {"即位礼正殿の儀", kSpecial, Fixed, 10, 22, {2019, 10, 22}, {2019, 10, 22}},
};

// 振替休日 (昭和48年法律第10号, in force from 1973-04-12): a 祝日 on a Sunday makes the Monday a
// holiday. From 2007 (平成17年法律第43号) it is the first day after it that is not a 祝日.
constexpr CivilDate kSubstituteFrom{1973, 4, 12};
constexpr CivilDate kNearestFreeDayFrom{2007, 1, 1};
// 国民の休日 (昭和60年法律第103号, in force from 1985-12-27): a day whose day before and day after
// are 祝日. Until 2006 a Sunday and a 振替休日 were left out; from 2007 only a 祝日 is.
constexpr CivilDate kBridgeFrom{1985, 12, 27};

bool isSunday(const CivilDate& date) {
    return youbi(static_cast<double>(dayNumber(date))) == 1;
}

CivilDate nthMonday(int year, int month, int n) {
    const int firstWeekday = youbi(static_cast<double>(dayNumber({year, month, 1}))); // 1 = Sunday
    const int firstMonday = 1 + (2 - firstWeekday + 7) % 7;
    return {year, month, firstMonday + 7 * (n - 1)};
}

// The JST date of the moment the Sun's apparent longitude reaches `target`, rounded to the
// minute as the lists show it, so the holiday agrees with the 春分 or 秋分 line.
CivilDate equinoxDate(const SunMoments& sun, int year, int month, double target) {
    return jstDateOfMoment(sun.jstMoment(year, month, target, 21));
}

CivilDate ruleDate(const Rule& rule, int year, const SunMoments& sun) {
    switch (rule.day) {
    case Fixed:
        return {year, rule.month, rule.n};
    case NthMonday:
        return nthMonday(year, rule.month, rule.n);
    case SpringEquinox:
        return equinoxDate(sun, year, 3, 0.0);
    case AutumnEquinox:
        return equinoxDate(sun, year, 9, 180.0);
    }
    return {};
}

bool inSpan(const CivilDate& date, const Rule& rule) {
    return date >= rule.from && date <= rule.until;
}

} // namespace

bool inRange(int year) {
    return year >= kFirstYear && year <= kLastYear;
}

std::vector<Holiday> yearHolidays(int year, const SunMoments& sun) {
    if (year > kLastYear) {
        throw std::out_of_range("holidays: year " + std::to_string(year) +
                                " is after the last year with holidays, " +
                                std::to_string(kLastYear));
    }
    std::vector<Holiday> days;
    if (year < kFirstYear) {
        return days;
    }

    // The 祝日 of the year. A rule's span is checked before its day is computed, so the
    // equinoxes are computed only once each.
    for (const Rule& rule : kRules) {
        if (rule.from.year > year || rule.until.year < year) {
            continue;
        }
        const CivilDate date = ruleDate(rule, year, sun);
        if (!inSpan(date, rule)) {
            continue;
        }
        const bool equinox = rule.day == SpringEquinox || rule.day == AutumnEquinox;
        days.push_back({date, rule.name, rule.kind, equinox && year > kLastAnnouncedYear});
    }
    std::sort(days.begin(), days.end(),
              [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    const std::vector<Holiday> shukujitsu = days;
    const auto shukujitsuOn = [&](const CivilDate& date) -> const Holiday* {
        const auto it = std::find_if(shukujitsu.begin(), shukujitsu.end(),
                                     [&](const Holiday& h) { return h.date == date; });
        return it == shukujitsu.end() ? nullptr : &*it;
    };

    std::vector<CivilDate> substitutes;
    for (const Holiday& h : shukujitsu) {
        if (h.date < kSubstituteFrom || !isSunday(h.date)) {
            continue;
        }
        CivilDate next = addDays(h.date, 1);
        if (h.date >= kNearestFreeDayFrom) {
            while (shukujitsuOn(next)) {
                next = addDays(next, 1);
            }
        } else if (shukujitsuOn(next)) {
            continue; // the Monday is a 祝日 already: the rule of 1973 gives nothing more
        }
        substitutes.push_back(next);
        days.push_back({next, "振替休日", HolidayKind::Substitute, h.provisional});
    }

    for (const Holiday& h : shukujitsu) {
        const CivilDate between = addDays(h.date, 1);
        const Holiday* after = shukujitsuOn(addDays(h.date, 2));
        if (between < kBridgeFrom || !after || shukujitsuOn(between) ||
            std::find(substitutes.begin(), substitutes.end(), between) != substitutes.end()) {
            continue;
        }
        if (between < kNearestFreeDayFrom && isSunday(between)) {
            continue;
        }
        days.push_back(
            {between, "国民の休日", HolidayKind::Bridge, h.provisional || after->provisional});
    }

    std::sort(days.begin(), days.end(),
              [](const Holiday& a, const Holiday& b) { return a.date < b.date; });
    return days;
}

std::optional<Holiday> holidayOn(const CivilDate& date, const SunMoments& sun) {
    for (Holiday& h : yearHolidays(date.year, sun)) {
        if (h.date == date) {
            return std::move(h);
        }
    }
    return std::nullopt;
}

} // namespace sorvane::holidays
