// The eclipses as the front ends read them: the day's details with the place's contacts, the
// calendar page's marks, the year view's list and the moon feed's events, against swetest's
// lists (eclipse-swetest.tsv: the types and greatest eclipses of 1900-2100, the lunar
// contacts, the local solar contacts at Tokyo, Sapporo and Naha 2000-2035, in UT; JST is
// UT + 9 h) and the published predictions of 2030-06-01 (日食ナビ, 「北海道で金環日食」:
// 札幌 begins 15:41, greatest 16:56, ends 18:03-18:04; see published_predictions_test.cpp).
#include "almanac/day_eclipses.h"
#include "almanac/month_page.h"
#include "calendar/civil_date.h"
#include "export/feed.h"
#include "export/page_document.h"
#include "support/test_support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <nlohmann/json.hpp>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace sorvane;

// The places of the list's local columns, with swetest's -geopos (height 0).
const horizon::NamedPlace kSapporo{"札幌", {43.064615, 141.346807}};
const horizon::NamedPlace kNahaByCoordinates{"", {26.216666667, 127.666666667}};

struct Row {
    std::string kind;  // solar, lunar, local
    std::string place; // local rows: 東京, 札幌, 那覇
    std::string type;
    std::vector<long long> minutes; // JST minutes since day 0 00:00, rounded; -1 for '-'
};

long long jstMinute(const std::string& text) {
    if (text == "-") {
        return -1;
    }
    int y = 0, mo = 0, d = 0, h = 0, mi = 0;
    double s = 0;
    std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%lf", &y, &mo, &d, &h, &mi, &s);
    const double minutes =
        static_cast<double>(dayNumber({y, mo, d})) * 1440 + (h + 9) * 60 + mi + s / 60;
    return std::llround(minutes);
}

const std::vector<Row>& rows() {
    static const std::vector<Row> all = [] {
        std::ifstream in(std::string(SORVANE_ECLIPSE_TEST_DIR) + "/eclipse-swetest.tsv");
        std::vector<Row> out;
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') {
                continue;
            }
            std::istringstream fields(line);
            Row r;
            std::string f;
            std::getline(fields, r.kind, '\t');
            std::getline(fields, r.place, '\t');
            std::getline(fields, r.type, '\t');
            while (std::getline(fields, f, '\t')) {
                r.minutes.push_back(jstMinute(f));
            }
            out.push_back(r);
        }
        return out;
    }();
    return all;
}

CivilDate dayOf(long long minute) {
    return civilDate(static_cast<long long>(std::floor(static_cast<double>(minute) / 1440.0)));
}

// The row of kind (and place) whose greatest eclipse falls on date (JST).
const Row& rowOn(const std::string& kind, const std::string& place, const CivilDate& date) {
    for (const Row& r : rows()) {
        if (r.kind == kind && (place.empty() || r.place == place) && dayOf(r.minutes[0]) == date) {
            return r;
        }
    }
    throw std::runtime_error("no reference row for " + kind + " " + isoDateText(date));
}

// The kind's name for a type of the list.
std::string kindName(const Row& r) {
    const bool solar = r.kind == "solar";
    if (r.type.rfind("ann-tot", 0) == 0) {
        return "金環皆既日食";
    }
    if (r.type.rfind("total", 0) == 0) {
        return solar ? "皆既日食" : "皆既月食";
    }
    if (r.type.rfind("annular", 0) == 0) {
        return "金環日食";
    }
    if (r.type.rfind("penumb", 0) == 0) {
        return "半影月食";
    }
    return solar ? "部分日食" : "部分月食";
}

// The JST minute a details line shows ("　食の始め 15:41　太陽 ..."), on the eclipse's day or
// on the date the line names ("6月16日 00:12").
long long shownMinute(const std::string& line, const CivilDate& day) {
    static const std::regex clock(R"((?:(\d+)月(\d+)日 )?(\d{2}):(\d{2}))");
    std::smatch m;
    if (!std::regex_search(line, m, clock)) {
        return -1;
    }
    CivilDate date = day;
    if (m[1].matched) {
        date = CivilDate{day.year, std::stoi(m[1]), std::stoi(m[2])};
    }
    return dayNumber(date) * 1440 + std::stoi(m[3]) * 60 + std::stoi(m[4]);
}

