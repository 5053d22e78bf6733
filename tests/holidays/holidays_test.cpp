// The national holidays: every date of the Cabinet Office's list, and the law's edge cases
// revision by revision.
#include "holidays/holidays.h"
#include "sky/precise_year.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <stdexcept>

namespace sorvane::holidays {
namespace {

// The holiday law's equinoxes: the observatory's definition, the precise mode.
const sorvane::sky::PreciseMoments kObservatory;

std::string text(const CivilDate& d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

// The list names 振替休日 and 国民の休日 both "休日", the 2019 one-offs "休日（祝日扱い）",
// the other one-offs by the ceremony alone, and 2019-10-14 "体育の日（スポーツの日）".
bool sameName(std::string listed, const Holiday& h) {
    if (listed == "休日") {
        return h.kind == HolidayKind::Substitute || h.kind == HolidayKind::Bridge;
    }
    if (listed == "休日（祝日扱い）") {
        return h.kind == HolidayKind::Special;
    }
    listed = listed.substr(0, listed.find("（"));
    return h.name == listed || (h.kind == HolidayKind::Special && h.name.ends_with(listed));
}

TEST(Holidays, EveryDateOfTheCabinetOfficeListBothWays) {
    std::ifstream in(SORVANE_HOLIDAY_TEST_DIR "/cabinet-office-holidays.csv");
    ASSERT_TRUE(in) << "cabinet-office-holidays.csv not found";
    std::map<std::string, std::string> listed; // date -> name
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.starts_with("date,")) {
            continue;
        }
        listed[line.substr(0, 10)] = line.substr(11);
    }
    ASSERT_GT(listed.size(), 1000u);
    const int first = std::stoi(listed.begin()->first.substr(0, 4));
    const int last = std::stoi(listed.rbegin()->first.substr(0, 4));
    std::size_t computed = 0;
    for (int year = first; year <= last; ++year) {
        for (const Holiday& h : yearHolidays(year, kObservatory)) {
            ++computed;
            const auto it = listed.find(text(h.date));
            EXPECT_NE(it, listed.end()) << "extra holiday " << text(h.date) << " " << h.name;
            if (it != listed.end()) {
                EXPECT_TRUE(sameName(it->second, h))
                    << text(h.date) << ": listed " << it->second << ", computed " << h.name;
            }
            EXPECT_EQ(h.provisional, year > kLastAnnouncedYear) << text(h.date);
        }
    }
    EXPECT_EQ(computed, listed.size()) << "the computed count differs from the list's";
}

// The equinox days of the years not yet announced, against the moments another ephemeris
// gives (tools/equinox-swetest.py): the JST day of each must be the holiday.
TEST(Holidays, EquinoxDaysAgreeWithAnotherEphemeris) {
    std::ifstream in(SORVANE_HOLIDAY_TEST_DIR "/equinox-days-swetest.tsv");
    ASSERT_TRUE(in) << "equinox-days-swetest.tsv not found";
    int rows = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#' || line.starts_with("year")) {
            continue;
        }
        std::istringstream fields(line);
        int longitude = 0;
        CivilDate date;
        fields >> date.year >> longitude >> date.month >> date.day;
        const std::optional<Holiday> h = holidayOn(date, kObservatory);
        EXPECT_EQ(h ? h->name : "", longitude == 0 ? "春分の日" : "秋分の日") << text(date);
        ++rows;
    }
    EXPECT_EQ(rows, 2 * (kLastYear - kLastAnnouncedYear + 1));
}

struct Case {
    CivilDate date;
    const char* name; // "" for no holiday
    bool provisional = false;
};

