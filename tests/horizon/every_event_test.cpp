// Days with two events of one kind (the Moon rising just after 00:00 and again before 24:00,
// the Sun setting twice near the polar day) against PyEphem's every event of each day
// (tests/horizon/horizon-every-event.tsv, made by tools/horizon_reference.py --every from
// python3-ephem 4.1.4) at 66.5° N 25° E in 2026 and at Tromsø in 2000.
#include "calendar/civil_date.h"
#include "horizon/day_text.h"
#include "horizon/rise_set.h"
#include "support/test_support.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace {

using namespace sorvane;

// "00:00,23:31" as minutes; "--:--" as none.
std::vector<int> minutesOf(const std::string& column) {
    std::vector<int> out;
    if (column == "--:--") {
        return out;
    }
    for (std::size_t i = 0; i < column.size(); i += 6) {
        out.push_back(std::stoi(column.substr(i, 2)) * 60 + std::stoi(column.substr(i + 3, 2)));
    }
    return out;
}

// Where PyEphem's search gives none on the day the Moon first crosses the horizon after days
// circumpolar; its own altitudes confirm the crossing found here (see the misses of
// reference_table_test.cpp; at 66.5° N 25° E, ephem.Moon().compute, pressure 0, gives
// 2026-11-01 14:00 UT -0°28'06", 14:04 UT -0°40'20": -35'08" is crossed at 14:02 UT).
struct Miss {
    const char* place;
    const char* date;
    int event; // 0 sunrise, 1 sunset, 2 moonrise, 3 moonset
    int ours;  // minutes after 00:00
};
constexpr Miss kPyEphemMisses[] = {
    {"Tromsø 2000", "2000-11-17", 3, 23 * 60 + 26},
    {"北緯66.5度 2026", "2026-11-01", 3, 23 * 60 + 2},
};

bool knownMiss(const std::string& place, const std::string& date, int event,
               const std::vector<int>& ours) {
    for (const Miss& m : kPyEphemMisses) {
        if (place == m.place && date == m.date && event == m.event && ours.size() == 1 &&
            ours.front() == m.ours) {
            return true;
        }
    }
    return false;
}

struct Place {
    horizon::Observer observer;
    std::map<std::string, std::vector<std::string>> days; // date -> the four columns
};

std::map<std::string, Place> readReference() {
    std::ifstream in(std::string(SORVANE_HORIZON_TEST_DIR) + "/horizon-every-event.tsv");
    std::map<std::string, Place> places; // by place and year
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::vector<std::string> f = sorvane::testing::tabFields(line);
        if (f.size() != 8) {
            ADD_FAILURE() << "a line of " << f.size() << " fields: " << line;
            continue;
        }
        Place& p = places[f[0] + " " + f[3].substr(0, 4)];
        p.observer = horizon::Observer{std::stod(f[1]), std::stod(f[2])};
        p.days[f[3]] = {f[4], f[5], f[6], f[7]};
    }
    return places;
}

TEST(HorizonEveryEvent, EveryEventOfEachDayAgreesWithPyEphem) {
    const std::map<std::string, Place> places = readReference();
    ASSERT_EQ(places.size(), 2u);
    int events = 0;
    int doubledDays = 0;
    for (const auto& [key, p] : places) {
        const int year = std::stoi(key.substr(key.size() - 4));
        const auto days = horizon::yearTimes(p.observer, year);
        ASSERT_EQ(days.size(), p.days.size()) << key;
        for (const horizon::DayTimes& d : days) {
            const std::string date = isoDateText(civilDate(d.day));
            const auto& theirs = p.days.at(date);
            const std::vector<int>* ours[4] = {&d.sunrises, &d.sunsets, &d.moonrises, &d.moonsets};
            const std::optional<int> first[4] = {d.sunrise, d.sunset, d.moonrise, d.moonset};
            for (int k = 0; k < 4; ++k) {
                const std::vector<int> expected = minutesOf(theirs[static_cast<std::size_t>(k)]);
                doubledDays += expected.size() > 1 ? 1 : 0;
                if (expected.empty() && knownMiss(key, date, k, *ours[k])) {
                    continue;
                }
                ASSERT_EQ(ours[k]->size(), expected.size())
                    << key << " " << date << " event " << k << ": PyEphem has "
                    << theirs[static_cast<std::size_t>(k)];
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    ++events;
                    EXPECT_LE(std::abs((*ours[k])[i] - expected[i]), 1)
                        << key << " " << date << " event " << k << " #" << i;
                }
                // The single field is the day's first of the list.
                EXPECT_EQ(first[k].has_value(), !expected.empty()) << key << " " << date;
                if (first[k] && !ours[k]->empty()) {
                    EXPECT_EQ(*first[k], ours[k]->front()) << key << " " << date;
                }
            }
        }
    }
    // Both places have such days: 2026-09-29's two moonrises, Tromsø's two sunsets.
    EXPECT_GE(doubledDays, 9);
    EXPECT_EQ(events, 2166); // the times of the table
}

// The terminal program shows both of 2026-09-29's moonrises at 66.5° N 25° E (PyEphem:
// 00:00 and 23:31 JST) in its text and JSON, and a day with one event as before.
TEST(HorizonCli, ShowsBothEventsOfADay) {
    const auto text = sorvane::testing::runCli("2026 --sun --lat 66.5 --lon 25");
    ASSERT_EQ(text.status, 0) << text.err;
    const auto rows = sorvane::testing::lines(text.out);
    ASSERT_EQ(rows.size(), 365u);
    const std::string day = rows[271];
    ASSERT_EQ(day.substr(0, 10), "2026-09-29");
    EXPECT_NE(day.find("  00:00,23:31  "), std::string::npos) << day;

    const auto json = sorvane::testing::runCli("2026 --sun --json --lat 66.5 --lon 25");
    ASSERT_EQ(json.status, 0) << json.err;
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    const nlohmann::json& d = doc["days"][271];
    ASSERT_EQ(d["date"], "2026-09-29");
    EXPECT_EQ(d["moonrise"], "00:00");
    EXPECT_EQ(d["moonrises"], nlohmann::json::array({"00:00", "23:31"}));
    // A day with one moonrise has no list, and its line has no comma.
    const nlohmann::json& next = doc["days"][270];
    EXPECT_FALSE(next.contains("moonrises")) << next.dump();
    EXPECT_EQ(rows[270].find(','), std::string::npos) << rows[270];
}

// The calendar page's lines join the day's two times with '・'.
TEST(HorizonEveryEvent, DayDetailsJoinTwoTimes) {
    const horizon::Observer arctic{66.5, 25.0};
    const long long day = dayNumber(CivilDate{2026, 9, 29});
    const auto days = horizon::dayTimes(arctic, day, day);
    ASSERT_EQ(days.size(), 1u);
    const std::string text = horizon::dayDetailsText(days.front());
    EXPECT_NE(text.find("月の出 00:00・23:31"), std::string::npos) << text;
}

} // namespace
