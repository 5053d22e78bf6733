// The 暦注下段: the rules and texts of the good and bad days a printed almanac lists at the
// foot of each day, with 社日 and the first days of 八専 and 十方暮.
//
// All are 節切り (the month from its 節, 正月 from 立春) on the day's 干支, as the almanacs
// since the 宝暦暦 (1755) print them. Where the tables were taken from (each checked against a
// second source, and the day lists against published ones in tests/notes/):
// - 大明日, 天恩日: the 干支 lists of 西野神社's 「こよみと吉凶 下段」 (nishinojinja.or.jp);
//   大明日's 25 干支 agree with the published day lists of 2023 and 2026 (tests/notes).
// - 母倉日, 月徳日: こよみの読み方(68) 下段(2) (ffortune.net/calen/calen/yomi99/yomi068.htm)
//   and koyomil.com's 母倉日 and 月徳日 pages. 母倉日 follows the 節月: the 土用 months (3・6・9・
//   12月) take 巳・午 for the whole month. Some almanacs give 巳・午 to the days of 土用
//   instead (from the 土用 entry to the next 節); not followed.
// - 受死日, 十死日, 帰忌日, 血忌日, 復日: the table of こよみの読み方(69) 下段(3)
//   (ffortune.net/calen/calen/yomi99/yomi069.htm); 受死日 and 十死日 as 7key.jp's 暦注下段,
//   復日 as ウィキペディア 「暦注下段」, 帰忌日's 正月丑・二月寅 as 国立国会図書館
//   「日本の暦」 第三章 (ndl.go.jp/koyomi/chapter3/s5.html).
// - 天徳日: 正月丁 二月坤 三月壬 四月辛 五月乾 六月甲 七月癸 八月艮 九月丙 十月乙 十一月巽
// 十二月庚,
//   the 天徳 of the Chinese almanac by 節月 (『医宗金鑑』 「天徳月空」, as culture.pkstate.com
//   quotes it). The four months whose 天徳 is a trigram's direction (坤・乾・艮・巽) take the
//   branch of that direction that the 天徳貴人 verse names, 申・亥・寅・巳 (「正丁二申宮、三壬四辛
//   同、五亥六甲上、七癸八寅逢、九丙十帰乙、子巳丑庚中」); the 協紀辨方書 tables list no 天徳 day
//   in those months (npm lunar-javascript follows them); not followed. Checked against
//   lunar-javascript 1.7.7 for the eight other months (tests/notes).
// - 重日: the 巳 and 亥 days (the same 国立国会図書館 page and yomi069).
// - 社日: the 戊 day nearest the equinox (notes.h).

#include "calendar/day_cycles.h"
#include "notes/notes.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace sorvane::notes {

