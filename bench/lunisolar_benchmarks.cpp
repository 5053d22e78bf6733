// The cost of the Moon and the lunisolar calendar: the search for one year's 朔弦望, and
// one LunisolarYear (the 中気 and new moons from the 冬至 before the year to the 冬至
// after it, the year's phases, the month numbering). Run with tools/bench.sh.
#include "calendar/julian_day.h"
#include "lunisolar/lunisolar_year.h"
#include "lunisolar/moon_phases.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace sorvane;

constexpr int kYear = 2025;

long long dayOf(int y, int m, int d) {
    return static_cast<long long>(std::floor(julianday(y, m, d)));
}

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

} // namespace

BENCHMARK_MAIN();
