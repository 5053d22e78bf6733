// The parts of the plans that rest on the calendar: the lunisolar anniversaries against the
// lunisolar reference of tests/lunisolar/ (months from swetest's new moons and 中気), and the
// candidate days against the published 六曜, 選日 and holidays the other suites check with.
#include "calendar/civil_date.h"
#include "lifeevents/life_events.h"
#include "support/test_support.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace sorvane::lifeevents {
namespace {

CivilDate d(int y, int m, int day) {
    return CivilDate{y, m, day};
}

CivilDate parseIso(const std::string& text) {
    return CivilDate{std::stoi(text.substr(0, 4)), std::stoi(text.substr(5, 2)),
                     std::stoi(text.substr(8, 2))};
}

struct RefMonth {
    long long first = 0;
    int number = 0;
    bool leap = false;
    int days = 0;
};

// The months of tests/lunisolar/lunisolar-reference-1900-2100.tsv.
const std::vector<RefMonth>& referenceMonths() {
    static const std::vector<RefMonth> months = [] {
        std::vector<RefMonth> out;
        std::ifstream in(SORVANE_SOURCE_DIR "/tests/lunisolar/lunisolar-reference-1900-2100.tsv");
        std::string line;
        while (std::getline(in, line)) {
            const std::vector<std::string> f = sorvane::testing::tabFields(line);
            if (f.size() == 5 && f[0] == "month") {
                out.push_back(
                    {dayNumber(parseIso(f[1])), std::stoi(f[2]), f[3] == "1", std::stoi(f[4])});
            }
        }
        return out;
    }();
    return months;
}

std::size_t monthIndexOf(long long day) {
    const std::vector<RefMonth>& m = referenceMonths();
    for (std::size_t i = 0; i + 1 < m.size(); ++i) {
        if (m[i].first <= day && day < m[i + 1].first) {
            return i;
        }
    }
    ADD_FAILURE() << "no reference month holds day " << day;
    return 0;
}

// The anniversaries by the reference: every ordinary month of the birth's number after the
// birth's month, on its day or its last day, whose date falls in from..to.
std::vector<CivilDate> referenceAnniversaries(const CivilDate& base, int from, int to) {
    const std::vector<RefMonth>& m = referenceMonths();
    const std::size_t i = monthIndexOf(dayNumber(base));
    const int day = static_cast<int>(dayNumber(base) - m[i].first) + 1;
    std::vector<CivilDate> out;
    for (std::size_t j = i + 1; j < m.size(); ++j) {
        if (m[j].number == m[i].number && !m[j].leap) {
            const CivilDate date = civilDate(m[j].first + std::min(day, m[j].days) - 1);
            if (date.year >= from && date.year <= to) {
                out.push_back(date);
            }
        }
    }
    return out;
}

// 旧暦誕生日 and 旧暦命日: the rule of the issue (a 閏月 date recurs on the ordinary month, a 30th
// in a 29-day month on the 29th), as divination.page/2024/03/birthday.html 「【図解】新暦と旧暦の
// 対応|旧暦の誕生日とは?」 describes the lunisolar birthday, checked against the reference months.
TEST(LifeEventCalendar, LunisolarAnniversariesFollowTheReferenceMonths) {
    struct Case {
        const char* what;
        Kind kind;
        CivilDate base;
        int from;
        std::vector<CivilDate> spot; // read off the reference table by hand
    };
    const Case cases[] = {
        // 2023-04-01 is 閏2月11日 (閏2月 from 2023-03-22); 2月 of 2024 begins 2024-03-10,
        // of 2025 2025-02-28.
        {"閏2月11日", Kind::KyurekiTanjobi, d(2023, 4, 1), 2024, {d(2024, 3, 20), d(2025, 3, 10)}},
        // 2023-05-19 is 3月30日; 3月 of 2024 (from 2024-04-09) has 29 days, of 2025 30.
        {"3月30日", Kind::KyurekiTanjobi, d(2023, 5, 19), 2024, {d(2024, 5, 7), d(2025, 4, 27)}},
        // 2024-01-16 is 12月6日 of the lunar year 2023: its anniversaries fall in January.
        {"12月6日", Kind::KyurekiMeinichi, d(2024, 1, 16), 2024, {d(2025, 1, 5), d(2026, 1, 24)}},
        {"1900", Kind::KyurekiTanjobi, d(1900, 3, 1), 1901, {}},
        {"2090", Kind::KyurekiMeinichi, d(2090, 8, 30), 2091, {}},
    };
    for (const Case& c : cases) {
        Request r;
        r.kind = c.kind;
        r.date = c.base;
        r.year = c.from;
        r.years = 10;
        r.today = d(2100, 12, 31);
        const Result result = planDates(r, nullptr);
        ASSERT_EQ(result.status, Status::Ok) << c.what << ": " << result.message;
        std::vector<CivilDate> got;
        for (const EventDate& e : result.plan.dates) {
            got.push_back(*e.date);
        }
        EXPECT_EQ(got, referenceAnniversaries(c.base, c.from, c.from + 9)) << c.what;
        // One a lunar year: nine to eleven in ten civil years (a 12月 date may fall in
        // January one year and in December the next).
        EXPECT_GE(got.size(), 9U) << c.what;
        EXPECT_LE(got.size(), 11U) << c.what;
        for (std::size_t i = 0; i < c.spot.size() && i < got.size(); ++i) {
            EXPECT_EQ(got[i], c.spot[i]) << c.what;
        }
    }
    // The span ends with the lunisolar calendar's.
    Request late;
    late.kind = Kind::KyurekiTanjobi;
    late.date = d(2000, 1, 1);
    late.year = 2095;
    late.years = 10;
    late.today = d(2026, 12, 9);
    EXPECT_EQ(planDates(late, nullptr).status, Status::OutsideSpan);
}

// The same anniversaries against dates published for a lunisolar day in a later year, each
// page giving the civil date on which a lunisolar month and day fell:
// - koyomi8.com/doc/mlwa/200702200.htm 「記念日考 ・・・ その2」 (こよみのページ, read
//   2026-12-09): one born 2007-02-19, 旧暦 1月2日, has the next lunisolar birthday 354 days on,
//   2008-02-08.
// - flex.okinawa/event/hinukan-1-15 「ヒヌカンの旧暦1日と15日がわかる早見表・2019年版」 (read
//   2026-12-09): 旧暦 8月15日 = 2019-09-13, 10月1日 = 2019-10-28, 12月1日 = 2019-12-26.
// - ryuukyuu.co.jp/column_category/gyouji 「沖縄旧暦カレンダー2026」 (read 2026-12-09):
//   2026-02-17 is 旧暦 1月1日.
// The base days are the same lunisolar days a year before, from the reference months.
TEST(LifeEventCalendar, LunisolarAnniversariesFallOnThePublishedDates) {
    struct Case {
        const char* source;
        Kind kind;
        CivilDate base;
        int year;
        CivilDate published;
    };
    const Case cases[] = {
        {"koyomi8 旧1月2日", Kind::KyurekiTanjobi, d(2007, 2, 19), 2008, d(2008, 2, 8)},
        {"flex.okinawa 旧8月15日", Kind::KyurekiMeinichi, d(2018, 9, 24), 2019, d(2019, 9, 13)},
        {"flex.okinawa 旧10月1日", Kind::KyurekiMeinichi, d(2018, 11, 8), 2019, d(2019, 10, 28)},
        {"flex.okinawa 旧12月1日", Kind::KyurekiTanjobi, d(2019, 1, 6), 2019, d(2019, 12, 26)},
        {"ryuukyuu 旧1月1日", Kind::KyurekiMeinichi, d(2025, 1, 29), 2026, d(2026, 2, 17)},
    };
    for (const Case& c : cases) {
        Request r;
        r.kind = c.kind;
        r.date = c.base;
        r.year = c.year;
        r.years = 1;
        r.today = d(2026, 12, 9);
        const Result result = planDates(r, nullptr);
        ASSERT_EQ(result.status, Status::Ok) << c.source << ": " << result.message;
        std::vector<CivilDate> got;
        for (const EventDate& e : result.plan.dates) {
            got.push_back(*e.date);
        }
        EXPECT_NE(std::find(got.begin(), got.end(), c.published), got.end()) << c.source;
        EXPECT_EQ(got.size(), 1U) << c.source;
    }
}

// ---- Candidates ----------------------------------------------------------------------------

std::set<CivilDate> published(const char* name) {
    std::set<CivilDate> out;
    std::ifstream in(SORVANE_SOURCE_DIR "/tests/notes/published-senjitsu.tsv");
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> f = sorvane::testing::tabFields(line);
        if (f.size() == 2 && f[0] == name) {
            out.insert(parseIso(f[1]));
        }
    }
    return out;
}

