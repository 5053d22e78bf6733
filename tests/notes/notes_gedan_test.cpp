// The 暦注下段 against published sources: each month table as an almanac writer prints it,
// and the days of real years as almanac sites list them.
#include "almanac/coverage.h"
#include "calendar/civil_date.h"
#include "notes/notes.h"
#include "support/test_support.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace sorvane;
using namespace sorvane::notes;

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

constexpr const char* kStems = "甲乙丙丁戊己庚辛壬癸";
constexpr const char* kBranches = "子丑寅卯辰巳午未申酉戌亥";

// The index of a one-character stem or branch in its list (3 bytes a character in UTF-8).
int indexIn(const std::string& list, const std::string& ch) {
    const std::size_t at = list.find(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at / 3);
}

bool hasGedan(const std::vector<Gedan>& list, Gedan g) {
    return std::find(list.begin(), list.end(), g) != list.end();
}

// The day-by-month table of こよみの読み方(69) 下段(3), as printed (columns 復日, 帰忌, 血忌,
// 黒日 = 受死日, 十死), 正月 (立春) first:
// http://www.ffortune.net/calen/calen/yomi99/yomi069.htm, 「こよみの読み方(69)下段(3)」,
// read 2026-12-09. 受死日 and 十死日 agree with 7key.jp's 暦注下段
// (http://www.7key.jp/data/gedan.html, 「暦注下段」, read 2026-12-09), 復日 with ウィキペディア
// 「暦注下段」 as quoted by weblio (子月・午月 丁癸 .. 巳月・亥月 丙壬; read 2026-12-09), and
// 帰忌日 (正月丑, 二月寅) with 国立国会図書館 「日本の暦」 第三章 吉凶を表す言葉③下段
// (https://www.ndl.go.jp/koyomi/chapter3/s5.html, read 2026-12-09).
TEST(NotesGedan, MonthTablesOfThePrintedAlmanac) {
    const char* rows[12] = {
        "甲庚 丑 丑 戌 酉", "乙辛 寅 未 辰 巳", "戊己 子 寅 亥 丑", "丙壬 丑 申 巳 酉",
        "丁癸 寅 卯 子 巳", "戊己 子 酉 午 丑", "甲庚 丑 辰 丑 酉", "乙辛 寅 戌 未 巳",
        "戊己 子 巳 寅 丑", "丙壬 丑 亥 申 酉", "丁癸 寅 午 卯 巳", "戊己 子 子 酉 丑",
    };
    const std::string stems = kStems;
    const std::string branches = kBranches;
    for (int month = 0; month < 12; ++month) {
        const int monthBranch = (month + 2) % 12;
        std::istringstream in(rows[month]);
        std::string fuku, kiko, chiimi, jushi, jusshi;
        in >> fuku >> kiko >> chiimi >> jushi >> jusshi;
        const std::set<int> fukuStems{indexIn(stems, fuku.substr(0, 3)),
                                      indexIn(stems, fuku.substr(3, 3))};
        SCOPED_TRACE("節月 " + std::to_string(month + 1));
        for (int s = 0; s < 60; ++s) {
            const std::vector<Gedan> g = gedan(monthBranch, s);
            SCOPED_TRACE(sexagenaryName(s));
            EXPECT_EQ(hasGedan(g, Gedan::Fuku), fukuStems.count(s % 10) == 1);
            EXPECT_EQ(hasGedan(g, Gedan::Kiko), s % 12 == indexIn(branches, kiko));
            EXPECT_EQ(hasGedan(g, Gedan::Chiimi), s % 12 == indexIn(branches, chiimi));
            EXPECT_EQ(hasGedan(g, Gedan::Jushi), s % 12 == indexIn(branches, jushi));
            EXPECT_EQ(hasGedan(g, Gedan::Jusshi), s % 12 == indexIn(branches, jusshi));
            // 重日: the 巳 and 亥 days in every month (ndl.go.jp above; yomi069).
            EXPECT_EQ(hasGedan(g, Gedan::Ju), s % 12 == 5 || s % 12 == 11);
        }
    }
}

