// The solar-term finder: target longitudes, chord steps, result lines and whole years.
#include "calendar/julian_day.h"
#include "calendar/names.h"
#include "calendar/solar_terms.h"
#include "calendar/year_text.h"
#include "ephemeris/data_location.h"
#include "ephemeris/sun_position.h"
#include "finder/finder.h"
#include "finder/line_format.h"
#include "sky/erfa_sun.h"
#include "support/test_support.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace sorvane {
namespace {

using testing::shippedTables;

std::vector<std::string> splitLines(const std::string& text, const std::string& end) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find(end, start)) != std::string::npos;
         start = pos + end.size()) {
        lines.push_back(text.substr(start, pos - start));
    }
    EXPECT_EQ(start, text.size()) << "text does not end with a line end";
    return lines;
}

// The 28 result lines in the result box's order, as the almanac takes them from the finder.
std::vector<std::string> resultLines(const Finder& f) {
    std::vector<std::string> lines;
    for (const EventMoment& e : f.orderedMoments()) {
        lines.push_back(f.kekka[e.month][lineColumn(e.kind)]);
    }
    return lines;
}

TEST(TargetLongitudes, EveryMonth) {
    const double setsu[13] = {0, 285, 315, 345, 15, 45, 75, 105, 135, 165, 195, 225, 255};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(sekkilong(m, 0), setsu[m]) << m;
        EXPECT_EQ(sekkilong(m, 1), std::fmod(setsu[m] + 15, 360)) << m;
    }
    EXPECT_EQ(sekkilong(3, 1), 0);    // 春分 is 0, not 360
    EXPECT_EQ(sekkilong(12, 1), 270); // 630 reduced once
    EXPECT_EQ(dooulong(1), 297);
    EXPECT_EQ(dooulong(4), 27);
    EXPECT_EQ(dooulong(7), 117);
    EXPECT_EQ(dooulong(10), 207);
}

class ChordStep : public ::testing::Test {
  protected:
    Finder finder{shippedTables()};

    // One step from estimate d2 = 20 with one day per degree and the given longitude.
    double stepFrom(int month, double longitude, int bl) {
        finder.yy = 2000;
        finder.mm = static_cast<std::int16_t>(month);
        finder.d2 = 20;
        finder.sekkunit = 1;
        finder.sunState.longitude = longitude;
        if (bl < 0) {
            finder.reachdoou();
        } else {
            finder.reach(bl);
        }
        EXPECT_EQ(finder.dd, finder.d2);
        // The Sun was evaluated at the new moment.
        EXPECT_EQ(finder.sunState.longitude,
                  sunPosition(2000, month, finder.d2, shippedTables()).longitude);
        return finder.d2 - 20;
    }
};

TEST_F(ChordStep, MarchChukiWrapsOnlyAboveFiveDegrees) {
    EXPECT_NEAR(stepFrom(3, 359.98, 1), 0.02, 1e-12);
    EXPECT_NEAR(stepFrom(3, 0.01, 1), -0.01, 1e-12);
    EXPECT_NEAR(stepFrom(3, 5, 1), -5, 1e-12);
    EXPECT_NEAR(stepFrom(3, 5.5, 1), 354.5, 1e-12);
}

TEST_F(ChordStep, NoWrapForOtherEvents) {
    EXPECT_NEAR(stepFrom(3, 359, 0), -14, 1e-12);   // March 節 at 345
    EXPECT_NEAR(stepFrom(4, 350, -1), -323, 1e-12); // April 土用 at 27
    EXPECT_NEAR(stepFrom(1, 286, 0), -1, 1e-12);    // past the event: moves back
    EXPECT_NEAR(stepFrom(1, 285, 0), 0, 0);         // exactly on it: stays
}

TEST(ResultLine, WorkedExampleAndItsDoyoForm) {
    Finder f(shippedTables());
    f.yy = 2000;
    f.mm = 1;
    f.d2 = 5.0;
    f.sunState.radius = 0.98332;
    f.hyouji(lineColumn(EventKind::Setsu));
    EXPECT_NEAR(f.gosa, 0.3806791827, 1e-10);
    EXPECT_NEAR(f.d2, 5.3794678063, 1e-10);
    EXPECT_EQ(f.dx, 5);
    EXPECT_NEAR(f.hhx, 9.1072273501, 1e-9);
    EXPECT_EQ(f.hx, 9);
    EXPECT_EQ(f.mx, 6);
    EXPECT_EQ(f.sx, 26);
    EXPECT_EQ(f.kekka[1][lineColumn(EventKind::Setsu)], "小　寒     05 日 09 時  06 分");

    f.d2 = 5.0;
    f.hyouji(lineColumn(EventKind::Doyo));
    EXPECT_EQ(f.kekka[1][lineColumn(EventKind::Doyo)], "  土用     05 日 09 時  06 分");
    f.d2 = 5.0;
    f.hyouji(lineColumn(EventKind::Chuki));
    EXPECT_EQ(f.kekka[1][lineColumn(EventKind::Chuki)], "大　寒     05 日 09 時  06 分");

    f.kekka[1][lineColumn(EventKind::Setsu)] = "unchanged";
    f.d2 = 5.0;
    f.hyouji(3); // no such line kind: nothing stored
    EXPECT_EQ(f.kekka[1][lineColumn(EventKind::Setsu)], "unchanged");
}

