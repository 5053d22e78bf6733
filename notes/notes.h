// The 暦注 of every day: the notes a printed Japanese almanac gives each day (the 節月 and its
// 干支, 十二直, 二十八宿, 九星, 選日, the noon moon age, 七十二候 and 年中行事), computed from the
// JST dates of the Sun's longitudes, the day's 干支, the lunisolar date and the new moons.
// These are customs, not astronomy: the rules are those of the calendar makers, given here as
// they print them.
#pragma once

#include "calendar/civil_date.h"
#include "calendar/sun_moments.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sorvane::lunisolar {
class LunisolarYear;
}

namespace sorvane::notes {

// ---- The notes' vocabulary and the texts a window shows ---------------------------------

// The 選日, in the order a day lists them.
enum class Senjitsu : std::uint8_t {
    IchiryuManbai, // 一粒万倍日: 節月 x day branch
    Tensha,        // 天赦日: the season's 干支 (戊寅, 甲午, 戊申, 甲子)
    Tora,          // 寅の日
    Mi,            // 巳の日
    Tsuchinotomi,  // 己巳の日
    Kinoene,       // 甲子の日
    Fujoju,        // 不成就日: lunisolar month and day
    Sanrinbo,      // 三隣亡: 節月 x day branch
    Hassen,        // 八専: 壬子..癸亥 less the 間日
    Jippogure,     // 十方暮: 甲申..癸巳
    TenichiTenjo,  // 天一天上: 癸巳..戊申
};
inline constexpr int kSenjitsuCount = 11;

const char* senjitsuName(Senjitsu s); // "一粒万倍日", "天赦日", "寅の日" .. "天一天上"
const char* senjitsuMark(Senjitsu s); // a calendar cell's mark: "一粒万倍", "天赦", "寅" ..
const char* senjitsuMeaning(Senjitsu s); // one line for a details pane

const char* chokuName(int choku);    // 0..11: "建" .. "閉"
const char* chokuMeaning(int choku); // one line
const char* shukuName(int shuku);    // 0..27: "角" .. "軫"
const char* shukuMeaning(int shuku); // 0..27: "柱立て・普請造作・婚礼に吉、葬式に凶" ..
const char* kyuseiName(int star);      // 1..9: "一白水星" .. "九紫火星"
const char* kyuseiShortName(int star); // 1..9: "一白" .. "九紫"
const char* kyuseiMeaning(int star); // 1..9: "五行は水、方位は北、八卦は坎の星" ..
const char* kouName(int kou); // 0..71, 0 = 立春初候 "東風解凍" (the 略本暦's names)
const char* kouReading(int kou); // 0..71: "はるかぜこおりをとく" .. (kana, notes/readings.cpp)
const char* ehoName(int stem); // 0..9 (0 = 甲): "東北東", "西南西", "南南東", "北北西"
const char* stemName(int stem);         // 0..9: "甲" .. "癸"
const char* branchName(int branch);     // 0..11: "子" .. "亥"
std::string sexagenaryName(int index0); // 0..59, 0 = 甲子

// One line each for the kinds of note a details pane lists.
enum class NoteKind : std::uint8_t {
    SetsuMonth,
    Choku,
    Shuku,
    DayKyusei,
    MonthKyusei,
    YearKyusei,
    MoonAge,
    Kou,
    Eho
};
const char* noteKindName(NoteKind kind); // "節月", "十二直", "二十八宿", "日家九星" ..
const char* noteKindMeaning(NoteKind kind); // one line

// The 日家九星 rules of the calendar makers; they differ only in the 閏 of a solstice that
// falls on a 癸巳 day (2019-12-22 is one: they print different stars 2019-11-23..2020-07-20).
enum class KyuseiRule : std::uint8_t {
    // こよみのページ (koyomi8.com, 日家九星表): a solstice on 甲子..癸巳 switches at the 甲子
    // before it, else at the 甲子 after it; a period of 240 days between two switches ends
    // with the 閏: 30 more days of the same 遁, then from its 甲午 the other 遁 from 三碧
    // (陰遁) or 七赤 (陽遁). The rule this program adopts.
    KoyomiNoPage,
    // The 甲午 rule of the other calendars: a solstice on a 癸巳 or 甲午 day switches at that
    // 甲午 (the day after, or the day itself), 陽遁 from 七赤 and 陰遁 from 三碧; any other
    // at the 甲子 nearest it (before it for 甲子..壬辰, after it for 乙未..癸亥).
    KogoNearSolstice,
};

// ---- The 下段 and the other day notes of a printed almanac --------------------------------

// The 暦注下段 (and 社日, and the first days of 八専 and 十方暮), in the order a day lists them.
// Each is a rule of the 節月 (節切り) and the day's 干支, as the almanacs since the 宝暦暦 print
// them; the tables, with their sources, are in gedan.cpp.
enum class Gedan : std::uint8_t {
    Daimyo,          // 大明日: 25 of the 60 干支
    Boso,            // 母倉日: 節月 x day branch
    Tenon,           // 天恩日: 甲子..戊辰, 己卯..癸未, 己酉..癸丑
    Gettoku,         // 月徳日: 節月 x day stem
    Tentoku,         // 天徳日: 節月 x day stem (or branch, in 二・五・八・十一月)
    Jushi,           // 受死日 (黒日): 節月 x day branch
    Jusshi,          // 十死日: 節月 x day branch
    Kiko,            // 帰忌日: 節月 x day branch
    Chiimi,          // 血忌日: 節月 x day branch
    Ju,              // 重日: 巳 and 亥 days
    Fuku,            // 復日: 節月 x day stem
    Shanichi,        // 社日: the 戊 day nearest each equinox
    HassenBegins,    // 八専入り: 壬子, the first day of 八専
    JippogureBegins, // 十方暮入り: 甲申, the first day of 十方暮
};
inline constexpr int kGedanCount = 14;

const char* gedanName(Gedan g);    // "大明日" .. "十方暮入り"
const char* gedanMark(Gedan g);    // a calendar cell's mark: "大明", "母倉" .. "十方暮入"
const char* gedanMeaning(Gedan g); // one line for a details pane

// gedan: the 下段 of a day that its 節月 and 干支 decide, in enum order (社日 aside: it hangs
// on the equinoxes, see shanichi).
//   monthBranch   the 節月's branch (0 = 子)
//   sexagenary0   the day's 干支, 0 = 甲子
std::vector<Gedan> gedan(int monthBranch, int sexagenary0);
// shanichi: the 社日 of the equinox on the day number equinoxDay: the 戊 day nearest it; for
// an equinox on a 癸 day, halfway between two 戊, the one before it (the rule of the 貞享暦
// and of most printed calendars; the observatory since 1881 takes the one after it when the
// equinox falls in the afternoon, which is not followed).
long long shanichi(long long equinoxDay);

// ---- 潮名 -------------------------------------------------------------------------------------

// The 潮 of a day by its lunisolar day, as the 海上保安庁 gives the names fishermen and
// anglers use (its 海洋情報部 「潮(大潮・長潮・若潮・・・)の名前?」): 1〜2 大潮, 3〜6 中潮,
// 7〜9 小潮, 10 長潮, 11 若潮, 12〜13 中潮, 14〜17 大潮, 18〜21 中潮, 22〜24 小潮, 25 長潮,
// 26 若潮, 27〜28 中潮, 29〜30 大潮. A name, not a height: the tide itself differs by port.
// 日本水路協会's MIRC assigns them instead by the Moon's elongation at 0:00 JST (大潮 343〜31
// degrees, ...), which can put a day one name earlier or later; not followed.
enum class Shio : std::uint8_t { Oshio, Nakashio, Koshio, Nagashio, Wakashio };
inline constexpr int kShioCount = 5;
const char* shioName(Shio s); // "大潮", "中潮", "小潮", "長潮", "若潮"
// shio: the 潮 of the lunisolar day 1..30 (std::out_of_range otherwise).
Shio shio(int lunarDay);

// ---- The rules, each a pure function ------------------------------------------------------

// choku: the 十二直 of a day, 0 = 建 .. 11 = 閉: day branch minus the 節月's branch.
int choku(int dayBranch, int monthBranch);
// shuku: the 二十八宿 of a day number (dayNumber), 0 = 角 .. 27 = 軫; a continuous 28-day
// count with 1685-02-04 (貞享2年正月朔) = 星.
int shuku(long long dayNumber);
// yearKyusei: the 年家九星 of a 節 year, 1..9 (2026 = 一白, one star back each year).
int yearKyusei(int setsuYear);
// monthKyusei: the 月家九星 of the 節 year's month whose branch is monthBranch (0 = 子).
int monthKyusei(int setsuYear, int monthBranch);
// monthSexagenary: the 干支 of the 節 year's month (寅月 of a 甲・己 year is 丙寅), 0..59.
int monthSexagenary(int setsuYear, int monthBranch);
// senjitsu: the 選日 of a day, in enum order.
//   monthBranch   the 節月's branch (0 = 子)
//   sexagenary0   the day's 干支, 0 = 甲子
//   lunarMonth    the lunisolar month 1..12 (a leap month its number), or 0 when unknown
//   lunarDay      1..30, or 0 when unknown
std::vector<Senjitsu> senjitsu(int monthBranch, int sexagenary0, int lunarMonth, int lunarDay);

// The 選日 that last a run of days: 八専 (壬子..癸亥, twelve days), 十方暮 (甲申..癸巳, ten) and
// 天一天上 (癸巳..戊申, sixteen), once in each sixty days.
bool isPeriod(Senjitsu s);
// One run of a period: its first and last day (day numbers, as dayNumber) and its 間日, the
// days inside it on which the note is lifted (八専's 癸丑, 丙辰, 戊午 and 壬戌), in order.
struct SenjitsuPeriod {
    Senjitsu kind = Senjitsu::Hassen;
    long long first = 0;
    long long last = 0;
    std::vector<long long> restDays;
};
// senjitsuPeriods: every run that shares a day with firstDay..lastDay, whole (a run across
// either end included), by kind in enum order, then by date. A day of a run that is no 間日
// is one whose senjitsu() lists the kind.
std::vector<SenjitsuPeriod> senjitsuPeriods(long long firstDay, long long lastDay);

// A switch of the 日家九星: from this day on, the stars run up (陽遁) or down (陰遁) from start.
struct KyuseiSwitch {
    long long dayNumber = 0;
    bool yoton = true;
    int start = 1; // 1..9
};
// kyuseiSwitches: the switches for a run of solstices.
//   solstices  day numbers of the JST dates of successive solstices, alternating, in order
//   firstIsWinter  whether solstices[0] is a 冬至
// Returns the switches in order (one per solstice, plus a 閏 reversal where the rule puts one).
std::vector<KyuseiSwitch> kyuseiSwitches(const std::vector<long long>& solstices,
                                         bool firstIsWinter, KyuseiRule rule);
// dayKyusei: the 日家九星 of a day, 1..9, from the last switch on or before it (the switches
// must reach back to it; std::out_of_range otherwise).
int dayKyusei(const std::vector<KyuseiSwitch>& switches, long long dayNumber);

// ---- The Sun's dates ------------------------------------------------------------------------

// The JST date on which the Sun's apparent longitude reaches a longitude, from the engine
// the caller chose for its year, rounded to the minute as the calendar page shows it.
struct SolarDate {
    CivilDate date;
    int longitude = 0; // degrees, 0..359
};
// solarDates: the dates of every multiple of 5 degrees from 255 (大雪) of year - 1 to 280 of
// year (72 + 6, in time order), then 夏至 of year - 1, then the year's four 土用 entries (297,
// 27, 117, 207 degrees). The 節 and 中気 are searched for; the others are interpolated between
// them and searched for only where they fall within minutes of midnight.
std::vector<SolarDate> solarDates(const SunMomentsOfYear& sunOf, int year);

// ---- A year's notes -------------------------------------------------------------------------

// The years of the notes: those in which every 節 and 中気 of the solar theory lies in its own
// month (measured over -32768..32767); beyond them the theory's seasons have drifted from
// the calendar's months, and the 節月 would be meaningless.
inline constexpr int kFirstYear = -14302;
inline constexpr int kLastYear = 8455;
inline bool inRange(int year) {
    return year >= kFirstYear && year <= kLastYear;
}

struct DayNotes {
    CivilDate date;
    int weekday = 0;                // 1..7, 1 = Sunday
    int sexagenary = 0;             // the day's 干支, 0..59, 0 = 甲子
    int setsuYear = 0;              // the 節 year (it changes at 立春)
    int monthBranch = 0;            // the 節月's branch, 0 = 子 (立春 opens 寅 = 2)
    int monthSexagenary = 0;        // the 節月's 干支, 0..59
    int choku = 0;                  // 0..11 (chokuName)
    int shuku = 0;                  // 0..27 (shukuName)
    int kyusei = 0;                 // 日家九星 1..9
    bool yoton = true;              // the 日家九星 run up (陽遁)
    int monthKyusei = 0;            // 1..9
    int yearKyusei = 0;             // 1..9
    std::vector<Senjitsu> senjitsu; // enum order
    std::vector<Gedan> gedan;       // the 下段, enum order
    std::optional<Shio> shio;       // the 潮名, with the lunisolar date
    std::optional<double> moonAge;  // at 12:00 JST, days to one decimal (1900..2100)
    std::optional<int> lunarMonth;  // the lunisolar date, when known
    std::optional<int> lunarDay;
    bool lunarLeap = false;
    int kou = 0;              // the 七十二候 the day lies in, 0..71 (kouName)
    bool kouBegins = false;   // the 候 begins on this day
    bool setsuBegins = false; // a 節 begins on this day
    bool setsubun = false; // 節分, the eve of 立春 (the 恵方 of the coming 節 year is shown)
    std::vector<std::string> festivals; // 年中行事: "人日" .. "大晦日", "彼岸", "土用", "お盆"