// 母倉日 and 月徳日 by 節月 as こよみの読み方(68) 下段(2) prints them
// (http://www.ffortune.net/calen/calen/yomi99/yomi068.htm, 「こよみの読み方(68)下段(2)」, read
// 2026-12-09; its 10・11月 「申・辰」 is read 申・酉, as koyomil's 「母倉日-暦注下段」
// https://koyomil.com/bosounichi, read 2026-12-09, prints it), 月徳日
// also as koyomil's https://koyomil.com/tsukitokunichi (read 2026-12-09).
TEST(NotesGedan, BosoAndGettokuByMonth) {
    const char* boso[12] = {"子亥",     "子亥",     "巳午", "寅卯", "寅卯", "巳午",
                            "丑辰未戌", "丑辰未戌", "巳午", "申酉", "申酉", "巳午"};
    const char* gettoku = "丙甲壬庚丙甲壬庚丙甲壬庚";
    const std::string stems = kStems;
    for (int month = 0; month < 12; ++month) {
        const std::string days = boso[month];
        const std::string stem =
            std::string(gettoku).substr(static_cast<std::size_t>(month) * 3, 3);
        SCOPED_TRACE("節月 " + std::to_string(month + 1));
        for (int s = 0; s < 60; ++s) {
            const std::vector<Gedan> g = gedan((month + 2) % 12, s);
            const std::string branch =
                std::string(kBranches).substr(static_cast<std::size_t>(s % 12) * 3, 3);
            EXPECT_EQ(hasGedan(g, Gedan::Boso), days.find(branch) != std::string::npos)
                << sexagenaryName(s);
            EXPECT_EQ(hasGedan(g, Gedan::Gettoku), s % 10 == indexIn(stems, stem))
                << sexagenaryName(s);
        }
    }
}

// 天徳日 by 節月: 『医宗金鑑』's 「天徳月空」
// (正月在丁、二月坤、三月壬、四月辛、五月乾、六月甲、七月
// 癸、八月艮、九月丙、十月乙、十一月巽、十二月庚; as
// culture.pkstate.com/tcm3/yizhongjinjian/329.html gives it, read 2026-12-09), the trigram months
// read as the 天徳貴人 verse names their branches
// (「正丁二申宮、三壬四辛同、五亥六甲上、七癸八寅逢、九丙十帰乙、子巳丑庚中」): a stem marks the
// days of that stem, a branch those of that branch.
TEST(NotesGedan, TentokuByMonth) {
    const std::string verse = "丁申壬辛亥甲癸寅丙乙巳庚";
    const std::string stems = kStems;
    const std::string branches = kBranches;
    for (int month = 0; month < 12; ++month) {
        const std::string mark = verse.substr(static_cast<std::size_t>(month) * 3, 3);
        const bool isStem = indexIn(stems, mark) >= 0;
        SCOPED_TRACE("節月 " + std::to_string(month + 1) + " " + mark);
        int days = 0;
        for (int s = 0; s < 60; ++s) {
            const bool expected =
                isStem ? s % 10 == indexIn(stems, mark) : s % 12 == indexIn(branches, mark);
            const bool ours = hasGedan(gedan((month + 2) % 12, s), Gedan::Tentoku);
            EXPECT_EQ(ours, expected) << sexagenaryName(s);
            days += ours ? 1 : 0;
        }
        // Six days in sixty for a stem, five for a branch.
        EXPECT_EQ(days, isStem ? 6 : 5);
    }
}