TEST(ResultLine, RoundingToTheMinuteCarriesIntoHourAndDay) {
    // With the year 1885 and a zero radius the conversion adds exactly nine hours.
    auto lineAt = [](double jstDay) {
        Finder f(shippedTables());
        f.yy = 1885;
        f.mm = 12;
        f.sunState.radius = 0;
        f.d2 = jstDay - 9.0 / 24;
        f.hyouji(lineColumn(EventKind::Chuki));
        return f.kekka[12][lineColumn(EventKind::Chuki)];
    };
    const double s = 1.0 / 86400;
    EXPECT_EQ(lineAt(20.99983), "冬　至     21 日 00 時  00 分"); // 23:59:45
    EXPECT_EQ(lineAt(3 + (10 * 3600 + 15 * 60 + 30.2) * s), "冬　至     03 日 10 時  16 分");
    EXPECT_EQ(lineAt(3 + (10 * 3600 + 15 * 60 + 29.8) * s), "冬　至     03 日 10 時  15 分");
    EXPECT_EQ(lineAt(31 + (23 * 3600 + 59 * 60 + 50) * s), "冬　至     32 日 00 時  00 分");
    EXPECT_EQ(formatTwoDigits(-3), "-03");
    EXPECT_EQ(formatTwoDigits(123), "123");
}

TEST(YearlyCalculation, Year2000) {
    Finder f(shippedTables());
    f.calculate(2000);
    const auto lines = resultLines(f);
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[0], "小　寒     06 日 10 時  00 分");

    // The recorded output of this program for 2000 (result lines, a blank line, first days).
    std::ifstream in(std::string(SORVANE_SOURCE_DIR) + "/tests/data/year-2000.txt");
    ASSERT_TRUE(in);
    std::stringstream recorded;
    recorded << in.rdbuf();
    const auto expected = splitLines(recorded.str(), "\n");
    ASSERT_EQ(expected.size(), 41u);
    for (int i = 0; i < 28; ++i) {
        EXPECT_EQ(lines[i], expected[i]) << "line " << i + 1;
    }

    // Calculating again, after another year, gives the same 28 lines.
    f.calculate(1999);
    f.calculate(2000);
    EXPECT_EQ(resultLines(f), lines);
}

TEST(YearlyCalculation, LinesInTimeOrderAndTheirNames) {
    const Tables& t = shippedTables();
    for (int year : {1873, 1950, 2024, 2100, 2500}) {
        Finder f(t);
        f.calculate(static_cast<std::int16_t>(year));
        const auto moments = f.orderedMoments();
        const auto lines = resultLines(f);
        const std::regex shape("^(.+)     (\\d\\d) 日 (\\d\\d) 時  (\\d\\d) 分$");
        double previousJd = 0;
        for (std::size_t i = 0; i < 28; ++i) {
            const EventMoment& e = moments[i];
            std::smatch m;
            ASSERT_TRUE(std::regex_match(lines[i], m, shape)) << year << ": " << lines[i];
            const std::string name = e.kind == EventKind::Doyo    ? "  土用"
                                     : e.kind == EventKind::Setsu ? solarTermNames[e.month][0]
                                                                  : solarTermNames[e.month][1];
            EXPECT_EQ(m[1].str(), name) << year << " line " << i;
            EXPECT_EQ(std::stoi(m[2].str()), e.day);
            EXPECT_GE(e.day, 1);
            EXPECT_LE(e.day, 31);
            const double jd = julianday(year, e.month, e.theoryDay);
            EXPECT_GT(jd, previousJd) << year << " line " << i;
            previousJd = jd;
            // The refined moment lies on the target longitude.
            const SunState s = sunPosition(year, e.month, e.theoryDay, t);
            double miss = std::fmod(s.longitude - e.target + 540, 360) - 180;
            EXPECT_LT(std::fabs(miss), 1e-6) << year << " line " << i;
        }
    }
}

TEST(YearlyCalculation, MomentsAgreeWithErfaToAMinute) {
    // The refined moments, taken as Terrestrial Time, against Newton steps on ERFA's
    // geometric longitude of date: the theory stays within about 2.5" (one minute of time).
    Finder f(shippedTables());
    f.calculate(2025);
    for (const EventMoment& e : f.orderedMoments()) {
        double jd = julianday(2025, e.month, e.theoryDay);
        const double theoryJd = jd;
        for (int i = 0; i < 4; ++i) {
            const double lon = sky::geometricSunOfDate(jd).longitude;
            jd += (std::fmod(e.target - lon + 540, 360) - 180) / 0.9856;
        }
        EXPECT_LT(std::fabs(jd - theoryJd) * 86400, 60) << e.month << "/" << lineColumn(e.kind);
    }
}

TEST(YearlyCalculation, MarchEquinoxFromEitherSideOfZero) {
    // Whether the start day's longitude lies just under 360 or just past 0, the search and
    // the chord steps settle on the same moment of 春分.
    const Tables& t = shippedTables();
    for (int year : {1900, 1999, 2000, 2001, 2023, 2048, 2099}) {
        Finder f(t);
        f.calculate(static_cast<std::int16_t>(year));
        const double startLongitude = sunPosition(year, 3, 20, t).longitude;
        const EventMoment& e = f.moments[3][lineColumn(EventKind::Chuki)];
        EXPECT_TRUE(startLongitude > 348 || startLongitude < 2) << year;
        EXPECT_GE(e.theoryDay, 19) << year;
        EXPECT_LT(e.theoryDay, 22) << year;
        const double lon = sunPosition(year, 3, e.theoryDay, t).longitude;
        EXPECT_LT(std::min(lon, 360 - lon), 1e-6) << year;
    }
}

} // namespace
} // namespace sorvane
