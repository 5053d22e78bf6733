// Every lunisolar month start and leap month over 1900-2100, and every new moon, against
// the table tools/lunisolar_reference.py derived from a JPL-based ephemeris (swetest).
#include "calendar/julian_day.h"
#include "lunisolar/lunisolar_year.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace sorvane::lunisolar;

long long dayOfIso(const std::string& iso) {
    return static_cast<long long>(std::floor(sorvane::julianday(
        std::stoi(iso.substr(0, 4)), std::stoi(iso.substr(5, 2)), std::stoi(iso.substr(8, 2)))));
}

struct ReferenceNewMoon {
    double jdTT = 0;
    long long jstMinute = 0;
};

TEST(LunisolarReference, MonthsAndNewMoons1900To2100) {
    std::ifstream in(SORVANE_LUNISOLAR_TEST_DIR "/lunisolar-reference-1900-2100.tsv");
    ASSERT_TRUE(in) << "reference table missing";
    std::map<long long, LunarMonth> refMonths;
    std::vector<ReferenceNewMoon> refNewMoons;
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        std::string kind;
        std::getline(fields, kind, '\t');
        if (kind == "month") {
            std::string first;
            LunarMonth m;
            fields >> first >> m.number >> m.leap >> m.days;
            m.firstDay = dayOfIso(first);
            refMonths[m.firstDay] = m;
        } else if (kind == "new_moon") {
            ReferenceNewMoon n;
            std::string date;
            std::string time;
            fields >> n.jdTT >> date >> time;
            n.jstMinute = dayOfIso(date) * 1440 + std::stoi(time.substr(0, 2)) * 60 +
                          std::stoi(time.substr(3, 2));
            refNewMoons.push_back(n);
        }
    }
    ASSERT_GT(refMonths.size(), 2400u);

    std::map<long long, LunarMonth> months;
    std::vector<PhaseMoment> newMoons;
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        const LunisolarYear ly(year);
        for (const LunarMonth& m : ly.months()) {
            months[m.firstDay] = m;
        }
        for (const PhaseMoment& p : ly.phases()) {
            if (p.phase == Phase::New) {
                newMoons.push_back(p);
            }
        }
    }

    ASSERT_EQ(months.size(), refMonths.size());
    for (const auto& [first, ref] : refMonths) {
        const auto it = months.find(first);
        ASSERT_NE(it, months.end()) << "no month begins on day " << first;
        const LunarMonth& m = it->second;
        EXPECT_TRUE(m.number == ref.number && m.leap == ref.leap && m.days == ref.days)
            << "month from day " << first << ": " << (m.leap ? "閏" : "") << m.number << " of "
            << m.days << " days, reference " << (ref.leap ? "閏" : "") << ref.number << " of "
            << ref.days;
    }

    ASSERT_EQ(newMoons.size(), refNewMoons.size());
    double maxSeconds = 0;
    std::size_t sameMinute = 0;
    double sumSquares = 0;
    std::size_t sameMinuteOwnScale = 0;
    for (std::size_t i = 0; i < newMoons.size(); ++i) {
        const double seconds = std::fabs(newMoons[i].jdTT - refNewMoons[i].jdTT) * 86400.0;
        maxSeconds = std::max(maxSeconds, seconds);
        EXPECT_LT(seconds, 30.0) << "new moon " << refNewMoons[i].jdTT;
        EXPECT_EQ(newMoons[i].jstMinute / 1440, refNewMoons[i].jstMinute / 1440)
            << "JST date of the new moon at " << refNewMoons[i].jdTT;
        sameMinute += newMoons[i].jstMinute == refNewMoons[i].jstMinute ? 1 : 0;
        sumSquares += seconds * seconds;
        // The same TT moment through this program's time scales: the Moon and Sun alone,
        // without the two Delta T models' difference (swetest extrapolates Delta T after
        // today, the program holds the last leap second).
        sameMinuteOwnScale += jstMinute(refNewMoons[i].jdTT) == newMoons[i].jstMinute ? 1 : 0;
    }
    const double rms = std::sqrt(sumSquares / static_cast<double>(newMoons.size()));
    const std::size_t n = months.size() + newMoons.size();
    std::printf("verified %zu cases (%zu months, %zu new moons), max error %.1f s (rms %.1f s), "
                "%zu of %zu new moons to the minute (%zu with the program's Delta T)\n",
                n, months.size(), newMoons.size(), maxSeconds, rms, sameMinute, newMoons.size(),
                sameMinuteOwnScale);
    EXPECT_LT(rms, 8.0);
    EXPECT_GE(sameMinute * 100, newMoons.size() * 85) << "fewer than 85 % to the minute";
}

} // namespace
