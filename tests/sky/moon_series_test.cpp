// The Moon's series: the evaluator against the authors' check values, and the carried
// truncation against a JPL-based ephemeris (DE431) over -1999..3000.
#include "sky/moon_series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <sstream>
#include <string>

namespace {

using namespace sorvane::sky;

const std::filesystem::path kAuthorsFiles = SORVANE_SOURCE_DIR "/data/elpmpp02";

// The authors' check values of the DE405 fit: 51 moments from 1520000.5 to 2500000.5,
// geocentric position (km) and velocity (km/day) on the inertial ecliptic of J2000.
TEST(MoonSeries, FullSeriesReproducesTheAuthorsCheckValues) {
    const MoonSeries full = readMoonSeries(kAuthorsFiles);
    EXPECT_EQ(full.size(), 35901u);
    std::ifstream in(kAuthorsFiles / "ELPMPP02.jpl.ctl");
    ASSERT_TRUE(in);
    std::string date;
    std::string position;
    std::string velocity;
    int cases = 0;
    double worstKm = 0;
    double worstKmPerDay = 0;
    while (std::getline(in, date) && std::getline(in, position) && std::getline(in, velocity)) {
        double jd = 0;
        double x[3];
        double v[3];
        ASSERT_EQ(std::sscanf(date.c_str(), " JD %lf", &jd), 1) << date;
        ASSERT_EQ(std::sscanf(position.c_str(), " X = %lf Y = %lf Z = %lf", &x[0], &x[1], &x[2]),
                  3);
        ASSERT_EQ(std::sscanf(velocity.c_str(), " X'= %lf Y'= %lf Z'= %lf", &v[0], &v[1], &v[2]),
                  3);
        const MoonState m = moonEclipticJ2000(full, jd);
        const double km =
            std::hypot(m.position[0] - x[0], m.position[1] - x[1], m.position[2] - x[2]);
        const double kmPerDay =
            std::hypot(m.velocity[0] - v[0], m.velocity[1] - v[1], m.velocity[2] - v[2]);
        EXPECT_LT(km, 0.001) << "JD " << jd; // a metre
        EXPECT_LT(kmPerDay, 0.005) << "JD " << jd;
        worstKm = std::max(worstKm, km);
        worstKmPerDay = std::max(worstKmPerDay, kmPerDay);
        ++cases;
    }
    EXPECT_EQ(cases, 51);
    std::printf("verified %d check values, max error %.2f m, %.2f m/day\n", cases, worstKm * 1e3,
                worstKmPerDay * 1e3);
}

// The carried series through the program's path (ICRS axes) against DE431, one millennium
// at a time: the largest difference in ecliptic longitude, arcseconds. The bounds lie a
// little above what was measured (4.6", 1.6", 1.0", 0.73", 0.33").
TEST(MoonSeries, CarriedSeriesAgreesWithDe431EachMillennium) {
    std::ifstream in(SORVANE_SKY_TEST_DIR "/moon-reference-de431.tsv");
    ASSERT_TRUE(in);
    struct Millennium {
        int first;
        double boundArcsec;
        int count = 0;
        double worst = 0;
        double sumSquares = 0;
    };
    Millennium spans[] = {{-1999, 5.0}, {-999, 1.8}, {1, 1.2}, {1001, 0.8}, {2001, 0.4}};
    // The IAU 2006 obliquity of J2000, as the reference's ecliptic takes it.
    const double obliquity = 84381.406 / 3600.0 * std::numbers::pi / 180.0;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        double jd = 0;
        double lon = 0;
        double lat = 0;
        double au = 0;
        ASSERT_TRUE(fields >> jd >> lon >> lat >> au) << line;
        double pv[2][3];
        geocentricMoon(jd, pv);
        const double y = pv[0][1] * std::cos(obliquity) + pv[0][2] * std::sin(obliquity);
        const double lonDegrees = std::atan2(y, pv[0][0]) * 180.0 / std::numbers::pi;
        const double arcsec = std::fabs(std::remainder(lonDegrees - lon, 360.0)) * 3600.0;
        const double year = 2000.0 + (jd - 2451545.0) / 365.2425;
        Millennium& m = *std::find_if(std::rbegin(spans), std::rend(spans),
                                      [&](const Millennium& s) { return year >= s.first; });
        ++m.count;
        m.worst = std::max(m.worst, arcsec);
        m.sumSquares += arcsec * arcsec;
        EXPECT_LT(arcsec, m.boundArcsec) << "JD " << jd;
        EXPECT_LT(std::fabs(std::hypot(pv[0][0], pv[0][1], pv[0][2]) - au) * 149597870.7, 5.0)
            << "distance, km, JD " << jd;
    }
    for (const Millennium& m : spans) {
        EXPECT_GE(m.count, 1990) << m.first;
        std::printf("verified %d moments from %d: max error %.2f\" (rms %.2f\")\n", m.count,
                    m.first, m.worst, std::sqrt(m.sumSquares / m.count));
    }
}

TEST(MoonSeries, UnreadableFilesAreNamed) {
    try {
        readMoonSeries("/nonexistent");
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        // The folder joined with the file's name by the system's separator (a backslash on
        // Windows).
        const std::string file = (std::filesystem::path("/nonexistent") / "ELP_MAIN.S1").string();
        EXPECT_NE(std::string(e.what()).find(file), std::string::npos) << e.what();
    }
}

} // namespace