// Days of real years as published, each list for the days it names.
TEST(NotesGedan, PublishedDays) {
    struct Listed {
        Gedan kind;
        int year, month;
        std::vector<int> days;
        bool wholeMonth; // the source lists every such day of the month
    };
    const Listed lists[] = {
        // マイナビニュース 「大明日とは? 2023年下半期~2024年のカレンダー」 (2023-07-27), its
        // month lists of 大明日, https://prod-news.global.ssl.fastly.net/article/20230727-2713625
        // (read 2026-12-09). July and August 2023 whole.
        {Gedan::Daimyo, 2023, 7, {1, 2, 10, 11, 12, 13, 14, 18, 20, 23, 25, 28}, true},
        {Gedan::Daimyo, 2023, 8, {2, 5, 12, 14, 15, 16, 17, 19, 20, 21, 26, 28, 29, 30, 31}, true},
        // 仙台ブライダルリング 2026年の吉日 (https://www.sendai-bridalring.com/2025/08/24/2-12,
        // read 2026-12-09): the 大明日, 天恩日 and 母倉日 of the days it picks.
        {Gedan::Daimyo, 2026, 1, {3, 5, 10}, false},
        {Gedan::Daimyo, 2026, 2, {2, 13, 14, 15, 24, 25}, false},
        {Gedan::Daimyo, 2026, 3, {9, 11, 14}, false},
        {Gedan::Tenon, 2026, 1, {5}, false},
        {Gedan::Tenon, 2026, 3, {9}, false},
        {Gedan::Boso, 2026, 3, {14}, false},
        // やや吉日帖 「【2026年】天赦日はいつ?」 (https://yayasupi-chobikei.com/tensha-2026, read
        // 2026-12-09): 12月16日 天赦日 + 一粒万倍日 + 甲子 + 天恩日.
        {Gedan::Tenon, 2026, 12, {16}, false},
        // KOYOMI NOTE's day pages (read 2026-12-09): 2044-01-22 (大明日, 母倉日 in a 土用
        // month, 月徳日), https://koyominote.com/post/calendar-day?date=2044-01-22, and
        // 2067-12-29 (天恩日, 月徳日, the first day of 八専),
        // https://koyominote.com/post/calendar-day/?date=2067-12-29.
        {Gedan::Daimyo, 2044, 1, {22}, false},
        {Gedan::Boso, 2044, 1, {22}, false},
        {Gedan::Gettoku, 2044, 1, {22}, false},
        {Gedan::Tenon, 2067, 12, {29}, false},
        {Gedan::Gettoku, 2067, 12, {29}, false},
        {Gedan::HassenBegins, 2067, 12, {29}, false},
        // アトリエピジョン 「2026年 行事・記念日」 (https://www.atelier-pigeon.com/gyoji/2026.html,
        // read 2026-12-09): 3月15日 社日. 春分 2026-03-20 is a 癸 day, halfway between 戊子
        // (15) and 戊戌 (25); the earlier one is printed.
        {Gedan::Shanichi, 2026, 3, {15}, true},
    };
    for (const Listed& l : lists) {
        const YearNotes& notes = notesOf(l.year);
        std::set<int> ours;
        for (const DayNotes& d : notes.days) {
            if (d.date.month == l.month && d.has(l.kind)) {
                ours.insert(d.date.day);
            }
        }
        const std::set<int> theirs(l.days.begin(), l.days.end());
        const std::string what = std::string(gedanName(l.kind)) + " " + std::to_string(l.year) +
                                 "-" + std::to_string(l.month);
        if (l.wholeMonth) {
            EXPECT_EQ(ours, theirs) << what;
        } else {
            for (const int day : theirs) {
                EXPECT_EQ(ours.count(day), 1u) << what << "-" << day;
            }
        }
    }
}

// 社日: the 戊 day nearest the equinox, and the earlier 戊 when the equinox is a 癸 day
// (アラクネ 「社日」 https://www.arachne.jp/blog/, read 2026-12-09: two methods, most calendars
// take the earlier one); one a year each in spring and autumn, ten days a 戊 cycle apart.
TEST(NotesGedan, ShanichiNearestTsuchinoe) {
    for (int year = 1990; year <= 2040; ++year) {
        const YearNotes& notes = notesOf(year);
        // The equinoxes: the middle days of the two runs of 彼岸 (seven days each).
        std::vector<long long> higan;
        for (const DayNotes& d : notes.days) {
            if (std::find(d.festivals.begin(), d.festivals.end(), "彼岸") != d.festivals.end()) {
                higan.push_back(dayNumber(d.date));
            }
        }
        ASSERT_EQ(higan.size(), 14u) << year;
        const long long equinoxes[2] = {higan[3], higan[10]};
        std::vector<long long> found;
        for (const DayNotes& d : notes.days) {
            if (d.has(Gedan::Shanichi)) {
                EXPECT_EQ(d.sexagenary % 10, 4) << isoDateText(d.date) << " is no 戊 day";
                found.push_back(dayNumber(d.date));
            }
        }
        ASSERT_EQ(found.size(), 2u) << year;
        for (int i = 0; i < 2; ++i) {
            const long long gap = found[static_cast<std::size_t>(i)] - equinoxes[i];
            EXPECT_TRUE(gap >= -5 && gap <= 4) << year << " equinox " << i << " gap " << gap;
        }
    }
    // 2026-09-23 (秋分, 庚子): 戊戌 21 September, two days before.
    EXPECT_TRUE(notesOf(2026).day(9, 21).has(Gedan::Shanichi));
    EXPECT_FALSE(notesOf(2026).day(3, 25).has(Gedan::Shanichi));
}

} // namespace
