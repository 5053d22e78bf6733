// The rules of the 暦注, one table per group: the 節月 at 節 that begin near midnight, the
// 十二直 that repeats there, the 九星 with the 閏 periods and the two 日家九星 rules, the
// 選日 (a leap month and 2033's 閏11月 among them), the noon moon age, the 七十二候 and the
// 年中行事.
#include "almanac/coverage.h"
#include "calendar/civil_date.h"
#include "calendar/day_cycles.h"
#include "calendar/solar_terms.h"
#include "notes/notes.h"
#include "notes/solar_dates.h"
#include "sky/precise_year.h"
#include "support/test_support.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace {

using namespace sorvane;
using namespace sorvane::notes;

// The calendar page's choice of the Sun's engine over the shipped term files.
SunMomentsOfYear pageSun() {
    static const almanac::SunEngines engines(&sorvane::testing::shippedTables());
    return engines.pageChoice();
}

const YearNotes& notesOf(int year) {
    static std::map<int, YearNotes> cache;
    auto it = cache.find(year);
    if (it == cache.end()) {
        it = cache.emplace(year, yearNotes(pageSun(), year)).first;
    }
    return it->second;
}

const DayNotes& dayOf(const CivilDate& d) {
    return notesOf(d.year).day(d.month, d.day);
}

// 節 whose moments (the observatory's, JST) lie within minutes of midnight: the 節月 turns on
// the JST date, and on that day the previous day's 直 repeats.
TEST(NotesRules, SetsuMonthsAtSetsuNearMidnight) {
    struct Case {
        CivilDate setsuDay; // the JST date of the 節
        const char* moment; // for the message
        int branchBefore, branchOn;
        int setsuYearOn;
        const char* monthSexagenaryOn;
    };
    const Case cases[] = {
        {{2021, 2, 3}, "立春 23:59", 1, 2, 2021, "庚寅"},
        {{2013, 4, 5}, "清明 00:02", 3, 4, 2013, "丙辰"},
        {{2023, 1, 6}, "小寒 00:05", 0, 1, 2022, "癸丑"},
        {{1991, 12, 7}, "大雪 23:56", 11, 0, 1991, "庚子"},
        {{1993, 9, 8}, "白露 00:08", 8, 9, 1993, "辛酉"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.moment);
        const DayNotes& before = dayOf(addDays(c.setsuDay, -1));
        const DayNotes& on = dayOf(c.setsuDay);
        EXPECT_EQ(before.monthBranch, c.branchBefore);
        EXPECT_FALSE(before.setsuBegins);
        EXPECT_EQ(on.monthBranch, c.branchOn);
        EXPECT_TRUE(on.setsuBegins);
        EXPECT_EQ(on.setsuYear, c.setsuYearOn);
        EXPECT_EQ(sexagenaryName(on.monthSexagenary), c.monthSexagenaryOn);
        EXPECT_EQ(on.choku, before.choku) << "the 直 repeats on the day a 節 begins";
        EXPECT_EQ(on.choku, choku(on.sexagenary % 12, on.monthBranch));
        EXPECT_EQ(dayOf(addDays(c.setsuDay, 1)).choku, (on.choku + 1) % 12);
    }
    // 2021's 節分 fell on 2 February, the eve of 立春.
    EXPECT_TRUE(dayOf({2021, 2, 2}).setsubun);
    EXPECT_FALSE(dayOf({2021, 2, 3}).setsubun);
}

