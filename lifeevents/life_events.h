// The days of a family's life planned by the calendar: the celebrations of a child (お七夜 ..
// 成人), 帯祝い on a 戌の日, 厄年, the 法要 after a death, the anniversaries kept by the lunisolar
// date, and the table of ages of a year. Each rule is data (rules.cpp) with the convention it
// follows and the page it was taken from; the alternatives people also keep are given beside
// the default. No clock is read: the caller passes today's date.
//
// Days are counted as the customs count them: the day of birth (or of death) is day 1, so the
// "生後31日目" is 30 days after the birthday. (The 母子手帳 counts the day of birth as day 0:
// its 生後30日 is the same day as the customs' 31日目.)
#pragma once

#include "almanac/days.h"
#include "calendar/civil_date.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace sorvane::lifeevents {

enum class Kind {
    Oshichiya,       // お七夜: 生後7日目
    Omiyamairi,      // お宮参り: 男31日目, 女32日目 (33日目 the alternative)
    Okuizome,        // お食い初め: 生後100日目
    Hatsuzekku,      // 初節句: 3/3 girls, 5/5 boys
    Shichigosan,     // 七五三: 男 3・5, 女 3・7 (数え年; 満年齢 the alternative)
    Jusanmairi,      // 十三参り: 数え13
    Seijin,          // 成人: 満18歳 (成年), 満20歳
    Obiiwai,         // 帯祝い: the 戌の日 of 妊娠5か月, from the due date
    Yakudoshi,       // 厄年: of a person (a birthday) or of a year (the birth years in 厄)
    Hoyo,            // 法要: 初七日 .. 百か日, 一周忌 .. 五十回忌
    KyurekiTanjobi,  // 旧暦誕生日: the birthday by its lunisolar date
    KyurekiMeinichi, // 旧暦命日: the day of death by its lunisolar date
    AgeTable,        // 年齢早見表: a year's birth years with their ages, 干支 and era years
};
inline constexpr int kKindCount = 13;

// The kind's name ("お宮参り"); its ASCII key for UIDs and options ("omiyamairi").
const char* kindName(Kind kind);
const char* kindKey(Kind kind);
// The kind a name means: its name, its reading in hiragana (おみやまいり), a common other
// writing (初宮参り, 百日祝い, 戌の日, 法事, 年齢) or its key; nullopt when none.
std::optional<Kind> kindOfName(std::string_view name);
// Every name kindOfName takes for the kind, its own name first (for help texts).
std::vector<std::string> kindNames(Kind kind);

// What a kind takes: a birthday, a due date, a 命日, or a year.
enum class Input { Birthday, DueDate, DeathDay, Year, BirthdayOrYear };
Input inputOf(Kind kind);
// Whether the kind needs 男/女 (お宮参り, 初節句, 七五三, 厄年 of a person).
bool needsSex(Kind kind);
// Whether the kind reads a year: the year tables (年齢, 厄年 of a year) and the first year of
// the lunisolar anniversaries (旧暦誕生日, 旧暦命日).
bool takesYear(Kind kind);

enum class Sex { Unknown, Male, Female };
const char* sexName(Sex sex); // "男", "女", ""
// The sex a word names: 男, 男の子, male, m (and 女 ..); nullopt for any other word.
std::optional<Sex> sexOfName(std::string_view name);

// Why a request cannot be answered.
enum class Status {
    Ok,
    ImpossibleDate, // the date does not exist (2026-02-30) or could not be read
    DueTooFar,      // a due date more than 300 days after today
    DeathInFuture,  // a 命日 after today
    NeedsSex,       // the kind needs 男 or 女
    OutsideSpan,    // the date or year lies outside the years the rule is given for
    NeedsDate,      // the kind needs a date and none was given
    NeedsYear,      // the kind needs a year and none was given
};
// The Japanese message of a status, naming what is wrong ("命日が今日より後です").
std::string statusMessage(Status status);

// Where a rule was taken from.
struct Source {
    const char* url;
    const char* title;
    const char* read; // the date it was read: "2026-12-09"
};

// One convention of a rule: how it is kept, and where that is written.
struct Convention {
    const char* text; // "生まれた日を1日目として男の子は31日目、女の子は32日目"
    std::vector<Source> sources;
};

// The conventions of a kind: the default first, then the alternatives (each one way of
// keeping the rule that Plan::alternatives lists).
const std::vector<Convention>& conventions(Kind kind);