std::set<CivilDate> cabinetOfficeHolidays() {
    std::set<CivilDate> out;
    std::ifstream in(SORVANE_SOURCE_DIR "/tests/holidays/cabinet-office-holidays.csv");
    std::string line;
    while (std::getline(in, line)) {
        if (line.size() > 10 && line[0] != '#' && line[4] == '-') {
            out.insert(parseIso(line.substr(0, 10)));
        }
    }
    return out;
}

// The 六曜 of the reference months: (month + day) mod 6, 0 大安 .. 5 仏滅 (the rule every almanac
// prints, applied to swetest's months, not to the program's).
std::string referenceRokuyo(const CivilDate& date) {
    static const char* names[] = {"大安", "赤口", "先勝", "友引", "先負", "仏滅"};
    const std::size_t i = monthIndexOf(dayNumber(date));
    const RefMonth& m = referenceMonths()[i];
    const int day = static_cast<int>(dayNumber(date) - m.first) + 1;
    return names[(m.number + day) % 6];
}

bool hasReason(const Candidate& c, const std::string& start) {
    return std::any_of(c.reasons.begin(), c.reasons.end(),
                       [&](const std::string& r) { return r.starts_with(start); });
}

TEST(LifeEventCalendar, CandidatesCarryThePublishedRokuyoSenjitsuAndHolidays) {
    const almanac::Days days(sorvane::testing::shippedTables(), almanac::Minutes::Observatory);
    const std::set<CivilDate> tensha = published("天赦日");
    const std::set<CivilDate> ichiryu = published("一粒万倍日");
    const std::set<CivilDate> fujoju = published("不成就日");
    const std::set<CivilDate> holidays = cabinetOfficeHolidays();
    ASSERT_EQ(tensha.size(), 6U);
    ASSERT_FALSE(fujoju.empty());

    struct Case {
        const char* what;
        Kind kind;
        CivilDate date;
        Sex sex;
        CivilDate today;
    };
    const Case cases[] = {
        // お宮参り of a girl born 2026-04-04: the window 2026-05-02..06-02 holds 5/4, a
        // holiday and a 天赦日.
        {"お宮参り 2026", Kind::Omiyamairi, d(2026, 4, 4), Sex::Female, d(2026, 12, 9)},
        // お食い初め of a child born 2025-01-25: 2025-05-04..05-24, with 不成就日 5/9, 5/17.
        {"お食い初め 2025", Kind::Okuizome, d(2025, 1, 25), Sex::Unknown, d(2026, 12, 9)},
        // 法要 of 2025-02-01: the 中陰 in 2025, the 一周忌 in 2026.
        {"法要 2025", Kind::Hoyo, d(2025, 2, 1), Sex::Unknown, d(2026, 12, 9)},
    };
    for (const Case& c : cases) {
        Request r;
        r.kind = c.kind;
        r.date = c.date;
        r.sex = c.sex;
        r.today = c.today;
        const Result result = plan(r, days);
        ASSERT_EQ(result.status, Status::Ok) << c.what;
        ASSERT_FALSE(result.plan.candidates.empty()) << c.what;
        for (const Candidate& cand : result.plan.candidates) {
            const std::string at = std::string(c.what) + " " + isoDateText(cand.date);
            EXPECT_EQ(cand.rokuyo, referenceRokuyo(cand.date)) << at;
            if (cand.date.year == 2026) {
                EXPECT_EQ(hasReason(cand, "天赦日"), tensha.contains(cand.date)) << at;
                EXPECT_EQ(hasReason(cand, "一粒万倍日"), ichiryu.contains(cand.date)) << at;
                EXPECT_EQ(hasReason(cand, "祝日"), holidays.contains(cand.date)) << at;
            }
            if (cand.date.year == 2025) {
                EXPECT_EQ(hasReason(cand, "不成就日"), fujoju.contains(cand.date)) << at;
                EXPECT_EQ(hasReason(cand, "祝日"), holidays.contains(cand.date)) << at;
            }
            const bool weekend = cand.weekday == "土" || cand.weekday == "日";
            EXPECT_EQ(cand.rest, weekend || holidays.contains(cand.date)) << at;
        }
    }
    // The window of the お宮参り: 5/4 (みどりの日, 天赦日, 友引) is ranked among the best, and no
    // candidate is a 仏滅 or 赤口 while the window holds three rest days that are neither.
    Request omiya;
    omiya.kind = Kind::Omiyamairi;
    omiya.date = d(2026, 4, 4);
    omiya.sex = Sex::Female;
    omiya.today = d(2026, 12, 9);
    const Result r = plan(omiya, days);
    ASSERT_EQ(r.plan.candidates.size(), 3U);
    EXPECT_TRUE(
        std::any_of(r.plan.candidates.begin(), r.plan.candidates.end(), [](const Candidate& c) {
            return c.date == CivilDate{2026, 5, 4};
        }));
    for (const Candidate& c : r.plan.candidates) {
        EXPECT_TRUE(c.rest) << isoDateText(c.date);
        EXPECT_NE(c.rokuyo, "仏滅") << isoDateText(c.date);
        EXPECT_NE(c.rokuyo, "赤口") << isoDateText(c.date);
    }
}