// 年家 by the 節 year, 月家 by the 節月, and the 二十八宿's continuous count.
TEST(NotesRules, YearMonthStarsAndLunarMansions) {
    struct Case {
        int setsuYear, monthBranch;
        int yearStar, monthStar;
    };
    const Case stars[] = {
        {2026, 2, 1, 8}, // 丙午: 一白; 寅月 of a 午 year 八白
        {2025, 2, 2, 2}, // 乙巳: 二黒; 寅月 of a 巳 year 二黒
        {2024, 2, 3, 5}, // 甲辰: 三碧; 寅月 of a 辰 year 五黄
        {2025, 0, 2, 1}, // 子月 of 乙巳: ten months after 二黒
        {2025, 1, 2, 9}, // 丑月 of 乙巳
        {2017, 4, 1, 6}, // 丁酉: 一白; 辰月 of a 酉 year, two after 八白
        {1900, 2, 1, 8}, // 庚子: 一白 (126 years before 2026); 寅月 of a 子 year 八白
    };
    for (const Case& c : stars) {
        SCOPED_TRACE(std::to_string(c.setsuYear) + " branch " + std::to_string(c.monthBranch));
        EXPECT_EQ(yearKyusei(c.setsuYear), c.yearStar);
        EXPECT_EQ(monthKyusei(c.setsuYear, c.monthBranch), c.monthStar);
    }
    struct Mansion {
        CivilDate date;
        const char* name;
    };
    const Mansion mansions[] = {
        {{1685, 2, 4}, "星"}, {{1685, 2, 5}, "張"}, {{1685, 1, 7}, "星"}, // before the epoch too
        {{2026, 1, 1}, "井"}, {{1685, 3, 5}, "張"},
    };
    for (const Mansion& m : mansions) {
        EXPECT_STREQ(shukuName(shuku(dayNumber(m.date))), m.name) << isoDateText(m.date);
    }
}