// A request: the kind, the date it takes (or the year), 男/女 when needed, today's date.
struct Request {
    Kind kind = Kind::Oshichiya;
    std::optional<CivilDate> date; // the birthday, due date or 命日 (as inputOf says)
    std::optional<int> year; // 厄年 and 年齢: the year of the table; 旧暦: the first year
    Sex sex = Sex::Unknown;
    CivilDate today;
    int years = 10; // 旧暦誕生日/命日: how many years of anniversaries, from year (or today's)
};

// One date of a plan (or a year, for the entries of a year table).
struct EventDate {
    std::string name; // "お宮参り", "七回忌", "本厄", "満3歳"
    std::string key;  // ASCII, unique in the plan and the same from run to run: "nanakaiki"
    std::optional<CivilDate> date;
    std::optional<int> year; // the year the entry is of (厄年, 七五三, the tables)
    std::string note; // how it was counted: "生後31日目（誕生日を1日目として）"
    // The customary days around the date whose candidates are ranked (none: no ranking).
    std::optional<CivilDate> windowFirst;
    std::optional<CivilDate> windowLast;
    bool onlyInuNoHi = false; // the candidates are the 戌の日 of the window only
    // The table rows: the birth year's ages and names (年齢早見表, 厄年 of a year).
    std::optional<int> age; // 数え年 (厄年) or 満年齢 after the birthday (年齢早見表)
    std::optional<int> kazoe; // 数え年 (年齢早見表)
    std::string sexagenary;   // the birth year's 干支: "丙午"
    std::string era;          // the birth year's era years: "昭和64年・平成元年"
    bool taiyaku = false;     // 大厄
};

struct Alternative {
    std::string convention;
    std::vector<EventDate> dates;
};

// A day of a customary window, with what speaks for and against it.
struct Candidate {
    std::string forKey;  // EventDate::key of the date it is for
    std::string forName; // its name
    CivilDate date;
    std::string weekday; // 日 .. 土
    std::string rokuyo;  // "" outside the lunisolar calendar's years
    std::vector<std::string> reasons;
    int score = 0;     // higher is better; the ranking's order, not a measure
    bool rest = false; // a Saturday, Sunday or holiday
};

struct Plan {
    Kind kind = Kind::Oshichiya;
    std::optional<CivilDate> date;
    std::optional<int> year;
    Sex sex = Sex::Unknown;
    std::string convention; // the default convention followed
    std::vector<EventDate> dates;
    std::vector<Alternative> alternatives;
    std::vector<Candidate> candidates; // per date, best first (candidatesPerDate at most)
    std::vector<std::string> notes;    // what the reader should know (a 閏月 birth ..)
};

struct Result {
    Status status = Status::Ok;
    std::string message; // statusMessage(status) with the detail ("" when Ok)
    Plan plan;
};

// The spans the rules are given for: dates from Japan's Gregorian calendar (1873) to the
// last year of the holidays and the lunisolar calendar; the lunisolar anniversaries in the
// lunisolar calendar's years.
inline constexpr int kFirstYear = 1873;
inline constexpr int kLastYear = 2100;
inline constexpr int kFirstLunarYear = 1900;
inline constexpr int kLastLunarYear = 2100;
// A due date may lie at most this many days after today.
inline constexpr int kMaxDueDays = 300;
// The candidates kept for each date.
inline constexpr int kCandidatesPerDate = 3;

// The plan of a request: its dates in the default convention, the alternatives, and the
// candidate days of each date's window ranked (through days: the day facts of the day
// search). A request that cannot be answered gives its status and message and an empty
// plan. Throws only what the day service throws (unreadable term files).
Result plan(const Request& request, const almanac::Days& days);

// The plan's dates without candidates (no day facts are computed): for callers that show the
// dates alone, and for the tests of the rules. The 立春 alternative of 厄年 needs the days'
// solar terms: it is left out when days is null.
Result planDates(const Request& request, const almanac::Days* days);

// The candidates of the plan's dates ranked through the day facts of days, best first.
std::vector<Candidate> rankCandidates(const std::vector<EventDate>& dates,
                                      const almanac::Days& days);

// The date N days of life after start, start being day 1 (dayOfLife(b, 31) is b + 30).
CivilDate dayOfLife(const CivilDate& start, int n);
// The same month and day years later; 29 February becomes 28 February in a common year.
CivilDate sameDayYearsLater(const CivilDate& date, int years);

} // namespace sorvane::lifeevents
