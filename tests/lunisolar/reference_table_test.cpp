// Every lunisolar month start and leap month over 1900-2100, and every 朔, 上弦, 望 and 下弦,
// against the table tools/lunisolar_reference.py derived from a JPL-based ephemeris
// (swetest).
#include "calendar/julian_day.h"
#include "lunisolar/lunisolar_year.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
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

struct ReferencePhase {
    Phase phase = Phase::New;
    double jdTT = 0;
};

// Agreement of the program's phases with the reference's.
struct Agreement {
    std::size_t count = 0;
    std::size_t sameMinute = 0;
    long long worstMinutes = 0;
    double worstSeconds = 0;
    double sumSquares = 0;
    void add(const PhaseMoment& p, const ReferencePhase& r) {
        const double seconds = std::fabs(p.jdTT - r.jdTT) * 86400.0;
        // The reference's TT moment through the program's own TT -> JST (leap seconds, the
        // held value after them, Espenak-Meeus before 1960): the Moon and Sun alone compared.
        const long long minutes = std::llabs(p.jstMinute - jstMinute(r.jdTT));
        ++count;
        sameMinute += minutes == 0 ? 1 : 0;
        worstMinutes = std::max(worstMinutes, minutes);
        worstSeconds = std::max(worstSeconds, seconds);
        sumSquares += seconds * seconds;
    }
    double percent() const {
        return 100.0 * static_cast<double>(sameMinute) / static_cast<double>(count);
    }
    double rms() const { return std::sqrt(sumSquares / static_cast<double>(count)); }
};

TEST(LunisolarReference, MonthsAndPhases1900To2100) {
    std::ifstream in(SORVANE_LUNISOLAR_TEST_DIR "/lunisolar-reference-1900-2100.tsv");
    ASSERT_TRUE(in) << "reference table missing";
    std::map<long long, LunarMonth> refMonths;
    std::vector<ReferencePhase> refPhases;
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
        } else if (kind == "phase") {
            int angle = 0;
            ReferencePhase r;
            fields >> angle >> r.jdTT;
            r.phase = static_cast<Phase>(angle / 90);
            refPhases.push_back(r);
        }
    }
    ASSERT_GT(refMonths.size(), 2400u);
    ASSERT_GT(refPhases.size(), 9900u);

    std::map<long long, LunarMonth> months;
    std::vector<PhaseMoment> phases;
    for (int year = kFirstYear; year <= kLastYear; ++year) {
        const LunisolarYear ly(year);
        for (const LunarMonth& m : ly.months()) {
            months[m.firstDay] = m;
        }
        phases.insert(phases.end(), ly.phases().begin(), ly.phases().end());
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

    // Pair each phase with the reference's of the same kind within half a day; the two
    // lists may differ by a phase at either end (a moment near midnight of the range's
    // first or last day in the two JST scales).
    Agreement agreement;
    std::size_t next = 0;
    std::size_t unpaired = 0;
    for (const ReferencePhase& r : refPhases) {
        while (next < phases.size() && phases[next].jdTT < r.jdTT - 0.5) {
            ++next;
        }
        if (next == phases.size() || phases[next].phase != r.phase ||
            std::fabs(phases[next].jdTT - r.jdTT) > 0.5) {
            ++unpaired;
            continue;
        }
        agreement.add(phases[next], r);
    }
    EXPECT_LE(unpaired, 2u);
    EXPECT_GE(phases.size(), refPhases.size() - 2);

    std::printf("verified %zu months and %zu phases: %.2f %% to the minute, max error %.2f s "
                "(rms %.2f s), no minute more than %lld off\n",
                months.size(), agreement.count, agreement.percent(), agreement.worstSeconds,
                agreement.rms(), agreement.worstMinutes);
    EXPECT_GE(agreement.percent(), 99.5);
    EXPECT_LE(agreement.worstMinutes, 1);
    EXPECT_LT(agreement.worstSeconds, 1.0);
}

} // namespace