// 日家九星: the switches of 2014-2015 (kyusei.co3.jp/sp/nichiban.html prints them), the 閏 of
// 2020 (a period of 240 days: 陽遁 on to 2020-06-19, 陰遁 from 三碧 on the 甲午 2020-06-20),
// and where the two rules differ: the 冬至 of 2019-12-22 is a 癸巳 day, so the 甲午 rule puts
// its 閏 there (陽遁 from 七赤 on 2019-12-23) and both agree again from 2020-07-20.
TEST(NotesRules, DayStarsThroughSwitchesAndLeapPeriods) {
    struct Case {
        CivilDate date;
        int koyomi; // KyuseiRule::KoyomiNoPage (adopted)
        int kogo;   // KyuseiRule::KogoNearSolstice
    };
    const Case cases[] = {
        {{2014, 12, 18}, 1, 1}, {{2014, 12, 19}, 1, 1},
        {{2014, 12, 20}, 2, 2}, {{2015, 6, 16}, 9, 9},
        {{2015, 6, 17}, 9, 9},  {{2015, 6, 18}, 8, 8},
        {{2019, 11, 22}, 1, 1}, // the last day both rules agree on
        {{2019, 11, 23}, 1, 9}, // koyomi: 陽遁 from this 甲子; 甲午 rule: 陰遁 runs on
        {{2019, 12, 22}, 3, 7}, {{2019, 12, 23}, 4, 7}, // 甲午: the 甲午 rule's 七赤 again
        {{2020, 1, 22}, 7, 1},  {{2020, 5, 21}, 1, 4},
        {{2020, 6, 19}, 3, 6},  {{2020, 6, 20}, 3, 7},
        {{2020, 7, 19}, 1, 9},  {{2020, 7, 20}, 9, 9}, // agreed again from here on
        {{2020, 12, 31}, 7, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(isoDateText(c.date));
        const YearNotes kogo =
            c.date.year == 2019 || c.date.year == 2020
                ? yearNotes(pageSun(), c.date.year, nullptr, KyuseiRule::KogoNearSolstice)
                : notesOf(c.date.year);
        EXPECT_EQ(dayOf(c.date).kyusei, c.koyomi);
        EXPECT_EQ(kogo.day(c.date.month, c.date.day).kyusei, c.kogo);
    }
}

// The 選日 of single days, rule by rule.
TEST(NotesRules, SenjitsuRules) {
    using S = Senjitsu;
    struct Case {
        int monthBranch;
        const char* sexagenary;
        int lunarMonth, lunarDay;
        std::vector<Senjitsu> expected;
    };
    auto index = [](const char* name) {
        for (int i = 0; i < 60; ++i) {
            if (sexagenaryName(i) == name) {
                return i;
            }
        }
        return -1;
    };
    const Case cases[] = {
        {2, "戊寅", 0, 0, {S::Tensha, S::Tora}},           // spring's 天赦日
        {5, "甲午", 0, 0, {S::Tensha, S::TenichiTenjo}},   // summer's, in 天一天上
        {8, "戊申", 0, 0, {S::Tensha, S::TenichiTenjo}},   // autumn's, 天一天上's last
        {11, "甲子", 0, 0, {S::Tensha, S::Kinoene}},       // winter's
        {2, "甲子", 0, 0, {S::Kinoene}},                   // no 天赦 in spring
        {2, "丁丑", 0, 0, {S::IchiryuManbai}},             // 寅月: 丑・午
        {0, "乙亥", 0, 0, {S::IchiryuManbai}},             // 子月: 亥・子
        {2, "己亥", 0, 0, {S::Sanrinbo, S::TenichiTenjo}}, // 寅月: 亥日
        {3, "丙寅", 0, 0, {S::IchiryuManbai, S::Tora, S::Sanrinbo}}, // 卯月: 寅日
        {4, "壬午", 0, 0, {S::Sanrinbo}},                            // 辰月: 午日
        {5, "己巳", 0, 0, {S::Mi, S::Tsuchinotomi}},               // 巳月: no 一粒万倍 on 巳
        {7, "壬子", 0, 0, {S::Hassen}},                            // 八専's first
        {7, "癸丑", 0, 0, {}},                                     // 間日
        {7, "丙辰", 0, 0, {}},                                     // 間日
        {7, "癸亥", 0, 0, {S::Hassen}},                            // 八専's last
        {7, "甲申", 0, 0, {S::Jippogure}},                         // 十方暮's first
        {7, "癸巳", 0, 0, {S::Mi, S::Jippogure, S::TenichiTenjo}}, // both periods
        {7, "甲戌", 1, 3, {S::Fujoju}},                            // 正月3日
        {7, "甲戌", 6, 30, {S::Fujoju}},                           // 6月30日
        {7, "甲戌", 11, 29, {S::Fujoju}},                          // 閏11月 takes 11月's row
        {7, "甲戌", 11, 30, {}},
        {7, "甲戌", 0, 3, {}}, // no lunisolar date, no 不成就日
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(branchName(c.monthBranch)) + "月 " + c.sexagenary + " " +
                     std::to_string(c.lunarMonth) + "/" + std::to_string(c.lunarDay));
        EXPECT_EQ(senjitsu(c.monthBranch, index(c.sexagenary), c.lunarMonth, c.lunarDay),
                  c.expected);
    }
}

