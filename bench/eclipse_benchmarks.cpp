// A year's solar and lunar eclipses for one place (target: under 5 ms on one core), and the
// solar eclipses alone without a place.
#include "eclipse/eclipses.h"
#include "horizon/places.h"

#include <benchmark/benchmark.h>

namespace {

using namespace sorvane;

void BM_YearOfEclipsesForAPlace(benchmark::State& state) {
    const horizon::Observer tokyo = horizon::tokyo().observer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(eclipse::solarEclipses(2030, tokyo));
        benchmark::DoNotOptimize(eclipse::lunarEclipses(2030, tokyo));
    }
}
BENCHMARK(BM_YearOfEclipsesForAPlace)->Unit(benchmark::kMillisecond);

void BM_YearOfSolarEclipses(benchmark::State& state) {
    for (auto _ : state) {
        benchmark::DoNotOptimize(eclipse::solarEclipses(2035, std::nullopt));
    }
}
BENCHMARK(BM_YearOfSolarEclipses)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
