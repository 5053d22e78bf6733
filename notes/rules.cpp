// The rules of the 暦注, each a function of the day's cycles and its 節月.
//
// The tradition followed is that of the Japanese almanacs since the 貞享暦 (1685): months
// cut at the 節 (節切り, from 立春), not at the lunisolar months, for the 十二直, the 九星 and
// the 選日 of the 暦注下段; the lunisolar month (月切り) only for 不成就日. Where almanac makers
// differ, the rule kept is named at its table, with the published list it was checked against
// (the tables and scripts in tests/notes/ and tools/notes_reference.js):
// - 十二直, 二十八宿, 年家・月家九星: the 節切り rules shared with the Chinese almanac (建除十二
//   神, 二十八宿, 九星); checked against npm lunar-javascript 1.7.7 for 1901-2099.
// - 一粒万倍日, 天赦日: as the calendar maker 新日本カレンダー lists them for 2026.
// - 不成就日: the 月切り table most almanacs print; checked against a published 2025 list.
// - 日家九星: こよみのページ's 日家九星表 (koyomi8.com) for where the 閏 falls (notes.h).

#include "calendar/civil_date.h"
#include "calendar/day_cycles.h"
#include "notes/notes.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>

namespace sorvane::notes {

namespace {

constexpr int kTora = 2;         // 寅
constexpr int kMi = 5;           // 巳
constexpr int kTsuchinotomi = 5; // 己巳, as a 干支 index
constexpr int kKinoene = 0;      // 甲子
constexpr int kKinoeuma = 30;    // 甲午

// The periods, as 干支 indexes (0 = 甲子), in enum order: 八専 壬子 (48) .. 癸亥 (59) with the
// 間日 癸丑, 丙辰, 戊午 and 壬戌; 十方暮 甲申 .. 癸巳; 天一天上 癸巳 .. 戊申.
struct PeriodRule {
    Senjitsu kind;
    int first;
    int last;
    std::array<int, 4> restDays; // -1: none
    bool isRestDay(int sexagenary0) const {
        return std::find(restDays.begin(), restDays.end(), sexagenary0) != restDays.end();
    }
};
constexpr PeriodRule kPeriodRules[] = {
    {Senjitsu::Hassen, 48, 59, {49, 52, 54, 58}},
    {Senjitsu::Jippogure, 20, 29, {-1, -1, -1, -1}},
    {Senjitsu::TenichiTenjo, 29, 44, {-1, -1, -1, -1}},
};

// 1685-02-04 (貞享2年正月朔), the day the 二十八宿 count was set to 星: the 貞享暦's count of 28
// (牛 included), which Japanese almanacs have kept since; the Chinese count agrees.
constexpr CivilDate kShukuEpoch{1685, 2, 4};
constexpr int kShukuHoshi = 24;

// The 節 year whose 年家九星 is 一白水星, for the count back one star a year.
constexpr int kIppakuYear = 2026;

// 一粒万倍日: the two day branches of each 節月, by the month's branch (子 first), as the
// 暦注下段 of the almanacs gives them (checked: 新日本カレンダー's 64 days of 2026).
constexpr std::array<std::array<int, 2>, 12> kIchiryu{{
    {11, 0}, // 子月: 亥, 子
    {0, 3},  // 丑月: 子, 卯
    {1, 6},  // 寅月: 丑, 午
    {2, 9},  // 卯月: 寅, 酉
    {0, 3},  // 辰月: 子, 卯
    {3, 4},  // 巳月: 卯, 辰
    {5, 6},  // 午月: 巳, 午
    {6, 9},  // 未月: 午, 酉
    {0, 7},  // 申月: 子, 未
    {3, 8},  // 酉月: 卯, 申
    {6, 9},  // 戌月: 午, 酉
    {9, 10}, // 亥月: 酉, 戌
}};

// 不成就日 (月切り): the days of the lunisolar months 1・7, 2・8, 3・9, 4・10, 5・11, 6・12, the
// table most almanacs print (some put the 6・12月 day on the month's last day instead of the
// 30th; not followed). Checked: the 47 days of 2025 at shufuse.com/213208.
constexpr std::array<std::array<int, 4>, 6> kFujoju{{
    {3, 11, 19, 27},
    {2, 10, 18, 26},
    {1, 9, 17, 25},
    {4, 12, 20, 28},
    {5, 13, 21, 29},
    {6, 14, 22, 30},
}};

int mod(long long a, int b) {
    return static_cast<int>(floorMod(a, b));
}

// A star n steps from start, up (陽遁) or down (陰遁).
int stepStar(int start, long long n, bool up) {
    return mod(start - 1 + (up ? n : -n), 9) + 1;
}

} // namespace

int choku(int dayBranch, int monthBranch) {
    return mod(dayBranch - monthBranch, 12);
}

int shuku(long long dayNumber) {
    return mod(dayNumber - sorvane::dayNumber(kShukuEpoch) + kShukuHoshi, 28);
}

int yearKyusei(int setsuYear) {
    return mod(-(static_cast<long long>(setsuYear) - kIppakuYear), 9) + 1;
}

int monthKyusei(int setsuYear, int monthBranch) {
    // 寅月 is 八白 in 子・午・卯・酉 years, 五黄 in 丑・辰・未・戌, 二黒 in 寅・巳・申・亥.
    const int yearBranch = (yearSexagenary(setsuYear) - 1) % 12;
    const int tora = 8 - 3 * (yearBranch % 3);
    const int fromTora = mod(monthBranch - 2, 12);
    return stepStar(tora, fromTora, false);
}

int monthSexagenary(int setsuYear, int monthBranch) {
    // 寅月's stem: 丙 in 甲・己 years, 戊 in 乙・庚, 庚 in 丙・辛, 壬 in 丁・壬, 甲 in 戊・癸.
    const int yearStem = (yearSexagenary(setsuYear) - 1) % 10;
    const int fromTora = mod(monthBranch - 2, 12);
    const int stem = mod((yearStem % 5) * 2 + 2 + fromTora, 10);
    return mod(6 * stem - 5 * monthBranch, 60); // the index with this stem and branch
}

std::vector<Senjitsu> senjitsu(int monthBranch, int sexagenary0, int lunarMonth, int lunarDay) {
    std::vector<Senjitsu> out;
    const int branch = sexagenary0 % 12;
    const auto& ichiryu = kIchiryu.at(static_cast<std::size_t>(monthBranch));
    if (branch == ichiryu[0] || branch == ichiryu[1]) {
        out.push_back(Senjitsu::IchiryuManbai);
    }
    // 天赦日: 戊寅 in spring (寅・卯・辰月), 甲午 in summer, 戊申 in autumn, 甲子 in winter, by
    // 節月 (checked: 新日本カレンダー's 6 days of 2026).
    constexpr std::array<int, 4> kTenshaDay{14, 30, 44, 0};
    const int season = mod(monthBranch - 2, 12) / 3;
    if (sexagenary0 == kTenshaDay[static_cast<std::size_t>(season)]) {
        out.push_back(Senjitsu::Tensha);
    }
    if (branch == kTora) {
        out.push_back(Senjitsu::Tora);
    }
    if (branch == kMi) {
        out.push_back(Senjitsu::Mi);
    }
    if (sexagenary0 == kTsuchinotomi) {
        out.push_back(Senjitsu::Tsuchinotomi);
    }
    if (sexagenary0 == kKinoene) {
        out.push_back(Senjitsu::Kinoene);
    }
    if (lunarMonth >= 1 && lunarMonth <= 12) {
        const auto& days = kFujoju[static_cast<std::size_t>((lunarMonth - 1) % 6)];
        if (std::find(days.begin(), days.end(), lunarDay) != days.end()) {
            out.push_back(Senjitsu::Fujoju);
        }
    }
    // 三隣亡: 亥 in 寅・巳・申・亥月, 寅 in 卯・午・酉・子月, 午 in 辰・未・戌・丑月.
    constexpr std::array<int, 3> kSanrinbo{2, 6, 11}; // by monthBranch % 3: 0 寅, 1 午, 2 亥
    if (branch == kSanrinbo[static_cast<std::size_t>(monthBranch % 3)]) {
        out.push_back(Senjitsu::Sanrinbo);
    }
    for (const PeriodRule& p : kPeriodRules) {
        if (sexagenary0 >= p.first && sexagenary0 <= p.last && !p.isRestDay(sexagenary0)) {
            out.push_back(p.kind);
        }
    }
    return out;
}

bool isPeriod(Senjitsu s) {
    return std::any_of(std::begin(kPeriodRules), std::end(kPeriodRules),
                       [s](const PeriodRule& p) { return p.kind == s; });
}

std::vector<SenjitsuPeriod> senjitsuPeriods(long long firstDay, long long lastDay) {
    std::vector<SenjitsuPeriod> out;
    for (const PeriodRule& p : kPeriodRules) {
        const long long length = p.last - p.first + 1;
        // The first run that reaches firstDay starts on or after length - 1 days before it.
        const long long from = firstDay - (length - 1);
        const int sexagenary0 = kanshi(static_cast<double>(from)) - 1;
        for (long long start = from + mod(p.first - sexagenary0, 60); start <= lastDay;
             start += 60) {
            SenjitsuPeriod run{p.kind, start, start + length - 1, {}};
            for (int k = p.first; k <= p.last; ++k) {
                if (p.isRestDay(k)) {
                    run.restDays.push_back(start + (k - p.first));
                }
            }
            out.push_back(std::move(run));
        }
    }
    return out;
}

std::vector<KyuseiSwitch> kyuseiSwitches(const std::vector<long long>& solstices,
                                         bool firstIsWinter, KyuseiRule rule) {
    std::vector<KyuseiSwitch> out;
    bool winter = firstIsWinter;
    for (const long long day : solstices) {
        const int s = mod(day - 2433190, 60); // 1949-10-01 (day 2433190) is 甲子
        KyuseiSwitch sw;
        sw.yoton = winter;
        sw.start = winter ? 1 : 9;
        if (rule == KyuseiRule::KoyomiNoPage) {
            sw.dayNumber = s <= 29 ? day - s : day + (60 - s);
        } else if (s == kKinoeuma - 1 || s == kKinoeuma) {
            // The 甲午 on the solstice or the day after it: the 閏 reversal itself.
            sw.dayNumber = day + (kKinoeuma - s);
            sw.start = winter ? 7 : 3;
        } else {
            sw.dayNumber = s < 30 ? day - s : day + (60 - s);
        }
        if (rule == KyuseiRule::KoyomiNoPage && !out.empty() &&
            sw.dayNumber - out.back().dayNumber == 240) {
            // The 閏: the last 60 days of a 240-day period; its first 30 keep the old 遁, from
            // the 甲午 on the new one runs from 三碧 (陰遁) or 七赤 (陽遁).
            out.push_back({sw.dayNumber - 30, winter, winter ? 7 : 3});
        }
        out.push_back(sw);
        winter = !winter;
    }
    return out;
}

int dayKyusei(const std::vector<KyuseiSwitch>& switches, long long dayNumber) {
    const auto after =
        std::upper_bound(switches.begin(), switches.end(), dayNumber,
                         [](long long d, const KyuseiSwitch& sw) { return d < sw.dayNumber; });
    if (after == switches.begin()) {
        throw std::out_of_range("no 日家九星 switch on or before day " + std::to_string(dayNumber));
    }
    const KyuseiSwitch& sw = *(after - 1);
    return stepStar(sw.start, dayNumber - sw.dayNumber, sw.yoton);
}

} // namespace sorvane::notes
