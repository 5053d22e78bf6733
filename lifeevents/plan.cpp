// The dates of each kind, from the tables below and the conventions of rules.cpp.

#include "calendar/day_cycles.h"
#include "calendar/japanese_era.h"
#include "calendar/names.h"
#include "daysearch/day_facts.h"
#include "lifeevents/life_events.h"
#include "lunisolar/lunisolar_year.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace sorvane::lifeevents {

namespace {

// ---- The tables --------------------------------------------------------------------------

// A day counted from the birthday (day 1).
struct DayRule {
    const char* name;
    const char* key;
    int day;        // the day of life
    int windowFrom; // the candidates' window, days from the date
    int windowTo;
};
constexpr DayRule kOshichiya{"お七夜", "oshichiya", 7, 0, 0};
// Boys 31, girls 32; the alternative for girls 33. The window: from three days before to
// four weeks after (the custom keeps "about a month", moved for the weather and the mother).
constexpr DayRule kOmiyaBoy{"お宮参り", "omiyamairi", 31, -3, 28};
constexpr DayRule kOmiyaGirl{"お宮参り", "omiyamairi", 32, -3, 28};
constexpr DayRule kOmiyaGirlAlt{"お宮参り", "omiyamairi", 33, -3, 28};
// 100日目; the 110th and 120th days some regions keep close the window.
constexpr DayRule kOkuizome{"お食い初め", "okuizome", 100, 0, 20};

// The 中陰 and 百か日: the day counted from the 命日 (day 1); the window, the week before
// (a 法要 is moved earlier, not later).
struct ChuinRule {
    const char* name;
    const char* key;
    int day;
};
constexpr ChuinRule kChuin[] = {
    {"初七日", "shonanoka", 7},
    {"二七日", "futananoka", 14},
    {"三七日", "minanoka", 21},
    {"四七日", "yonanoka", 28},
    {"五七日（三十五日）", "itsunanoka", 35},
    {"六七日", "muyunanoka", 42},
    {"七七日（四十九日）", "shijukunichi", 49},
    {"百か日", "hyakkanichi", 100},
};
constexpr int kChuinWindow = 6;

// The 年忌: years after the 命日 (一周忌 one, N回忌 N − 1); the window, the two weeks before.
struct NenkiRule {
    const char* name;
    const char* key;
    int years;
};
constexpr NenkiRule kNenki[] = {
    {"一周忌", "isshuki", 1},
    {"三回忌", "sankaiki", 2},
    {"七回忌", "nanakaiki", 6},
    {"十三回忌", "jusankaiki", 12},
    {"十七回忌", "junanakaiki", 16},
    {"二十三回忌", "nijusankaiki", 22},
    {"二十七回忌", "nijunanakaiki", 26},
    {"三十三回忌", "sanjusankaiki", 32},
    {"三十七回忌", "sanjunanakaiki", 36},
    {"五十回忌", "gojukkaiki", 49},
};
constexpr int kNenkiWindow = 13;

// 厄年: the 本厄 in 数え年 and whether it is a 大厄.
struct YakuRule {
    Sex sex;
    int age;
    bool taiyaku;
};
constexpr YakuRule kYaku[] = {
    {Sex::Male, 25, false},   {Sex::Male, 42, true},   {Sex::Male, 61, false},
    {Sex::Female, 19, false}, {Sex::Female, 33, true}, {Sex::Female, 37, false},
    {Sex::Female, 61, false},
};

// 七五三: the ages by sex; 11月15日, the window a week either side.
struct ShichigosanRule {
    Sex sex;
    int age;
    const char* name;
    const char* key;
};
constexpr ShichigosanRule kShichigosan[] = {
    {Sex::Male, 3, "七五三（3歳）", "shichigosan-3"},
    {Sex::Male, 5, "七五三（5歳）", "shichigosan-5"},
    {Sex::Female, 3, "七五三（3歳）", "shichigosan-3"},
    {Sex::Female, 7, "七五三（7歳）", "shichigosan-7"},
};
constexpr int kShichigosanMonth = 11;
constexpr int kShichigosanDay = 15;
constexpr int kShichigosanWindow = 7;

// 十三参り: 数え13, 4月13日 (旧暦3月13日, the 虚空蔵菩薩's day), 3月13日..5月13日.
constexpr int kJusanAge = 13;

// 初節句: 3月3日 girls, 5月5日 boys; the window, the two weeks before.
constexpr int kSekkuWindow = 14;

// 成人: 満18歳 (the age of majority since 2022-04-01) and 満20歳.
constexpr int kSeinenAge = 18;
constexpr int kHatachiAge = 20;

// 帯祝い: 0週0日 is the due date less 280 days; 妊娠5か月 is 16週0日..19週6日.
constexpr int kPregnancyDays = 280;
constexpr int kFifthMonthFirst = 16 * 7;
constexpr int kFifthMonthLast = 19 * 7 + 6;
constexpr int kInuBranch = 10; // 戌, 子 = 0

// 年齢早見表: the birth years of the table, the year's back to a hundred years before.
constexpr int kAgeTableYears = 100;

// ---- Helpers -----------------------------------------------------------------------------

bool validDate(const CivilDate& d) {
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= daysInMonth(d.year, d.month);
}

std::string yearsText(int first, int last) {
    return std::to_string(first) + "〜" + std::to_string(last) + "年";
}

Result failure(Status status, const std::string& detail = {}) {
    Result r;
    r.status = status;
    r.message = statusMessage(status) + (detail.empty() ? "" : "（" + detail + "）");
    return r;
}

EventDate dayEvent(const std::string& name, const std::string& key, const CivilDate& date,
                   const std::string& note, int windowFrom, int windowTo) {
    EventDate e;
    e.name = name;
    e.key = key;
    e.date = date;
    e.year = date.year;
    e.note = note;
    e.windowFirst = addDays(date, windowFrom);
    e.windowLast = addDays(date, windowTo);
    return e;
}

EventDate lifeDay(const CivilDate& birth, const DayRule& rule) {
    return dayEvent(rule.name, rule.key, dayOfLife(birth, rule.day),
                    "生後" + std::to_string(rule.day) + "日目（生まれた日を1日目として）",
                    rule.windowFrom, rule.windowTo);
}

std::string eraText(int year) {
    const std::optional<EraYear> first = eraYearOf(year, 1, 1);
    const std::optional<EraYear> last = eraYearOf(year, 12, 31);
    if (!last) {
        return "";
    }
    if (!first) {
        return eraYearText(*last);
    }
    return *first == *last ? eraYearText(*first) : eraYearText(*first) + "・" + eraYearText(*last);
}

std::string sexagenaryText(int year) {
    return sexagenaryNames[yearSexagenary(year)];
}

// The JST date of 立春 of a year, from the day facts' solar terms (nullopt when the days do
// not reach it).
std::optional<CivilDate> risshun(const almanac::Days& days, int year) {
    const unsigned kinds = 1U << static_cast<int>(daysearch::Kind::SolarTerm);
    for (const daysearch::DayFacts& d :
         daysearch::yearFacts(days, CivilDate{year, 2, 1}, CivilDate{year, 2, 7}, kinds)) {
        for (const daysearch::Fact& f : d.of(daysearch::Kind::SolarTerm)) {
            if (f.name == "立春") {
                return d.date;
            }
        }
    }
    return std::nullopt;
}

// ---- The kinds ---------------------------------------------------------------------------

void omiyamairi(const CivilDate& birth, Sex sex, Plan& plan) {
    plan.dates.push_back(lifeDay(birth, sex == Sex::Male ? kOmiyaBoy : kOmiyaGirl));
    Alternative alt{conventions(Kind::Omiyamairi)[1].text, {}};
    alt.dates.push_back(lifeDay(birth, sex == Sex::Male ? kOmiyaBoy : kOmiyaGirlAlt));
    plan.alternatives.push_back(std::move(alt));
}

EventDate sekkuOf(const CivilDate& birth, Sex sex, bool byOmiyamairi) {
    const int month = sex == Sex::Male ? 5 : 3;
    const CivilDate thisYear{birth.year, month, month};
    CivilDate limit; // the 節句 must fall on or after this day to be kept in the birth year
    std::string note;
    if (byOmiyamairi) {
        limit = dayOfLife(birth, sex == Sex::Male ? kOmiyaBoy.day : kOmiyaGirl.day);
        note = "お宮参り（" + isoDateText(limit) + "）";
    } else {
        limit = CivilDate{birth.year, birth.month + 3, birth.day};
        if (limit.month > 12) {
            limit = CivilDate{birth.year + 1, limit.month - 12, birth.day};
        }
        limit.day = std::min(limit.day, daysInMonth(limit.year, limit.month));
        note = "生後3か月（" + isoDateText(limit) + "）";
    }
    const bool sameYear = thisYear >= limit; // the limit is after the birthday
    const CivilDate kept = sameYear ? thisYear : CivilDate{birth.year + 1, month, month};
    const std::string why = sameYear           ? "生まれた年の節句"
                            : thisYear < birth ? "生まれた年の節句は誕生より前のため翌年"
                                               : "生まれた年の節句が" + note + "より前のため翌年";
    EventDate e = dayEvent(month == 3 ? "初節句（桃の節句）" : "初節句（端午の節句）", "hatsuzekku",
                           kept, why, -kSekkuWindow, 0);
    return e;
}

void shichigosan(const CivilDate& birth, Sex sex, Plan& plan) {
    Alternative alt{conventions(Kind::Shichigosan)[1].text, {}};
    for (const ShichigosanRule& r : kShichigosan) {
        if (r.sex != sex) {
            continue;
        }
        const int kazoeYear = birth.year + r.age - 1;
        const CivilDate kazoe{kazoeYear, kShichigosanMonth, kShichigosanDay};
        plan.dates.push_back(dayEvent(r.name, r.key, kazoe,
                                      "数え" + std::to_string(r.age) + "歳の年",
                                      -kShichigosanWindow, kShichigosanWindow));
        // 満 N on 11月15日: born on or before 11月15日, in the year birth + N; after it, a
        // year later.
        const bool late =
            CivilDate{0, birth.month, birth.day} > CivilDate{0, kShichigosanMonth, kShichigosanDay};
        const CivilDate man{birth.year + r.age + (late ? 1 : 0), kShichigosanMonth,
                            kShichigosanDay};
        alt.dates.push_back(dayEvent(r.name, r.key, man,
                                     "11月15日に満" + std::to_string(r.age) + "歳",
                                     -kShichigosanWindow, kShichigosanWindow));
    }
    plan.alternatives.push_back(std::move(alt));
}

void jusanmairi(const CivilDate& birth, Plan& plan) {
    const auto entry = [](int year, const std::string& note) {
        EventDate e = dayEvent("十三参り", "jusanmairi", CivilDate{year, 4, 13}, note, 0, 0);
        e.windowFirst = CivilDate{year, 3, 13};
        e.windowLast = CivilDate{year, 5, 13};
        return e;
    };
    plan.dates.push_back(entry(birth.year + kJusanAge - 1, "数え13歳の年"));
    const bool late = CivilDate{0, birth.month, birth.day} > CivilDate{0, 4, 13};
    Alternative alt{conventions(Kind::Jusanmairi)[1].text, {}};
    alt.dates.push_back(entry(birth.year + kJusanAge + (late ? 1 : 0), "4月13日に満13歳"));
    plan.alternatives.push_back(std::move(alt));
}

void seijin(const CivilDate& birth, Plan& plan) {
    // 成年 by the civil code: 満20歳 until the reform of 2022-04-01, which made those then
    // 18 or 19 (born 2002-04-02 .. 2004-04-01) 成年 that day, and everyone after at 満18歳.
    const CivilDate reform{2022, 4, 1};
    const CivilDate at18 = sameDayYearsLater(birth, kSeinenAge);
    const CivilDate at20 = sameDayYearsLater(birth, kHatachiAge);
    CivilDate seinen = at18;
    std::string why = "満18歳の誕生日（2022年4月1日からの成年年齢）";
    if (at20 <= reform) {
        seinen = at20;
        why = "満20歳の誕生日（2022年3月31日までの成年年齢）";
    } else if (at18 <= reform) {
        seinen = reform;
        why = "2022年4月1日（成年年齢の引き下げの日に満18・19歳）";
    }
    plan.dates.push_back(dayEvent("成年", "seinen", seinen, why, 0, 0));
    for (const int age : {kSeinenAge, kHatachiAge}) {
        const CivilDate day = age == kSeinenAge ? at18 : at20;
        plan.dates.push_back(dayEvent(age == kSeinenAge ? "満18歳" : "二十歳（満20歳）",
                                      age == kSeinenAge ? "age-18" : "age-20", day,
                                      "満" + std::to_string(age) + "歳の誕生日" +
                                          (day.day != birth.day ? "（平年のため2月28日）" : ""),
                                      0, 0));
    }
}

void obiiwai(const CivilDate& due, Plan& plan) {
    const CivilDate zero = addDays(due, -kPregnancyDays);
    const CivilDate first = addDays(zero, kFifthMonthFirst);
    const CivilDate last = addDays(zero, kFifthMonthLast);
    plan.notes.push_back("妊娠0週0日（最終月経初日）は " + isoDateText(zero) + "、妊娠5か月は " +
                         isoDateText(first) + "〜" + isoDateText(last));
    bool firstInu = true;
    for (long long n = dayNumber(first); n <= dayNumber(last); ++n) {
        if ((kanshi(static_cast<double>(n)) - 1) % 12 != kInuBranch) {
            continue;
        }
        const CivilDate day = civilDate(n);
        const long long week = (n - dayNumber(zero)) / 7;
        const long long rest = (n - dayNumber(zero)) % 7;
        EventDate e =
            dayEvent(firstInu ? "帯祝い（最初の戌の日）" : "戌の日", "inu-" + isoDateText(day), day,
                     "妊娠" + std::to_string(week) + "週" + std::to_string(rest) + "日", 0, 0);
        if (firstInu) {
            // The candidates: every 戌の日 of the fifth month.
            e.windowFirst = first;
            e.windowLast = last;
            e.onlyInuNoHi = true;
        } else {
            e.windowFirst.reset();
            e.windowLast.reset();
        }
        firstInu = false;
        plan.dates.push_back(std::move(e));
    }
}

EventDate yakuEntry(const char* phase, const char* key, int age, int year, bool taiyaku,
                    const std::string& note) {
    EventDate e;
    e.name = std::string(phase) + (taiyaku && std::string(key) == "honyaku" ? "（大厄）" : "");
    e.key = std::string(key) + "-" + std::to_string(age) + "-" + std::to_string(year);
    e.year = year;
    e.age = age;
    e.taiyaku = taiyaku;
    e.note = note;
    return e;
}

// The 厄年 of a person: the years whose 数え年 is a 厄年, the years counted from
// birthYear (the civil year of birth; with the 立春 convention the 節 year).
std::vector<EventDate> yakuOfPerson(int birthYear, Sex sex, const std::string& span) {
    std::vector<EventDate> out;
    for (const YakuRule& r : kYaku) {
        if (r.sex != sex) {
            continue;
        }
        const int year = birthYear + r.age - 1;
        out.push_back(yakuEntry("前厄", "maeyaku", r.age - 1, year - 1, r.taiyaku, span));
        out.push_back(yakuEntry("本厄", "honyaku", r.age, year, r.taiyaku, span));
        out.push_back(yakuEntry("後厄", "atoyaku", r.age + 1, year + 1, r.taiyaku, span));
    }
    for (EventDate& e : out) {
        e.note = "数え" + std::to_string(*e.age) + "歳" + (e.taiyaku ? "・大厄の年回り" : "") +
                 (span.empty() ? "" : "、" + span);
    }
    return out;
}

// The birth years in 厄 in a year, for each sex asked.
std::vector<EventDate> yakuOfYear(int year, Sex sex) {
    std::vector<EventDate> out;
    for (const YakuRule& r : kYaku) {
        if (sex != Sex::Unknown && r.sex != sex) {
            continue;
        }
        const char* phases[] = {"前厄", "本厄", "後厄"};
        const char* keys[] = {"maeyaku", "honyaku", "atoyaku"};
        for (int i = 0; i < 3; ++i) {
            const int age = r.age - 1 + i;
            const int birthYear = year - age + 1;
            EventDate e;
            e.name = std::string(phases[i]) + "（" + sexName(r.sex) +
                     (r.taiyaku && i == 1 ? "・大厄" : "") + "）";
            e.key = std::string(keys[i]) + "-" + (r.sex == Sex::Male ? "m" : "f") + "-" +
                    std::to_string(age);
            e.year = birthYear;
            e.age = age;
            e.taiyaku = r.taiyaku;
            e.sexagenary = sexagenaryText(birthYear);
            e.era = eraText(birthYear);
            e.note = std::to_string(birthYear) + "年生まれ、数え" + std::to_string(age) + "歳";
            out.push_back(std::move(e));
        }
    }
    return out;
}

void hoyo(const CivilDate& death, Plan& plan) {
    Alternative kansai{conventions(Kind::Hoyo)[1].text, {}};
    for (const ChuinRule& r : kChuin) {
        plan.dates.push_back(dayEvent(r.name, r.key, dayOfLife(death, r.day),
                                      std::to_string(r.day) + "日目（亡くなった日を1日目として）",
                                      -kChuinWindow, 0));
        kansai.dates.push_back(dayEvent(
            r.name, r.key, dayOfLife(addDays(death, -1), r.day),
            std::to_string(r.day) + "日目（亡くなった日の前日を1日目として）", -kChuinWindow, 0));
    }
    for (const NenkiRule& r : kNenki) {
        const CivilDate day = sameDayYearsLater(death, r.years);
        plan.dates.push_back(dayEvent(r.name, r.key, day,
                                      std::to_string(r.years) + "年後の祥月命日" +
                                          (day.day != death.day ? "（平年のため2月28日）" : ""),
                                      -kNenkiWindow, 0));
    }
    plan.alternatives.push_back(std::move(kansai));
}

// The lunisolar months of the lunar year `lunarYear`, in order (those computed: 1900..2100).
std::vector<lunisolar::LunarMonth> lunarYearMonths(int lunarYear) {
    std::vector<lunisolar::LunarMonth> out;
    for (int year = lunarYear; year <= lunarYear + 1; ++year) {
        if (!lunisolar::inRange(year)) {
            continue;
        }
        const lunisolar::LunisolarYear y(year, lunisolar::Quarters::Left);
        // Months before the first 1月 of the civil year belong to the lunar year before.
        bool reachedFirst = false;
        for (const lunisolar::LunarMonth& m : y.months()) {
            if (m.number == 1 && !m.leap) {
                reachedFirst = true;
            }
            const int owner = reachedFirst ? year : year - 1;
            if (owner == lunarYear && (out.empty() || m.firstDay > out.back().firstDay)) {
                out.push_back(m);
            }
        }
    }
    return out;
}

// The lunar year a day belongs to (the year of the 1月 it follows).
int lunarYearOf(long long day, const lunisolar::LunisolarYear& year) {
    for (const lunisolar::LunarMonth& m : year.months()) {
        if (m.number == 1 && !m.leap && m.firstDay <= day) {
            return year.year();
        }
    }
    return year.year() - 1;
}

Status kyureki(const CivilDate& base, const Request& request, Plan& plan) {
    const bool birthday = request.kind == Kind::KyurekiTanjobi;
    const lunisolar::LunisolarYear baseYear(base.year, lunisolar::Quarters::Left);
    const long long baseDay = dayNumber(base);
    const lunisolar::LunarDay lunar = baseYear.day(baseDay);
    const int baseLunarYear = lunarYearOf(baseDay, baseYear);
    plan.notes.push_back(std::string(birthday ? "生まれた日" : "亡くなった日") + "は旧暦" +
                         lunisolar::lunarDateText(lunar));
    if (lunar.leap) {
        plan.notes.push_back("閏" + std::to_string(lunar.month) +
                             "月の日は、閏月のない年も祝えるよう平月の" +
                             std::to_string(lunar.month) + "月の同じ日とする");
    }
    const int from = request.year.value_or(request.today.year);
    const int to = from + std::max(1, request.years) - 1;
    if (from < kFirstLunarYear || to > kLastLunarYear) {
        return Status::OutsideSpan;
    }
    // The lunar years whose month falls in from..to: from the lunar year before from.
    for (int ly = std::max(baseLunarYear + 1, from - 1); ly <= to; ++ly) {
        const std::vector<lunisolar::LunarMonth> months = lunarYearMonths(ly);
        const auto month = std::find_if(months.begin(), months.end(), [&](const auto& m) {
            return m.number == lunar.month && !m.leap;
        });
        if (month == months.end()) {
            continue; // past 2100: the lunisolar calendar is not computed
        }
        const int day = std::min(lunar.day, month->days);
        const CivilDate date = civilDate(month->firstDay + day - 1);
        if (date.year < from || date.year > to) {
            continue;
        }
        const int count = ly - baseLunarYear;
        std::string note =
            "旧暦" + std::to_string(lunar.month) + "月" + std::to_string(day) + "日、" +
            (birthday ? "旧暦で満" + std::to_string(count) + "歳" : std::to_string(count) + "年目");
        if (day != lunar.day) {
            note += "（この年の旧暦" + std::to_string(lunar.month) + "月は29日まで）";
        }
        plan.dates.push_back(dayEvent(kindName(request.kind),
                                      std::string(kindKey(request.kind)) + "-" + std::to_string(ly),
                                      date, note, 0, 0));
    }
    return Status::Ok;
}

void ageTable(int year, Plan& plan) {
    for (int birth = year; birth >= year - kAgeTableYears; --birth) {
        EventDate e;
        e.name = std::to_string(birth) + "年生まれ";
        e.key = "born-" + std::to_string(birth);
        e.year = birth;
        e.age = year - birth;
        e.kazoe = year - birth + 1;
        e.sexagenary = sexagenaryText(birth);
        e.era = eraText(birth);
        e.note = "誕生日の後は満" + std::to_string(year - birth) + "歳、前は満" +
                 std::to_string(std::max(0, year - birth - 1)) + "歳";
        plan.dates.push_back(std::move(e));
    }
}

} // namespace