// Grouped by the law or revision that decides them.
const Case kCases[] = {
    // 1948: nothing before the law took effect on 07-20.
    {{1948, 5, 5}, ""},
    {{1948, 9, 23}, "秋分の日"},
    {{1948, 11, 3}, "文化の日"},
    // 1966: 敬老の日 and 体育の日 at once, 建国記念の日 from 1967.
    {{1966, 9, 15}, "敬老の日"},
    {{1966, 2, 11}, ""},
    {{1967, 2, 11}, "建国記念の日"},
    // 1973: 振替休日 from 04-12; 02-11 was a Sunday before it.
    {{1973, 2, 12}, ""},
    {{1973, 4, 30}, "振替休日"},
    // 1985: 国民の休日, not on a Sunday nor on a 振替休日 until 2006.
    {{1986, 5, 4}, ""},
    {{1987, 5, 4}, "振替休日"},
    {{1988, 5, 4}, "国民の休日"},
    {{2006, 5, 4}, "国民の休日"},
    // 1989: the emperor's birthday moves, 04-29 becomes みどりの日.
    {{1988, 4, 29}, "天皇誕生日"},
    {{1989, 4, 29}, "みどりの日"},
    {{1989, 12, 23}, "天皇誕生日"},
    {{1959, 4, 10}, "皇太子明仁親王の結婚の儀"},
    {{1989, 2, 24}, "昭和天皇の大喪の礼"},
    {{1990, 11, 12}, "即位礼正殿の儀"},
    {{1993, 6, 9}, "皇太子徳仁親王の結婚の儀"},
    // 1996 海の日; Mondays from 2000 and 2003.
    {{1995, 7, 20}, ""},
    {{1996, 7, 20}, "海の日"},
    {{2000, 1, 15}, ""},
    {{2000, 1, 10}, "成人の日"},
    {{2000, 10, 9}, "体育の日"},
    {{2003, 7, 21}, "海の日"},
    {{2003, 9, 15}, "敬老の日"},
    // 2007: 昭和の日, みどりの日 on 05-04, 振替休日 on the next day that is not a 祝日.
    {{2007, 4, 30}, "振替休日"},
    {{2008, 5, 6}, "振替休日"},
    {{2009, 5, 6}, "振替休日"},
    {{2009, 9, 22}, "国民の休日"},
    {{2015, 9, 22}, "国民の休日"},
    // 2016 山の日; 2019 the change of emperor.
    {{2015, 8, 11}, ""},
    {{2016, 8, 11}, "山の日"},
    {{2018, 12, 24}, "振替休日"},
    {{2019, 2, 23}, ""},
    {{2019, 4, 30}, "国民の休日"},
    {{2019, 5, 1}, "天皇の即位の日"},
    {{2019, 5, 2}, "国民の休日"},
    {{2019, 5, 6}, "振替休日"},
    {{2019, 10, 14}, "体育の日"},
    {{2019, 10, 22}, "即位礼正殿の儀"},
    {{2019, 12, 23}, ""},
    {{2020, 2, 24}, "振替休日"},
    // 2020 and 2021: the Olympic moves, and nothing on the usual days.
    {{2020, 7, 20}, ""},
    {{2020, 7, 23}, "海の日"},
    {{2020, 7, 24}, "スポーツの日"},
    {{2020, 8, 10}, "山の日"},
    {{2020, 8, 11}, ""},
    {{2020, 10, 12}, ""},
    {{2021, 7, 22}, "海の日"},
    {{2021, 7, 23}, "スポーツの日"},
    {{2021, 8, 9}, "振替休日"},
    {{2021, 10, 11}, ""},
    {{2022, 10, 10}, "スポーツの日"},
    // Today's year, and the equinox days not yet announced with the days they make.
    {{2026, 5, 6}, "振替休日"},
    {{2026, 9, 22}, "国民の休日"},
    {{2027, 3, 21}, "春分の日"},
    {{2028, 3, 20}, "春分の日", true},
    {{2028, 5, 3}, "憲法記念日"},
    {{2032, 9, 21}, "国民の休日", true},
    {{2100, 12, 23}, ""},
};

TEST(Holidays, EdgeCasesOfEachRevision) {
    for (const Case& c : kCases) {
        const std::optional<Holiday> h = holidayOn(c.date, kObservatory);
        EXPECT_EQ(h ? h->name : "", c.name) << text(c.date);
        if (h) {
            EXPECT_EQ(h->provisional, c.provisional) << text(c.date);
        }
    }
    EXPECT_TRUE(yearHolidays(1947, kObservatory).empty());
    EXPECT_EQ(yearHolidays(2100, kObservatory).size(), 16u);
    EXPECT_THROW(yearHolidays(2101, kObservatory), std::out_of_range);
}

} // namespace
} // namespace sorvane::holidays