// The periods of 選日 as runs: each whole, starting on its 干支 (八専 壬子, 十方暮 甲申, 天一天上
// 癸巳 — the almanacs' definitions) and as long as it lasts, 八専's 間日 癸丑, 丙辰, 戊午 and
// 壬戌; a range of one day inside a run gives the run, and over 1900..2100 the days of the runs
// less their 間日 are exactly the days whose senjitsu() lists the kind.
TEST(NotesRules, SenjitsuPeriodsAreWholeRunsOfTheirDays) {
    struct Case {
        Senjitsu kind;
        const char* first; // the 干支 of the first day
        long long days;
        std::vector<const char*> rest; // the 干支 of the 間日
    };
    const Case cases[] = {
        {Senjitsu::Hassen, "壬子", 12, {"癸丑", "丙辰", "戊午", "壬戌"}},
        {Senjitsu::Jippogure, "甲申", 10, {}},
        {Senjitsu::TenichiTenjo, "癸巳", 16, {}},
    };
    const auto name = [](long long n) {
        return sexagenaryName(kanshi(static_cast<double>(n)) - 1);
    };
    const long long from = dayNumber(CivilDate{1900, 1, 1});
    const long long to = dayNumber(CivilDate{2100, 12, 31});
    const std::vector<SenjitsuPeriod> runs = senjitsuPeriods(from, to);
    for (const Case& c : cases) {
        SCOPED_TRACE(senjitsuName(c.kind));
        EXPECT_TRUE(isPeriod(c.kind));
        std::vector<long long> days; // the days the runs give the note, in order
        long long previous = 0;
        for (const SenjitsuPeriod& r : runs) {
            if (r.kind != c.kind) {
                continue;
            }
            EXPECT_EQ(name(r.first), c.first);
            EXPECT_EQ(r.last - r.first + 1, c.days);
            EXPECT_TRUE(previous == 0 || r.first - previous == 60) << r.first;
            previous = r.first;
            ASSERT_EQ(r.restDays.size(), c.rest.size());
            for (std::size_t i = 0; i < c.rest.size(); ++i) {
                EXPECT_EQ(name(r.restDays[i]), c.rest[i]);
            }
            for (long long n = r.first; n <= r.last; ++n) {
                if (std::find(r.restDays.begin(), r.restDays.end(), n) == r.restDays.end()) {
                    days.push_back(n);
                }
            }
            // A day of the run alone gives this run.
            const auto alone = senjitsuPeriods(r.first + 1, r.first + 1);
            EXPECT_EQ(std::count_if(alone.begin(), alone.end(),
                                    [&](const SenjitsuPeriod& a) {
                                        return a.kind == c.kind && a.first == r.first &&
                                               a.last == r.last;
                                    }),
                      1);
        }
        ASSERT_FALSE(days.empty());
        EXPECT_LE(days.front() - from, 59);
        EXPECT_LE(to - days.back(), 59);
        std::vector<long long> listed; // the days senjitsu() gives the note
        for (long long n = days.front(); n <= days.back(); ++n) {
            const auto s = senjitsu(2, kanshi(static_cast<double>(n)) - 1, 0, 0);
            if (std::find(s.begin(), s.end(), c.kind) != s.end()) {
                listed.push_back(n);
            }
        }
        EXPECT_EQ(days, listed);
    }
    for (const Senjitsu s : {Senjitsu::IchiryuManbai, Senjitsu::Tensha, Senjitsu::Fujoju}) {
        EXPECT_FALSE(isPeriod(s));
    }
}

// Whole days: 不成就日 in a leap month (2023's 閏2月 from 03-22, 2033's 閏11月 from 12-22),
// the noon moon age (python3-ephem 4.1.4: noon JST minus ephem.previous_new_moon, in days,
// rounded to 0.1), and its absence outside 1900-2100.
TEST(NotesRules, LeapMonthsAndMoonAge) {
    struct Case {
        CivilDate date;
        int lunarMonth, lunarDay;
        bool leap;
        bool fujoju;
    };
    const Case leap[] = {
        {{2023, 3, 22}, 2, 1, true, false},   {{2023, 3, 23}, 2, 2, true, true},
        {{2023, 3, 31}, 2, 10, true, true},   {{2033, 12, 22}, 11, 1, true, false},
        {{2033, 12, 26}, 11, 5, true, true},  {{2034, 1, 19}, 11, 29, true, true},
        {{2033, 11, 26}, 11, 5, false, true},
    };
    for (const Case& c : leap) {
        SCOPED_TRACE(isoDateText(c.date));
        const DayNotes& d = dayOf(c.date);
        EXPECT_EQ(d.lunarMonth, c.lunarMonth);
        EXPECT_EQ(d.lunarDay, c.lunarDay);
        EXPECT_EQ(d.lunarLeap, c.leap);
        EXPECT_EQ(d.has(Senjitsu::Fujoju), c.fujoju);
    }
    struct Age {
        CivilDate date;
        double age;
    };
    const Age ages[] = {{{2026, 1, 1}, 12.1},  {{2026, 1, 19}, 0.3},  {{2026, 6, 15}, 0.0},
                        {{2033, 12, 25}, 3.3}, {{1900, 1, 15}, 13.5}, {{2100, 12, 31}, 0.1},
                        {{1985, 7, 7}, 18.6}};
    for (const Age& a : ages) {
        ASSERT_TRUE(dayOf(a.date).moonAge.has_value()) << isoDateText(a.date);
        EXPECT_DOUBLE_EQ(*dayOf(a.date).moonAge, a.age) << isoDateText(a.date);
    }
    const DayNotes& far = dayOf({1850, 6, 1});
    EXPECT_FALSE(far.moonAge.has_value());
    EXPECT_FALSE(far.lunarMonth.has_value());
    EXPECT_FALSE(far.has(Senjitsu::Fujoju));
}