std::string statusMessage(Status status) {
    switch (status) {
    case Status::Ok:
        return "";
    case Status::ImpossibleDate:
        return "日付が正しくありません（存在しない日付です）";
    case Status::DueTooFar:
        return "出産予定日が今日から" + std::to_string(kMaxDueDays) + "日より先です";
    case Status::DeathInFuture:
        return "命日が今日より後の日付です";
    case Status::NeedsSex:
        return "この行事には男か女の指定が必要です";
    case Status::OutsideSpan:
        return "年がこの行事の計算範囲の外です";
    case Status::NeedsDate:
        return "この行事には日付が必要です";
    case Status::NeedsYear:
        return "この行事には年が必要です";
    }
    return "";
}

const char* sexName(Sex sex) {
    switch (sex) {
    case Sex::Male:
        return "男";
    case Sex::Female:
        return "女";
    case Sex::Unknown:
        return "";
    }
    return "";
}

Input inputOf(Kind kind) {
    switch (kind) {
    case Kind::Obiiwai:
        return Input::DueDate;
    case Kind::Hoyo:
    case Kind::KyurekiMeinichi:
        return Input::DeathDay;
    case Kind::AgeTable:
        return Input::Year;
    case Kind::Yakudoshi:
        return Input::BirthdayOrYear;
    default:
        return Input::Birthday;
    }
}