// The details of a day at a place list the eclipse's kind, what the place sees, and each
// contact at the minute swetest gives (within a minute: the two programs' Moon and ΔT differ by
// seconds, and a contact near a half minute rounds either way).
TEST(EclipseDetails, ContactsOfTheDayAtThePlace) {
    struct Case {
        const char* what;
        CivilDate date;
        horizon::NamedPlace place;
        const char* rowKind;  // "local" (the place's solar contacts) or "lunar"
        const char* rowPlace; // the local row's place
        const char* head;     // what the first line says
        // The contacts' names and the row's column of each.
        std::vector<std::pair<const char*, int>> contacts;
    };
    const std::vector<std::pair<const char*, int>> annular = {{"食の始め", 1},
                                                              {"金環食の始め", 2},
                                                              {"食の最大", 0},
                                                              {"金環食の終わり", 3},
                                                              {"食の終わり", 4}};
    const std::vector<std::pair<const char*, int>> partial = {
        {"食の始め", 1}, {"食の最大", 0}, {"食の終わり", 4}};
    const Case cases[] = {
        {"札幌, annular",
         {2030, 6, 1},
         kSapporo,
         "local",
         "札幌",
         "金環日食　札幌では金環日食（食分 0.9",
         annular},
        {"東京, partial",
         {2030, 6, 1},
         horizon::tokyo(),
         "local",
         "東京",
         "金環日食　東京では部分日食（食分 0.",
         partial},
        {"那覇 by coordinates",
         {2030, 6, 1},
         kNahaByCoordinates,
         "local",
         "那覇",
         "金環日食　この地では部分日食（食分 0.",
         partial},
        {"東京, the partial lunar eclipse before dawn",
         {2030, 6, 16},
         horizon::tokyo(),
         "lunar",
         "",
         "部分月食（食分 0.",
         {{"半影食の始め", 1},
          {"部分食の始め", 2},
          {"食の最大", 0},
          {"部分食の終わり", 5},
          {"半影食の終わり", 6}}},
        {"東京, the total eclipse of 2035 (partial there)",
         {2035, 9, 2},
         horizon::tokyo(),
         "local",
         "東京",
         "皆既日食　東京では部分日食（食分 0.",
         partial},
    };
    almanac::CalendarYears years(sorvane::testing::shippedTables());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Row& row = rowOn(c.rowKind, c.rowPlace, c.date);
        const std::vector<std::string> lines = years.eclipseDetails(c.date, c.place);
        ASSERT_EQ(lines.size(), c.contacts.size() + 1) << ::testing::PrintToString(lines);
        EXPECT_EQ(lines[0].rfind(c.head, 0), 0u) << lines[0];
        for (std::size_t i = 0; i < c.contacts.size(); ++i) {
            const std::string& line = lines[i + 1];
            const auto& [name, column] = c.contacts[i];
            EXPECT_EQ(line.rfind(std::string("　") + name + " ", 0), 0u) << line;
            EXPECT_LE(std::llabs(shownMinute(line, c.date) - row.minutes[column]), 1) << line;
        }
    }
}

// The published minutes for Sapporo (日食ナビ: 15時41分, 16時56分, 18時3分; 「北海道で金環日食」:
// 15時41分, 18時04分), the Sun above the horizon throughout.
TEST(EclipseDetails, PublishedMinutesAtSapporo) {
    almanac::CalendarYears years(sorvane::testing::shippedTables());
    const std::vector<std::string> lines = years.eclipseDetails({2030, 6, 1}, kSapporo);
    ASSERT_EQ(lines.size(), 6u);
    const struct {
        std::size_t line;
        int hour, minute;
    } published[] = {{1, 15, 41}, {3, 16, 56}, {5, 18, 3}};
    for (const auto& p : published) {
        const long long want = dayNumber({2030, 6, 1}) * 1440 + p.hour * 60 + p.minute;
        EXPECT_LE(std::llabs(shownMinute(lines[p.line], {2030, 6, 1}) - want), 1) << lines[p.line];
        EXPECT_EQ(lines[p.line].find("地平線下"), std::string::npos) << lines[p.line];
    }
}