// The 七十二候 every 5 degrees: the solar theory's search (modulo 360, so that it brackets
// 350..10 degrees too) against the precise mode's dates, which differ only where a moment
// lies within a few minutes of midnight; and the 候 of the year begin on their own days.
TEST(NotesRules, SeventyTwoKouInBothModes) {
    const almanac::SunEngines engines(&sorvane::testing::shippedTables());
    int compared = 0;
    for (int year = 1990; year <= 2030; year += 4) {
        for (int m = 1; m <= 12; ++m) {
            const int setsu = static_cast<int>(std::lround(sekkilong(m, 0)));
            for (int k = 0; k < 6; ++k) {
                const int longitude = (setsu + 5 * k) % 360;
                const sky::PreciseEvent e =
                    sky::preciseEvent(year, m, EventKind::Longitude, longitude, 6 + 5 * k);
                const int minute = static_cast<int>(e.hour * 60 + e.minute);
                if (minute < 3 || minute > 1437) {
                    continue; // the solar theory may be a minute or two early
                }
                SCOPED_TRACE(std::to_string(year) + " " + std::to_string(longitude));
                EXPECT_EQ(solarDate(engines.forYear(year, false), year, m, longitude, 6 + 5 * k),
                          solarDate(engines.forYear(year, true), year, m, longitude, 6 + 5 * k));
                ++compared;
            }
        }
    }
    EXPECT_GT(compared, 700);
    // solarDates interpolates between the 節 and 中気 and searches only near midnight: its
    // dates are the searches' own, in the precise mode and in the solar theory's years.
    for (const int year : {-2500, -1999, 1, 1901, 1958, 2019, 2033, 2099, 2999, 3001, 9000}) {
        const std::vector<SolarDate> dates = solarDates(engines.pageChoice(), year);
        ASSERT_EQ(dates.size(), 83u);
        for (std::size_t i = 0; i < 79; ++i) {
            const SolarDate& s = dates[i];
            // 大雪 .. of year - 1, the 72 of year, then 夏至 of year - 1.
            const int y = i < 6 || i == 78 ? year - 1 : year;
            const int fromSetsu = static_cast<int>(floorMod(s.longitude - 285, 360));
            const int month = i == 78 ? 6 : fromSetsu / 30 + 1;
            SCOPED_TRACE(std::to_string(year) + " " + std::to_string(s.longitude));
            EXPECT_EQ(s.date, solarDate(engines.forYear(y, true), y, month, s.longitude,
                                        6 + fromSetsu % 30));
        }
        for (std::size_t i = 79; i < 83; ++i) { // the 土用 entries
            const int month = static_cast<int>(i - 79) * 3 + 1;
            EXPECT_EQ(dates[i].date,
                      solarDate(engines.forYear(year, true), year, month, dooulong(month), 18));
        }
    }
    int begins = 0;
    int last = -1;
    for (const DayNotes& d : notesOf(2026).days) {
        if (d.kouBegins) {
            ++begins;
            EXPECT_EQ(d.kou, (last + 1) % 72) << isoDateText(d.date);
        }
        last = d.kou;
    }
    // 冬至 末候 (280 degrees) falls on 31 December or 1 January: 71 to 73 begin in a year.
    EXPECT_GE(begins, 71);
    EXPECT_LE(begins, 73);
    EXPECT_STREQ(kouName(dayOf({2026, 2, 4}).kou), "東風解凍"); // 立春
    EXPECT_STREQ(kouName(dayOf({2026, 6, 21}).kou), "乃東枯");  // 夏至
    EXPECT_TRUE(dayOf({2026, 6, 21}).kouBegins);
}

