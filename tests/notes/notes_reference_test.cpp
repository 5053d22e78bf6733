// The notes against sources outside this program: the 十二直, 二十八宿 and year and month 九星
// of lunar-javascript (tools/notes_reference.js), its 天徳 (tools/tentoku_reference.js), and
// the calendar makers' published lists of 一粒万倍日, 天赦日 and 不成就日, which must agree
// exactly.
#include "almanac/coverage.h"
#include "notes/notes.h"
#include "support/test_support.h"
#include "tools/tsv_rows.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace {

using namespace sorvane;
using namespace sorvane::notes;

// The calendar page's choice of the Sun's engine over the shipped term files.
SunMomentsOfYear pageSun() {
    static const almanac::SunEngines engines(&sorvane::testing::shippedTables());
    return engines.pageChoice();
}

CivilDate isoDate(const std::string& iso) {
    return {std::stoi(iso.substr(0, 4)), std::stoi(iso.substr(5, 2)), std::stoi(iso.substr(8, 2))};
}

TEST(NotesReference, LunarJavascriptTable) {
    std::ifstream in(SORVANE_SOURCE_DIR "/tests/notes/notes-reference-lunar-javascript.tsv");
    ASSERT_TRUE(in) << "reference table missing";
    std::map<int, YearNotes> years;
    int rows = 0;
    for (const tsv::Row& row : tsv::dataRows(in)) {
        const std::vector<std::string> f = sorvane::testing::tabFields(row.text);
        ASSERT_EQ(f.size(), 5u) << "line " << row.lineNumber;
        const CivilDate date = isoDate(f[0]);
        auto it = years.find(date.year);
        if (it == years.end()) {
            years.clear(); // the table runs in date order
            it = years.emplace(date.year, yearNotes(pageSun(), date.year)).first;
        }
        const DayNotes& d = it->second.day(date.month, date.day);
        SCOPED_TRACE(f[0] + " (line " + std::to_string(row.lineNumber) + ")");
        EXPECT_EQ(chokuName(d.choku), f[1]);
        EXPECT_EQ(shukuName(d.shuku), f[2]);
        EXPECT_EQ(d.yearKyusei, std::stoi(f[3]));
        EXPECT_EQ(d.monthKyusei, std::stoi(f[4]));
        ++rows;
    }
    EXPECT_GT(rows, 20000);
}

// 天徳日 against lunar-javascript's 天德 in the eight months whose 天徳 is a stem. The library's
// day table departs from its own month rule on three 干支, which are counted apart: it leaves
// out 壬寅 in the 辰月 and adds 壬午 in the 申月 and 己卯 in the 亥月 (its 天德 is one stem a
// month everywhere else; no almanac source gives a day of another stem or a missing one).
TEST(NotesReference, TentokuOfLunarJavascript) {
    std::ifstream in(SORVANE_SOURCE_DIR "/tests/notes/tentoku-reference-lunar-javascript.tsv");
    ASSERT_TRUE(in) << "reference table missing";
    const std::set<std::pair<std::string, std::string>> libraryQuirks{
        {"辰", "壬寅"}, {"申", "壬午"}, {"亥", "己卯"}};
    std::map<int, YearNotes> years;
    int rows = 0;
    int tentoku = 0;
    std::set<std::pair<std::string, std::string>> quirksSeen;
    for (const tsv::Row& row : tsv::dataRows(in)) {
        const std::vector<std::string> f = sorvane::testing::tabFields(row.text);
        ASSERT_EQ(f.size(), 3u) << "line " << row.lineNumber;
        const CivilDate date = isoDate(f[0]);
        auto it = years.find(date.year);
        if (it == years.end()) {
            years.clear(); // the table runs in date order
            it = years.emplace(date.year, yearNotes(pageSun(), date.year)).first;
        }
        const DayNotes& d = it->second.day(date.month, date.day);
        SCOPED_TRACE(f[0] + " (line " + std::to_string(row.lineNumber) + ")");
        ASSERT_EQ(branchName(d.monthBranch), f[1]);
        const std::pair<std::string, std::string> key{f[1], sexagenaryName(d.sexagenary)};
        if (libraryQuirks.count(key) == 1) {
            EXPECT_NE(d.has(Gedan::Tentoku), f[2] == "1") << key.second;
            quirksSeen.insert(key);
        } else {
            EXPECT_EQ(d.has(Gedan::Tentoku), f[2] == "1") << key.second;
        }
        tentoku += d.has(Gedan::Tentoku) ? 1 : 0;
        ++rows;
    }
    EXPECT_GT(rows, 6000);
    EXPECT_GT(tentoku, 600); // one day in ten
    EXPECT_EQ(quirksSeen, libraryQuirks);
}

TEST(NotesReference, PublishedLists) {
    std::ifstream in(SORVANE_SOURCE_DIR "/tests/notes/published-senjitsu.tsv");
    ASSERT_TRUE(in) << "published lists missing";
    // (name, year) -> the listed dates
    std::map<std::pair<std::string, int>, std::set<std::string>> listed;
    for (const tsv::Row& row : tsv::dataRows(in)) {
        const std::vector<std::string> f = sorvane::testing::tabFields(row.text);
        ASSERT_EQ(f.size(), 2u) << "line " << row.lineNumber;
        listed[{f[0], isoDate(f[1]).year}].insert(f[1]);
    }
    ASSERT_EQ(listed.size(), 3u);
    for (const auto& [key, dates] : listed) {
        const auto& [name, year] = key;
        std::set<std::string> ours;
        for (const DayNotes& d : yearNotes(pageSun(), year).days) {
            for (const Senjitsu s : d.senjitsu) {
                if (senjitsuName(s) == name) {
                    ours.insert(isoDateText(d.date));
                }
            }
        }
        EXPECT_EQ(ours, dates) << name << " " << year;
    }
}

} // namespace
