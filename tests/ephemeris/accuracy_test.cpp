// The shipped term files against the IAU SOFA/ERFA model: the solar theory's geometric
// longitude of date and radius vector at instants spread over 1900-2100.
#include "calendar/julian_day.h"
#include "ephemeris/data_location.h"
#include "ephemeris/sun_position.h"
#include "sky/erfa_sun.h"
#include "support/test_support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace sorvane {
namespace {

using testing::signedArcsec;

TEST(Accuracy, ShippedTermsAgreeWithErfaOver1900To2100) {
    const Tables tables = loadTables(findDataDir());
    double maxLongitude = 0;
    double sumSquares = 0;
    double maxRadius = 0;
    int count = 0;
    // 600 instants, 122 days and a bit apart, so the season and the time of day both vary.
    for (int i = 0; i < 600; ++i) {
        const int year = 1900 + i / 3;
        const int month = 1 + (i * 5) % 12;
        const double day = 1 + (i * 7) % 28 + (i % 24) / 24.0;
        const SunState theory = sunPosition(year, month, day, tables);
        const sky::SunOfDate model = sky::geometricSunOfDate(julianday(year, month, day));
        const double dLon = signedArcsec(theory.longitude - model.longitude);
        const double dRad = std::fabs(theory.radius - model.radius) / model.radius;
        maxLongitude = std::max(maxLongitude, std::fabs(dLon));
        maxRadius = std::max(maxRadius, dRad);
        sumSquares += dLon * dLon;
        ++count;
    }
    const double rms = std::sqrt(sumSquares / count);
    RecordProperty("max_longitude_arcsec", std::to_string(maxLongitude));
    RecordProperty("rms_longitude_arcsec", std::to_string(rms));
    RecordProperty("max_radius_relative", std::to_string(maxRadius));
    std::printf("%d instants: longitude max %.3f\" rms %.3f\", radius max %.2e\n", count,
                maxLongitude, rms, maxRadius);
    EXPECT_LT(maxLongitude, 2.5);
    EXPECT_LT(rms, 1.2);
    EXPECT_LT(maxRadius, 3e-6);
}

TEST(Accuracy, ASignSlipInALargeTermIsCaught) {
    // The check above must be able to fail: flip the sign of the largest Venus term.
    Tables tables = loadTables(findDataDir());
    int largest = 1;
    for (int i = 1; i <= kPlanetTermCount; ++i) {
        if (tables.planetTerms[i].longitudeAmplitude >
            tables.planetTerms[largest].longitudeAmplitude) {
            largest = i;
        }
    }
    tables.planetTerms[largest].longitudePhase += 180;
    double maxLongitude = 0;
    for (int i = 0; i < 100; ++i) {
        const int year = 1900 + 2 * i;
        const SunState theory = sunPosition(year, 1 + i % 12, 1 + i % 28, tables);
        const sky::SunOfDate model =
            sky::geometricSunOfDate(julianday(year, 1 + i % 12, 1 + i % 28));
        maxLongitude =
            std::max(maxLongitude, std::fabs(signedArcsec(theory.longitude - model.longitude)));
    }
    EXPECT_GT(maxLongitude, 2.5);
}

} // namespace
} // namespace sorvane