namespace {

constexpr int kMizunoeNe = 48; // 壬子, the first day of 八専
constexpr int kKinoeSaru = 20; // 甲申, the first day of 十方暮
constexpr int kTsuchinoe = 4;  // 戊, the stem of 社日
constexpr int kMi = 5;         // 巳
constexpr int kI = 11;         // 亥

// 大明日: 己巳 庚午 辛未 壬申 癸酉 丁丑 己卯 壬午 甲申 丁亥 壬辰 乙未 壬寅 甲辰 乙巳 丙午 丁未
// 己酉 庚戌 辛亥 丙辰 戊午 己未 庚申 辛酉, as 干支 indexes.
constexpr std::array<int, 25> kDaimyo{5,  6,  7,  8,  9,  13, 15, 18, 20, 23, 28, 31, 38,
                                      40, 41, 42, 43, 45, 46, 47, 52, 54, 55, 56, 57};

// The tables by 節月, 正月 (寅) first. Branches 0 = 子, stems 0 = 甲.
// 母倉日: 正・二月 子亥, 四・五月 寅卯, 七・八月 丑辰未戌, 十・十一月 申酉, 3・6・9・12月 巳午.
constexpr std::array<std::array<int, 4>, 12> kBoso{{
    {0, 11, -1, -1},
    {0, 11, -1, -1},
    {5, 6, -1, -1},
    {2, 3, -1, -1},
    {2, 3, -1, -1},
    {5, 6, -1, -1},
    {1, 4, 7, 10},
    {1, 4, 7, 10},
    {5, 6, -1, -1},
    {8, 9, -1, -1},
    {8, 9, -1, -1},
    {5, 6, -1, -1},
}};
// 月徳日: 丙 甲 壬 庚, four months apart.
constexpr std::array<int, 4> kGettoku{2, 0, 8, 6};
// 天徳日: 丁 申 壬 辛 亥 甲 癸 寅 丙 乙 巳 庚, a stem or (in 二・五・八・十一月) a branch.
struct DayMark {
    bool branch; // the day's branch, else its stem
    int value;
};
constexpr std::array<DayMark, 12> kTentoku{{{false, 3},
                                            {true, 8},
                                            {false, 8},
                                            {false, 7},
                                            {true, 11},
                                            {false, 0},
                                            {false, 9},
                                            {true, 2},
                                            {false, 2},
                                            {false, 1},
                                            {true, 5},
                                            {false, 6}}};
// 受死日: 戌 辰 亥 巳 子 午 丑 未 寅 申 卯 酉.
constexpr std::array<int, 12> kJushi{10, 4, 11, 5, 0, 6, 1, 7, 2, 8, 3, 9};
// 十死日: 酉 巳 丑, three months apart.
constexpr std::array<int, 3> kJusshi{9, 5, 1};
// 帰忌日: 丑 寅 子, three months apart.
constexpr std::array<int, 3> kKiko{1, 2, 0};
// 血忌日: 丑 未 寅 申 卯 酉 辰 戌 巳 亥 午 子.
constexpr std::array<int, 12> kChiimi{1, 7, 2, 8, 3, 9, 4, 10, 5, 11, 6, 0};
// 復日: 甲庚 乙辛 戊己 丙壬 丁癸 戊己, six months apart.
constexpr std::array<std::array<int, 2>, 6> kFuku{{{0, 6}, {1, 7}, {4, 5}, {2, 8}, {3, 9}, {4, 5}}};

struct GedanText {
    const char* name;
    const char* mark;
    const char* meaning;
};
constexpr std::array<GedanText, kGedanCount> kGedan{{
    {"大明日", "大明",
     "天地が開け日の光が隅々まで照らすとされる吉日で、建築・移転・旅行に特によい"},
    {"母倉日", "母倉", "母が子を慈しむように天が人を慈しむとされる吉日で、婚礼・普請に特によい"},
    {"天恩日", "天恩", "天の恩恵を受けるとされる吉日で、慶事によく、凶事には用いない"},
    {"月徳日", "月徳", "その月の徳神のいる吉日で、普請・修造など土に関わることによい"},
    {"天徳日", "天徳", "天の徳神のいる吉日で、万事に用いてよく、とくに普請・移転・婚礼によい"},
    {"受死日", "受死",
     "黒日とも。最悪の凶日で、病の見舞い・服薬・旅行を忌み、葬式だけは差し支えない"},
    {"十死日", "十死", "受死日に次ぐ凶日で、万事に凶とされ、葬式も忌む"},
    {"帰忌日", "帰忌", "帰忌の星の精が門をふさぐとされ、帰宅・旅行・嫁取りを忌む"},
    {"血忌日", "血忌", "血を見ることを忌む日で、狩猟・鍼灸・手術を避ける"},
    {"重日", "重", "巳と亥の日。吉事も凶事も重なるとされ、婚礼・葬儀を忌む"},
    {"復日", "復", "吉事も凶事も重なるとされる日で、再婚に通じるとして婚礼を忌む"},
    {"社日", "社日", "春分・秋分に最も近い戊の日。産土神を祀り、春は豊作を祈り秋は収穫に感謝する"},
    {"八専入り", "八専入", "八専の初日（壬子）。八専の間は雨が多く、仏事・婚礼を避けるとされる"},
    {"十方暮入り", "十方暮入", "十方暮の初日（甲申）。十方暮の間は相談事がまとまりにくいとされる"},
}};

const GedanText& textOf(Gedan g) {
    const int i = static_cast<int>(g);
    if (i < 0 || i >= kGedanCount) {
        throw std::out_of_range("下段 index " + std::to_string(i) + " is outside 0.." +
                                std::to_string(kGedanCount - 1));
    }
    return kGedan[static_cast<std::size_t>(i)];
}

int mod(long long a, int b) {
    return static_cast<int>(floorMod(a, b));
}

} // namespace

const char* gedanName(Gedan g) {
    return textOf(g).name;
}
const char* gedanMark(Gedan g) {
    return textOf(g).mark;
}
const char* gedanMeaning(Gedan g) {
    return textOf(g).meaning;
}

