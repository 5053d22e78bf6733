// The cost of a year's 暦注 (notes::yearNotes): the Sun's dates every 5 degrees (84
// searches in the precise mode, or the solar theory's outside it), the 日家九星 switches, the
// new moons for the noon moon age, and the rules of 365 days. The lunisolar year is given, as
// the almanac gives it; a second entry times the solar theory's year. Target: under 5 ms on
// one core. Run with tools/bench.sh.
#include "almanac/coverage.h"
#include "ephemeris/data_location.h"
#include "lunisolar/lunisolar_year.h"
#include "notes/notes.h"
#include "notes/solar_dates.h"

#include <benchmark/benchmark.h>

namespace {

using namespace sorvane;

SunMomentsOfYear pageSun() {
    static const Tables t = loadTables(findDataDir());
    static const almanac::SunEngines engines(&t);
    return engines.pageChoice();
}

void BM_YearNotes(benchmark::State& state) {
    const lunisolar::LunisolarYear lunisolar(2026);
    for (auto _ : state) {
        auto notes = notes::yearNotes(pageSun(), 2026, &lunisolar);
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(BM_YearNotes)->Unit(benchmark::kMillisecond);

void BM_YearNotesSolarTheory(benchmark::State& state) {
    for (auto _ : state) {
        auto notes = notes::yearNotes(pageSun(), 3500);
        benchmark::DoNotOptimize(notes);
    }
}
BENCHMARK(BM_YearNotesSolarTheory)->Unit(benchmark::kMillisecond);

void BM_SolarDates(benchmark::State& state) {
    for (auto _ : state) {
        auto dates = notes::solarDates(pageSun(), 2026);
        benchmark::DoNotOptimize(dates);
    }
}
BENCHMARK(BM_SolarDates)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