// 年中行事: fixed days, the second and third Sundays, and 彼岸 and 土用 as whole periods.
TEST(NotesRules, Festivals) {
    struct Case {
        CivilDate date;
        std::vector<std::string> festivals;
    };
    const Case cases[] = {
        {{2026, 1, 7}, {"人日"}},     {{2026, 3, 3}, {"桃の節句"}},
        {{2026, 3, 16}, {}},          {{2026, 3, 17}, {"彼岸"}}, // 春分 3-20
        {{2026, 3, 23}, {"彼岸"}},    {{2026, 3, 24}, {}},
        {{2026, 5, 4}, {"土用"}},     {{2026, 5, 5}, {"端午の節句"}},
        {{2026, 5, 10}, {"母の日"}},  {{2026, 6, 21}, {"父の日"}},
        {{2026, 7, 19}, {}}, // 夏の土用 from 7-20
        {{2026, 7, 20}, {"土用"}},    {{2026, 8, 6}, {"土用"}},
        {{2026, 8, 7}, {}}, // 立秋 ends the 土用
        {{2026, 8, 13}, {"お盆"}},    {{2026, 8, 17}, {}},
        {{2026, 9, 9}, {"重陽"}},     {{2026, 11, 15}, {"七五三"}},
        {{2026, 12, 31}, {"大晦日"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dayOf(c.date).festivals, c.festivals) << isoDateText(c.date);
    }
    EXPECT_EQ(notesOf(2026).eho, "南南東"); // 丙 year
    EXPECT_EQ(notesOf(2024).eho, "東北東"); // 甲 year
}

// Notes made without the lunisolar calendar (as the day search asks for them when no
// 不成就日 is wanted) differ from the whole notes only in 不成就日, the lunisolar date and the
// moon age, which they leave out.
TEST(NotesRules, LunarDatesLeftOutChangeNothingElse) {
    const YearNotes whole = yearNotes(pageSun(), 2026);
    const YearNotes left =
        yearNotes(pageSun(), 2026, nullptr, KyuseiRule::KoyomiNoPage, LunarDates::Left);
    ASSERT_EQ(left.days.size(), whole.days.size());
    int fujoju = 0;
    for (std::size_t i = 0; i < whole.days.size(); ++i) {
        const DayNotes& w = whole.days[i];
        const DayNotes& l = left.days[i];
        EXPECT_FALSE(l.lunarMonth || l.moonAge) << isoDateText(l.date);
        std::vector<Senjitsu> expected;
        for (const Senjitsu s : w.senjitsu) {
            if (s != Senjitsu::Fujoju) {
                expected.push_back(s);
            }
        }
        fujoju += w.has(Senjitsu::Fujoju) ? 1 : 0;
        EXPECT_EQ(l.senjitsu, expected) << isoDateText(l.date);
        EXPECT_TRUE(l.choku == w.choku && l.shuku == w.shuku && l.kyusei == w.kyusei &&
                    l.festivals == w.festivals)
            << isoDateText(l.date);
    }
    EXPECT_GT(fujoju, 40);
}

} // namespace