std::vector<Gedan> gedan(int monthBranch, int sexagenary0) {
    if (monthBranch < 0 || monthBranch >= 12 || sexagenary0 < 0 || sexagenary0 >= 60) {
        throw std::out_of_range("下段: month branch " + std::to_string(monthBranch) + " or 干支 " +
                                std::to_string(sexagenary0) + " out of range");
    }
    const auto month = static_cast<std::size_t>(mod(monthBranch - 2, 12)); // 0 = 正月
    const int stem = sexagenary0 % 10;
    const int branch = sexagenary0 % 12;
    std::vector<Gedan> out;
    if (std::find(kDaimyo.begin(), kDaimyo.end(), sexagenary0) != kDaimyo.end()) {
        out.push_back(Gedan::Daimyo);
    }
    const auto& boso = kBoso[month];
    if (std::find(boso.begin(), boso.end(), branch) != boso.end()) {
        out.push_back(Gedan::Boso);
    }
    // 天恩日: five days from each of 甲子, 己卯 and 己酉.
    if (sexagenary0 <= 4 || (sexagenary0 >= 15 && sexagenary0 <= 19) ||
        (sexagenary0 >= 45 && sexagenary0 <= 49)) {
        out.push_back(Gedan::Tenon);
    }
    if (stem == kGettoku[month % 4]) {
        out.push_back(Gedan::Gettoku);
    }
    const DayMark& tentoku = kTentoku[month];
    if ((tentoku.branch ? branch : stem) == tentoku.value) {
        out.push_back(Gedan::Tentoku);
    }
    if (branch == kJushi[month]) {
        out.push_back(Gedan::Jushi);
    }
    if (branch == kJusshi[month % 3]) {
        out.push_back(Gedan::Jusshi);
    }
    if (branch == kKiko[month % 3]) {
        out.push_back(Gedan::Kiko);
    }
    if (branch == kChiimi[month]) {
        out.push_back(Gedan::Chiimi);
    }
    if (branch == kMi || branch == kI) {
        out.push_back(Gedan::Ju);
    }
    const auto& fuku = kFuku[month % 6];
    if (stem == fuku[0] || stem == fuku[1]) {
        out.push_back(Gedan::Fuku);
    }
    if (sexagenary0 == kMizunoeNe) {
        out.push_back(Gedan::HassenBegins);
    }
    if (sexagenary0 == kKinoeSaru) {
        out.push_back(Gedan::JippogureBegins);
    }
    return out;
}

long long shanichi(long long equinoxDay) {
    const int stem = (kanshi(static_cast<double>(equinoxDay)) - 1) % 10;
    const int sinceTsuchinoe = mod(stem - kTsuchinoe, 10); // days since the last 戊
    // 0..5 back to the 戊 before (5: a 癸 day, halfway; the one before is taken), else on.
    return sinceTsuchinoe <= 5 ? equinoxDay - sinceTsuchinoe : equinoxDay + (10 - sinceTsuchinoe);
}

const char* shioName(Shio s) {
    constexpr std::array<const char*, 5> kShio{"大潮", "中潮", "小潮", "長潮", "若潮"};
    const auto i = static_cast<std::size_t>(s);
    if (i >= kShio.size()) {
        throw std::out_of_range("潮名 index " + std::to_string(i) + " is outside 0..4");
    }
    return kShio[i];
}

Shio shio(int lunarDay) {
    // The names of days 1..30 (海上保安庁's table, notes.h).
    constexpr std::array<Shio, 30> kByDay{
        Shio::Oshio,    Shio::Oshio,    Shio::Nakashio, Shio::Nakashio, Shio::Nakashio,
        Shio::Nakashio, Shio::Koshio,   Shio::Koshio,   Shio::Koshio,   Shio::Nagashio,
        Shio::Wakashio, Shio::Nakashio, Shio::Nakashio, Shio::Oshio,    Shio::Oshio,
        Shio::Oshio,    Shio::Oshio,    Shio::Nakashio, Shio::Nakashio, Shio::Nakashio,
        Shio::Nakashio, Shio::Koshio,   Shio::Koshio,   Shio::Koshio,   Shio::Nagashio,
        Shio::Wakashio, Shio::Nakashio, Shio::Nakashio, Shio::Oshio,    Shio::Oshio};
    if (lunarDay < 1 || lunarDay > 30) {
        throw std::out_of_range("潮名: lunisolar day " + std::to_string(lunarDay) +
                                " is outside 1..30");
    }
    return kByDay[static_cast<std::size_t>(lunarDay - 1)];
}

} // namespace sorvane::notes
