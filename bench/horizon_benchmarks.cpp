// A year of sunrise, sunset, moonrise and moonset for one place (target: under 20 ms on one
// core), and the rising and setting search alone without the Moon's ages.
#include "horizon/places.h"
#include "horizon/rise_set.h"

#include <benchmark/benchmark.h>

namespace {

using namespace sorvane;

void BM_YearOfRiseAndSet(benchmark::State& state) {
    const horizon::Observer tokyo = horizon::tokyo().observer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(horizon::yearTimes(tokyo, 2025));
    }
}
BENCHMARK(BM_YearOfRiseAndSet)->Unit(benchmark::kMillisecond);

void BM_YearOfMoonEvents(benchmark::State& state) {
    const horizon::Observer tokyo = horizon::tokyo().observer;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            horizon::riseSetEvents(horizon::Body::Moon, tokyo, 2460676, 2461040));
    }
}
BENCHMARK(BM_YearOfMoonEvents)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
