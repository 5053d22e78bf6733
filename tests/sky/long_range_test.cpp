// The precise mode over -1999..3000: the Sun model against a JPL-based ephemeris, TT - UT
// against its published values, and what the terminal program says about it.
#include "calendar/julian_day.h"
#include "sky/delta_t.h"
#include "sky/erfa_sun.h"
#include "sky/time_scales.h"
#include "support/test_support.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

namespace sorvane::sky {
namespace {

// Every row of a tab-separated table, comment lines skipped.
std::vector<std::vector<double>> readTable(const std::string& name) {
    std::ifstream in(std::string(SORVANE_SKY_TEST_DIR) + "/" + name);
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        std::vector<double> row;
        for (double v = 0; fields >> v;) {
            row.push_back(v);
        }
        rows.push_back(row);
    }
    return rows;
}

// The equinoxes and solstices of years -1999..3000 in TT: the error stays within the bound
// the precise mode states for the Sun model.
TEST(LongRange, EquinoxesAndSolsticesWithinTheStatedBound) {
    const auto rows = readTable("seasons-tt-reference.tsv");
    ASSERT_GE(rows.size(), 200u);
    double worst = 0;
    double worstYear = 0;
    double worstNear2000 = 0; // 1800-2200
    for (const auto& row : rows) {
        const double year = row[0];
        const double target = row[1];
        const double guess =
            julianday(static_cast<int>(year), 3 + static_cast<int>(target) / 90 * 3, 21);
        const double error = (solveApparentLongitude(target, guess) - row[2]) * 86400;
        EXPECT_LE(std::fabs(error), theoryUncertainty(year)) << year << " " << target;
        if (std::fabs(error) > worst) {
            worst = std::fabs(error);
            worstYear = year;
        }
        if (year >= 1800 && year <= 2200) {
            worstNear2000 = std::max(worstNear2000, std::fabs(error));
        }
    }
    EXPECT_LT(worstNear2000, 0.5);
    std::printf("verified %zu cases, max error %.1f s (year %.0f), %.2f s over 1800-2200\n",
                rows.size(), worst, worstYear, worstNear2000);
}

// The polynomials against the published values; the conversion uses them before 1960, holds
// TT - UTC through 2100 and then rises without a jump.
TEST(LongRange, DeltaTFollowsThePublishedValuesAndJoinsWithoutJumps) {
    const auto rows = readTable("delta-t-published.tsv");
    ASSERT_GE(rows.size(), 20u);
    for (const auto& row : rows) {
        const double year = row[0];
        const double sigma = row[2];
        const double tolerance = year < 1650 ? std::max(5.0, 0.05 * sigma) : 0.5;
        EXPECT_NEAR(espenakMeeusDeltaT(year), row[1], tolerance) << year;
        if (sigma >= 2) {
            EXPECT_NEAR(deltaTUncertainty(year), sigma, 0.25 * sigma) << year;
        }
        if (year < 1950) {
            EXPECT_NEAR(ttMinusUtcSeconds(julianday(static_cast<int>(year), 1, 1)), row[1],
                        std::max(sigma, 1.0))
                << year;
        }
    }
    const double join = julianday(2101, 1, 1);
    EXPECT_NEAR(ttMinusUtcSeconds(join - 0.01), 69.184, 1e-6);
    EXPECT_NEAR(ttMinusUtcSeconds(join + 0.01), 69.184, 0.01);
    double previous = 69.184;
    for (int year = 2150; year <= 3000; year += 50) {
        const double dt = ttMinusUtcSeconds(julianday(year, 1, 1));
        EXPECT_GT(dt, previous) << year;
        previous = dt;
    }
    // The stated uncertainty grows away from the years of leap seconds.
    EXPECT_EQ(deltaTUncertainty(2000), 0.0);
    EXPECT_LT(momentUncertainty(2100), 30.0);
    EXPECT_GT(momentUncertainty(3000), momentUncertainty(2500));
    EXPECT_GT(momentUncertainty(-1999), momentUncertainty(-500));
}

// Far years print the same 28 lines; an uncertainty above half a minute adds one note at the
// end, and the JSON carries every moment's TT, Delta T and uncertainty.
TEST(LongRange, TerminalProgramShowsFarYearsAndTheirUncertainty) {
    const std::string note = "注：この年の時刻は±";
    struct Case {
        const char* args;
        int minutes; // 0: no note
    };
    for (const Case& c :
         {Case{"1600 --precise", 0}, Case{"2025 --precise", 0}, Case{"-500 --precise", 9},
          Case{"3000 --precise --zassetsu", 5}, Case{"-1999 --precise", 28}}) {
        const auto run = testing::runCli(c.args);
        ASSERT_EQ(run.status, 0) << c.args << run.err;
        const auto out = testing::lines(run.out);
        ASSERT_GE(out.size(), 41u) << c.args;
        EXPECT_EQ(out[28], "") << c.args; // 28 lines, then the first days
        int terms = 0;
        for (std::size_t i = 0; i < 28; ++i) {
            terms += out[i].find(" 日 ") != std::string::npos;
        }
        EXPECT_EQ(terms, 28) << c.args;
        const auto at = run.out.find(note);
        if (c.minutes == 0) {
            EXPECT_EQ(at, std::string::npos) << c.args;
            continue;
        }
        ASSERT_NE(at, std::string::npos) << c.args;
        EXPECT_EQ(run.out.find(note, at + 1), std::string::npos) << c.args;
        EXPECT_EQ(out.back(), note + std::to_string(c.minutes) + "分ほどずれることがあります");
    }
    const auto json = nlohmann::json::parse(testing::runCli("-500 --precise --json").out);
    std::size_t withUncertainty = 0;
    for (const auto& event : json["events"]) {
        const double deltaT = event["moment"]["deltaT"];
        const double uncertainty = event["moment"]["uncertainty"];
        withUncertainty +=
            deltaT >= 17000 && deltaT < 18000 && uncertainty >= 514 && uncertainty < 515;
    }
    EXPECT_EQ(withUncertainty, 28u);
    // The default mode says how far its moments lie from the precise ones: 6 min in 1600.
    const auto def = nlohmann::json::parse(testing::runCli("1600 --json").out);
    ASSERT_TRUE(def.contains("offsetFromPrecise"));
    EXPECT_NEAR(def["offsetFromPrecise"]["seconds"].get<double>(), 6 * 60, 60);
}

} // namespace
} // namespace sorvane::sky