    bool has(Senjitsu s) const;
    bool has(Gedan g) const;
};

struct YearNotes {
    int year = 0;
    bool precise = false;       // the Sun's moments: the precise mode's (else the solar theory's)
    int yearKyusei = 0;         // of the 節 year that begins at this year's 立春
    int setsuYearStem = 0;      // its stem, 0 = 甲
    std::string eho;            // its 恵方 (ehoName)
    std::vector<DayNotes> days; // January 1 .. December 31

    const DayNotes& day(int month, int dayOfMonth) const; // std::out_of_range for no such day
};

// Whether yearNotes computes the lunisolar calendar it is not given (for 不成就日, the lunisolar
// date and the moon age), or leaves those out as it does outside the calendar's years.
enum class LunarDates : std::uint8_t { Computed, Left };

// yearNotes: the notes of every day of year, the Sun's dates from sunOf (the engine of each
// year; YearNotes::precise says which sunOf(year) is). lunisolar is the year's lunisolar
// calendar when the caller has it; for years lunisolar::kFirstYear..kLastYear it is computed
// when null (unless lunarDates is Left), and outside them 不成就日, the lunisolar date and the
// moon age are absent. Throws std::out_of_range outside kFirstYear..kLastYear, and what the
// Sun's searches throw (CalculationError for unusable term tables).
YearNotes yearNotes(const SunMomentsOfYear& sunOf, int year,
                    const lunisolar::LunisolarYear* lunisolar = nullptr,
                    KyuseiRule rule = KyuseiRule::KoyomiNoPage,
                    LunarDates lunarDates = LunarDates::Computed);

} // namespace sorvane::notes