// 帯祝い's candidates are the 戌の日 of the fifth month only (the published 戌の日 of
// 2019-12 .. 2020-01: report.interreg4c.eu/xuxyrelu45069.html, こそだてハック's calendar).
TEST(LifeEventCalendar, ObiiwaiCandidatesAreInuNoHi) {
    const almanac::Days days(sorvane::testing::shippedTables(), almanac::Minutes::Observatory);
    Request r;
    r.kind = Kind::Obiiwai;
    r.date = d(2020, 6, 1);
    r.today = d(2019, 10, 1);
    const Result result = plan(r, days);
    ASSERT_EQ(result.status, Status::Ok);
    const std::set<CivilDate> inu = {d(2019, 12, 27), d(2020, 1, 8)};
    ASSERT_EQ(result.plan.candidates.size(), 2U);
    for (const Candidate& c : result.plan.candidates) {
        EXPECT_TRUE(inu.contains(c.date)) << isoDateText(c.date);
    }
}

// Past the lunisolar calendar's years a candidate says its 六曜 is not known, and no 六曜 is
// given (a 五十回忌 of 2060 falls in 2109).
TEST(LifeEventCalendar, CandidatesBeyondTheCalendarsReachSaySo) {
    const almanac::Days days(sorvane::testing::shippedTables(), almanac::Minutes::Observatory);
    Request r;
    r.kind = Kind::Hoyo;
    r.date = d(2060, 3, 1);
    r.today = d(2060, 3, 2);
    const Result result = plan(r, days);
    ASSERT_EQ(result.status, Status::Ok);
    bool seen = false;
    for (const Candidate& c : result.plan.candidates) {
        if (c.date.year > 2100) {
            seen = true;
            EXPECT_TRUE(c.rokuyo.empty());
            EXPECT_TRUE(hasReason(c, "六曜は")) << isoDateText(c.date);
        }
    }
    EXPECT_TRUE(seen);
}

} // namespace
} // namespace sorvane::lifeevents