// Where the place sees nothing the details say so in a line and list no contacts; a day
// without an eclipse and a year outside the computed ones have no eclipse lines.
TEST(EclipseDetails, WhatThePlaceDoesNotSee) {
    struct Case {
        const char* what;
        CivilDate date;
        horizon::NamedPlace place;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // Total in the southern hemisphere; not in Tokyo's local rows (2000-2035).
        {"2030-11-25 at 東京",
         {2030, 11, 25},
         horizon::tokyo(),
         {"皆既日食　東京では見えません（食の範囲外）"}},
        {"the same by coordinates",
         {2030, 11, 25},
         kNahaByCoordinates,
         {"皆既日食　この地では見えません（食の範囲外）"}},
        {"the day after", {2030, 6, 2}, kSapporo, {}},
        {"a year before the Moon's positions", {-2500, 6, 1}, kSapporo, {}},
    };
    EXPECT_TRUE(std::none_of(rows().begin(), rows().end(), [](const Row& r) {
        return r.kind == "local" && r.place == "東京" &&
               dayOf(r.minutes[0]) == CivilDate{2030, 11, 25};
    }));
    almanac::CalendarYears years(sorvane::testing::shippedTables());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(years.eclipseDetails(c.date, c.place), c.lines);
    }
}

// The calendar page marks each eclipse of the year on its JST day, the year view lists them
// with the place's lines, and both agree with swetest's list of the year's eclipses.
TEST(EclipseDays, MarksAndYearListFollowTheReferenceList) {
    for (const int year : {2026, 2030, 2035}) {
        SCOPED_TRACE(year);
        std::map<std::string, std::string> expected; // ISO date -> kind
        for (const Row& r : rows()) {
            if ((r.kind == "solar" || r.kind == "lunar") && dayOf(r.minutes[0]).year == year) {
                expected[isoDateText(dayOf(r.minutes[0]))] = kindName(r);
            }
        }
        ASSERT_FALSE(expected.empty());
        almanac::CalendarYears years(sorvane::testing::shippedTables());
        std::map<std::string, std::string> marked;
        for (int month = 1; month <= 12; ++month) {
            for (const almanac::DayCell& cell : years.monthPage(year, month).cells) {
                if (cell.eclipse) {
                    EXPECT_TRUE(cell.inMonth) << isoDateText(cell.date);
                    marked[isoDateText(cell.date)] = *cell.eclipse;
                }
            }
        }
        EXPECT_EQ(marked, expected);
        const nlohmann::json doc = nlohmann::json::parse(
            exports::yearPageJson(sorvane::testing::shippedTables(), year, kSapporo));
        EXPECT_EQ(doc["eclipseHeading"], "日食・月食（札幌）");
        EXPECT_EQ(doc["eclipseNote"], "");
        std::map<std::string, std::string> listed;
        for (const auto& e : doc["eclipses"]) {
            listed[e["date"].get<std::string>()] = e["name"].get<std::string>();
            ASSERT_FALSE(e["lines"].empty());
            EXPECT_EQ(e["lines"][0].get<std::string>().rfind(e["name"].get<std::string>(), 0), 0u);
        }
        EXPECT_EQ(listed, expected);
    }
    const nlohmann::json far = nlohmann::json::parse(
        exports::yearPageJson(sorvane::testing::shippedTables(), 5000, kSapporo));
    EXPECT_TRUE(far["eclipses"].empty());
    EXPECT_NE(far["eclipseNote"].get<std::string>().find("-1999〜3000年"), std::string::npos);
}

// A month's page computes only that month's eclipses: month by month they are the year's
// list, the eclipses whose greatest eclipse falls on the 1st or the last day of a month (in
// JST, a day from the syzygy's) included, with and without a place, over the years the
// calendar computes them; none outside those years.
TEST(EclipseDays, MonthsTogetherGiveTheYearsList) {
    const horizon::NamedPlace sapporo = kSapporo;
    int eclipses = 0;
    int atMonthEnds = 0;
    for (const int year : {-1999, -500, 1000, 1900, 1917, 1955, 1973, 1982, 2019, 2026, 2029, 2030,
                           2035, 2064, 2100, 2500, 3000}) {
        SCOPED_TRACE(year);
        const std::vector<almanac::DayEclipse> whole = almanac::yearEclipses(year);
        const std::vector<almanac::DayEclipse> placed = almanac::yearEclipses(year, sapporo);
        std::vector<almanac::DayEclipse> months;
        std::vector<almanac::DayEclipse> placedMonths;
        for (int month = 1; month <= 12; ++month) {
            for (const almanac::DayEclipse& e : almanac::monthEclipses(year, month)) {
                EXPECT_EQ(e.date.month, month);
                months.push_back(e);
            }
            for (const almanac::DayEclipse& e : almanac::monthEclipses(year, month, sapporo)) {
                placedMonths.push_back(e);
            }
        }
        const auto same = [](const std::vector<almanac::DayEclipse>& a,
                             const std::vector<almanac::DayEclipse>& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                              [](const auto& x, const auto& y) {
                                  return x.date == y.date && x.solar == y.solar &&
                                         x.name == y.name && x.lines == y.lines;
                              });
        };
        EXPECT_TRUE(same(months, whole));
        EXPECT_TRUE(same(placedMonths, placed));
        eclipses += static_cast<int>(whole.size());
        for (const almanac::DayEclipse& e : whole) {
            atMonthEnds += e.date.day == 1 || e.date.day == daysInMonth(year, e.date.month);
        }
    }
    std::printf("verified %d eclipses month by month, %d of them on a month's first or last day\n",
                eclipses, atMonthEnds);
    EXPECT_GT(eclipses, 60);
    EXPECT_GT(atMonthEnds, 0); // the years chosen reach the months' edges
    EXPECT_TRUE(almanac::monthEclipses(5000, 6).empty());
    EXPECT_TRUE(almanac::monthEclipses(-3000, 6, sapporo).empty());
}

