// The cost of the precise mode and the Moon: the 28 precise moments of a year (the solar
// terms and 土用 entries, each a search on the IAU Sun), the search for one year's 朔弦望, one
// LunisolarYear (the 中気 and new moons from the 冬至 before the year to the 冬至 after it,
// the year's phases, the month numbering), and the terminal program's --days for a year:
// the precise mode's 28 events and 雑節, the lunisolar year, the holidays, the listing and
// its text. Each takes the year as its argument (BM_PhaseSearchYear/2025); tools/bench.sh
// runs them beside astronomy-engine's C library for 1930, 2025 and 2080 (inside the Earth's
// table) and, for the precise year and the phases, 1000, 1850, 2500 and 3000 (outside it).
#include "almanac/day_listing.h"
#include "almanac/year_almanac.h"
#include "calendar/julian_day.h"
#include "ephemeris/data_location.h"
#include "export/days_document.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/moon_phases.h"
#include "sky/precise_year.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>

namespace {

using namespace sorvane;

long long dayOf(int y, int m, int d) {
    return static_cast<long long>(std::floor(julianday(y, m, d)));
}

void BM_PreciseYear(benchmark::State& state) {
    const auto year = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto events = sky::preciseYear(year);
        benchmark::DoNotOptimize(events);
    }
}
BENCHMARK(BM_PreciseYear)
    ->Arg(1000)
    ->Arg(1850)
    ->Arg(1930)
    ->Arg(2025)
    ->Arg(2080)
    ->Arg(2500)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond);

void BM_PhaseSearchYear(benchmark::State& state) {
    const auto year = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto phases = lunisolar::phasesBetween(dayOf(year, 1, 1), dayOf(year, 12, 31));
        benchmark::DoNotOptimize(phases);
    }
}
BENCHMARK(BM_PhaseSearchYear)
    ->Arg(1000)
    ->Arg(1850)
    ->Arg(1930)
    ->Arg(2025)
    ->Arg(2080)
    ->Arg(2500)
    ->Arg(3000)
    ->Unit(benchmark::kMillisecond);

void BM_LunisolarYear(benchmark::State& state) {
    const auto y = static_cast<int>(state.range(0));
    for (auto _ : state) {
        lunisolar::LunisolarYear year(y);
        benchmark::DoNotOptimize(year);
    }
}
BENCHMARK(BM_LunisolarYear)->Arg(2025)->Unit(benchmark::kMillisecond);

void BM_DaysListing(benchmark::State& state) {
    const auto y = static_cast<std::int16_t>(state.range(0));
    const char* dir = std::getenv("SORVANE_DATA_DIR");
    const Tables tables = loadTables(dir != nullptr ? std::filesystem::path(dir) : findDataDir());
    almanac::AlmanacOptions what;
    what.precise = true;
    what.zassetsu = true;
    what.lunisolar = true;
    for (auto _ : state) {
        const almanac::YearAlmanac year = almanac::yearAlmanac(tables, y, what);
        std::string text = exports::daysReport(almanac::dayListing(year));
        benchmark::DoNotOptimize(text);
    }
}
BENCHMARK(BM_DaysListing)->Arg(1930)->Arg(2025)->Arg(2080)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
