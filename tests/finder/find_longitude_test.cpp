// Finder::findLongitude: the yearly calculation's search for any longitude (入梅, 半夏生).
#include "calendar/solar_terms.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace sorvane {
namespace {

// findLongitude runs the yearly calculation's own search: for a solar term it gives the
// very line the year's calculation gives, and it leaves the year's lines alone.
TEST(FinderLongitude, AgreesWithTheYearlyCalculationAndLeavesItsLines) {
    const Tables& tables = testing::shippedTables();
    Finder finder(tables);
    finder.calculate(2025);
    const auto lines = finder.kekka;
    const auto moments = finder.moments;

    for (int m : {2, 5, 8, 11}) {
        const EventMoment found = finder.findLongitude(
            2025, static_cast<std::int16_t>(m), tables.termApproxDays[m][1], sekkilong(m, 0));
        const EventMoment& year = moments[m][lineColumn(EventKind::Setsu)];
        EXPECT_EQ(found.day, year.day) << m;
        EXPECT_EQ(found.hour, year.hour) << m;
        EXPECT_EQ(found.minute, year.minute) << m;
        EXPECT_DOUBLE_EQ(found.theoryDay, year.theoryDay) << m;
        EXPECT_EQ(found.kind, EventKind::Longitude);
    }
    // 春分 through the wrap rules.
    const EventMoment shunbun = finder.findLongitude(2025, 3, tables.termApproxDays[3][2], 0);
    EXPECT_DOUBLE_EQ(shunbun.theoryDay, moments[3][lineColumn(EventKind::Chuki)].theoryDay);

    EXPECT_EQ(finder.kekka, lines);
    for (int m = 1; m <= 12; ++m) {
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(finder.moments[m][k].theoryDay, moments[m][k].theoryDay);
        }
    }
}

TEST(FinderLongitude, NyuubaiAndHangeshouOf2025) {
    Finder finder(testing::shippedTables());
    // The observatory gives 入梅 on 11 June and 半夏生 on 1 July 2025.
    const EventMoment nyuubai = finder.findLongitude(2025, 6, 10, 80);
    EXPECT_EQ(nyuubai.day, 11);
    EXPECT_EQ(nyuubai.target, 80);
    const EventMoment hangeshou = finder.findLongitude(2025, 7, 1, 100);
    EXPECT_EQ(hangeshou.day, 1);
    // The search starts on the given day and refines backwards when the event lies before it.
    const EventMoment late = finder.findLongitude(2025, 6, 12, 80);
    EXPECT_NEAR(late.jstDay, nyuubai.jstDay, 1e-5);
}

TEST(FinderLongitude, RefusesTargetsTheWholeDaySearchCannotBracket) {
    Finder finder(testing::shippedTables());
    EXPECT_THROW(finder.findLongitude(2025, 3, 25, 5), std::invalid_argument);
    EXPECT_THROW(finder.findLongitude(2025, 3, 10, 355), std::invalid_argument);
    EXPECT_NO_THROW(finder.findLongitude(2025, 3, 5, 345));
}

} // namespace
} // namespace sorvane