bool needsSex(Kind kind) {
    return kind == Kind::Omiyamairi || kind == Kind::Hatsuzekku || kind == Kind::Shichigosan ||
           kind == Kind::Yakudoshi;
}

bool takesYear(Kind kind) {
    const Input input = inputOf(kind);
    return kind == Kind::KyurekiTanjobi || kind == Kind::KyurekiMeinichi || input == Input::Year ||
           input == Input::BirthdayOrYear;
}

std::optional<Sex> sexOfName(std::string_view name) {
    if (name == "男" || name == "男の子" || name == "male" || name == "m") {
        return Sex::Male;
    }
    if (name == "女" || name == "女の子" || name == "female" || name == "f") {
        return Sex::Female;
    }
    return std::nullopt;
}

CivilDate dayOfLife(const CivilDate& start, int n) {
    return addDays(start, n - 1);
}

CivilDate sameDayYearsLater(const CivilDate& date, int years) {
    CivilDate d{date.year + years, date.month, date.day};
    d.day = std::min(d.day, daysInMonth(d.year, d.month));
    return d;
}

Result planDates(const Request& request, const almanac::Days* days) {
    const Kind kind = request.kind;
    const Input input = inputOf(kind);
    const bool byYear =
        input == Input::Year || (input == Input::BirthdayOrYear && !request.date && request.year);
    // The year tables.
    if (byYear) {
        if (!request.year) {
            return failure(Status::NeedsYear, "--year YYYY");
        }
        if (*request.year < kFirstYear || *request.year > kLastYear) {
            return failure(Status::OutsideSpan, std::to_string(*request.year) + "年、" +
                                                    yearsText(kFirstYear, kLastYear) + "のみ");
        }
        Result r;
        r.plan.kind = kind;
        r.plan.year = request.year;
        r.plan.sex = request.sex;
        r.plan.convention = conventions(kind)[0].text;
        if (kind == Kind::AgeTable) {
            ageTable(*request.year, r.plan);
        } else {
            r.plan.dates = yakuOfYear(*request.year, request.sex);
            if (days != nullptr) {
                // With the 立春 convention a birth year runs from its 立春 to the next 節分.
                Alternative alt{conventions(kind)[1].text, yakuOfYear(*request.year, request.sex)};
                for (EventDate& e : alt.dates) {
                    const std::optional<CivilDate> from = risshun(*days, *e.year);
                    const std::optional<CivilDate> next = risshun(*days, *e.year + 1);
                    if (from && next) {
                        e.note = isoDateText(*from) + "〜" + isoDateText(addDays(*next, -1)) +
                                 "生まれ、数え" + std::to_string(*e.age) + "歳";
                    }
                }
                r.plan.alternatives.push_back(std::move(alt));
            }
        }
        return r;
    }
    if (!request.date) {
        return failure(Status::NeedsDate, "--date YYYY-MM-DD");
    }
    const CivilDate date = *request.date;
    if (!validDate(date)) {
        return failure(Status::ImpossibleDate, std::to_string(date.year) + "年" +
                                                   std::to_string(date.month) + "月" +
                                                   std::to_string(date.day) + "日");
    }
    const bool lunar = kind == Kind::KyurekiTanjobi || kind == Kind::KyurekiMeinichi;
    const int first = lunar ? kFirstLunarYear : kFirstYear;
    const int last = lunar ? kLastLunarYear : kLastYear;
    if (date.year < first || date.year > last) {
        return failure(Status::OutsideSpan,
                       isoDateText(date) + "、" + yearsText(first, last) + "のみ");
    }
    if (input == Input::DeathDay && date > request.today) {
        return failure(Status::DeathInFuture,
                       isoDateText(date) + "、今日は" + isoDateText(request.today));
    }
    if (input == Input::DueDate && dayNumber(date) - dayNumber(request.today) > kMaxDueDays) {
        return failure(Status::DueTooFar,
                       isoDateText(date) + "、今日は" + isoDateText(request.today));
    }
    if (needsSex(kind) && request.sex == Sex::Unknown) {
        return failure(Status::NeedsSex, "--sex 男 か --sex 女");
    }
    Result r;
    Plan& plan = r.plan;
    plan.kind = kind;
    plan.date = date;
    plan.sex = request.sex;
    plan.convention = conventions(kind)[0].text;
    switch (kind) {
    case Kind::Oshichiya:
        plan.dates.push_back(lifeDay(date, kOshichiya));
        break;
    case Kind::Omiyamairi:
        omiyamairi(date, request.sex, plan);
        break;
    case Kind::Okuizome:
        plan.dates.push_back(lifeDay(date, kOkuizome));
        break;
    case Kind::Hatsuzekku:
        plan.dates.push_back(sekkuOf(date, request.sex, true));
        plan.alternatives.push_back(
            Alternative{conventions(kind)[1].text, {sekkuOf(date, request.sex, false)}});
        break;
    case Kind::Shichigosan:
        shichigosan(date, request.sex, plan);
        break;
    case Kind::Jusanmairi:
        jusanmairi(date, plan);
        break;
    case Kind::Seijin:
        seijin(date, plan);
        break;
    case Kind::Obiiwai:
        obiiwai(date, plan);
        break;
    case Kind::Yakudoshi: {
        plan.dates = yakuOfPerson(date.year, request.sex, "");
        if (days != nullptr) {
            const std::optional<CivilDate> start = risshun(*days, date.year);
            if (start) {
                const bool before = date < *start;
                Alternative alt{conventions(kind)[1].text,
                                yakuOfPerson(before ? date.year - 1 : date.year, request.sex,
                                             "各年の立春から翌年の節分まで")};
                if (before) {
                    plan.notes.push_back(
                        "立春（" + isoDateText(*start) +
                        "）より前の生まれ：立春で年を改める慣わしでは前の年の生まれとして見る");
                }
                plan.alternatives.push_back(std::move(alt));
            }
        }
        break;
    }
    case Kind::Hoyo:
        hoyo(date, plan);
        break;
    case Kind::KyurekiTanjobi:
    case Kind::KyurekiMeinichi:
        if (const Status s = kyureki(date, request, plan); s != Status::Ok) {
            return failure(s, yearsText(kFirstLunarYear, kLastLunarYear) + "のみ");
        }
        break;
    case Kind::AgeTable:
        break;
    }
    return r;
}

Result plan(const Request& request, const almanac::Days& days) {
    Result r = planDates(request, &days);
    if (r.status == Status::Ok) {
        r.plan.candidates = rankCandidates(r.plan.dates, days);
    }
    return r;
}

} // namespace sorvane::lifeevents