// The moon feed carries the year's eclipses as instants with stable UIDs of its own, at Tokyo's
// greatest eclipse where the Sun is eclipsed there, Tokyo's contacts in the description; a feed of
// more years gives the same events.
TEST(EclipseFeed, MoonFeedCarriesTheEclipsesWithTokyosContacts) {
    const almanac::Days days(sorvane::testing::shippedTables(), almanac::Minutes::Observatory);
    const auto eclipses = [&](int first, int last) {
        std::map<std::string, exports::FeedEvent> out;
        for (const exports::FeedEvent& e :
             exports::feedEvents(exports::FeedKind::Moon, first, last, days)) {
            if (e.category == "日食・月食" && e.date.year == 2030) {
                out[e.uid] = e;
            }
        }
        return out;
    };
    const std::map<std::string, exports::FeedEvent> year = eclipses(2030, 2030);
    struct Case {
        const char* uid;
        const char* summary;
        long long minute; // the reference minute of the event
        const char* described;
    };
    const Row& tokyo = rowOn("local", "東京", {2030, 6, 1});
    const Row& novemberSolar = rowOn("solar", "", {2030, 11, 25});
    const Row& juneLunar = rowOn("lunar", "", {2030, 6, 16});
    const Row& decemberLunar = rowOn("lunar", "", {2030, 12, 10});
    const Case cases[] = {
        {"moon-eclipse-solar-2030-06-01", "部分日食（東京）", tokyo.minutes[0], "　食の始め "},
        {"moon-eclipse-solar-2030-11-25", "皆既日食", novemberSolar.minutes[0],
         "東京では見えません"},
        {"moon-eclipse-lunar-2030-06-16", "部分月食", juneLunar.minutes[0], "　部分食の始め "},
        {"moon-eclipse-lunar-2030-12-10", "半影月食", decemberLunar.minutes[0],
         "半影月食（半影食分"},
    };
    ASSERT_EQ(year.size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.uid);
        ASSERT_EQ(year.count(c.uid), 1u);
        const exports::FeedEvent& e = year.at(c.uid);
        EXPECT_EQ(e.summary, c.summary);
        EXPECT_TRUE(e.instant);
        EXPECT_LE(std::llabs(dayNumber(e.date) * 1440 + e.hour * 60 + e.minute - c.minute), 1);
        EXPECT_NE(e.description.find(c.described), std::string::npos) << e.description;
    }
    // Tokyo's first contact of 2030-06-01 in the description, at swetest's minute.
    const std::string& description = year.at("moon-eclipse-solar-2030-06-01").description;
    const std::size_t begin = description.find("食の始め ");
    ASSERT_NE(begin, std::string::npos);
    EXPECT_LE(std::llabs(shownMinute(description.substr(begin), {2030, 6, 1}) - tokyo.minutes[1]),
              1);
    const std::map<std::string, exports::FeedEvent> wider = eclipses(2029, 2031);
    ASSERT_EQ(wider.size(), year.size());
    for (const auto& [uid, e] : year) {
        SCOPED_TRACE(uid);
        ASSERT_EQ(wider.count(uid), 1u);
        EXPECT_EQ(wider.at(uid).summary, e.summary);
        EXPECT_EQ(wider.at(uid).description, e.description);
        EXPECT_EQ(wider.at(uid).hour * 60 + wider.at(uid).minute, e.hour * 60 + e.minute);
    }
}

} // namespace
