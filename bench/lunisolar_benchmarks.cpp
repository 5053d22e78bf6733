// The cost of the precise mode and the Moon: the 28 precise moments of a year (the solar
// terms and 土用 entries, each a search on the IAU Sun), the search for one year's 朔弦望, one
// LunisolarYear (the 中気 and new moons from the 冬至 before the year to the 冬至 after it,
// the year's phases, the month numbering), and the terminal program's --days for a year:
// the precise mode's 28 events and 雑節, the lunisolar year, the holidays, the listing and
// its text. Run with tools/bench.sh.
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/julian_day.h"
#include "ephemeris/data_location.h"
#include "export/days_document.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/moon_phases.h"
#include "precise/precise_year.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>

namespace {

using namespace sorvane;

constexpr int kYear = 2025;

long long dayOf(int y, int m, int d) {
    return static_cast<long long>(std::floor(julianday(y, m, d)));
}

void BM_PreciseYear(benchmark::State& state) {
    for (auto _ : state) {
        auto events = precise::preciseYear(kYear);
        benchmark::DoNotOptimize(events);
    }
}
BENCHMARK(BM_PreciseYear)->Unit(benchmark::kMillisecond);

void BM_PhaseSearchYear(benchmark::State& state) {
    for (auto _ : state) {
        auto phases = lunisolar::phasesBetween(dayOf(kYear, 1, 1), dayOf(kYear, 12, 31));
        benchmark::DoNotOptimize(phases);
    }
}
BENCHMARK(BM_PhaseSearchYear)->Unit(benchmark::kMillisecond);

void BM_LunisolarYear(benchmark::State& state) {
    for (auto _ : state) {
        lunisolar::LunisolarYear year(kYear);
        benchmark::DoNotOptimize(year);
    }
}
BENCHMARK(BM_LunisolarYear)->Unit(benchmark::kMillisecond);

void BM_DaysListing(benchmark::State& state) {
    const char* dir = std::getenv("SORVANE_DATA_DIR");
    const Tables tables = loadTables(dir != nullptr ? std::filesystem::path(dir) : findDataDir());
    almanac::AlmanacOptions what;
    what.precise = true;
    what.zassetsu = true;
    what.lunisolar = true;
    for (auto _ : state) {
        const almanac::YearAlmanac year = almanac::yearAlmanac(tables, kYear, what);
        std::string text = exports::daysReport(almanac::dayListing(year));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_DaysListing)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
