// The day search: a one-word query over 100 years as the terminal program runs it (each
// year's facts computed once, a few years held), and the count the window shows for a
// ten-year range, first with the years still to compute, then again with them held.
// The whole terminal process is timed apart with /usr/bin/time (see the README).
#include "daysearch/day_search.h"
#include "daysearch/query.h"
#include "ephemeris/data_location.h"

#include <benchmark/benchmark.h>

namespace {

using namespace sorvane;

const Tables& tables() {
    static const Tables t = loadTables(findDataDir());
    return t;
}

// A one-word query of each source: the 六曜 (lunisolar year), a 選日 (day notes), a solar
// term (the precise year), the holidays, a 潮名 (the lunisolar year, without the 六曜) and a
// 下段 (day notes).
const char* const kOneWord[] = {"大安", "天赦日", "立春", "祝日", "大潮", "天徳日"};

void BM_FindOneWord100Years(benchmark::State& state) {
    const daysearch::Vocabulary vocabulary;
    const auto query = daysearch::parseQuery(kOneWord[state.range(0)], vocabulary);
    for (auto _ : state) {
        daysearch::DaySearch search(tables());
        auto result = search.search(query, CivilDate{1950, 1, 1}, CivilDate{2049, 12, 31});
        benchmark::DoNotOptimize(result);
    }
    state.SetLabel(kOneWord[state.range(0)]);
}
BENCHMARK(BM_FindOneWord100Years)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

// The window's query with its usual kinds: 六曜, 選日, weekday and 休日, 十二直.
constexpr const char* kWindowQuery = "大安|友引 一粒万倍日 休日 -不成就日 建|満|平";

void BM_CountTenYearsCold(benchmark::State& state) {
    const daysearch::Vocabulary vocabulary;
    const auto query = daysearch::parseQuery(kWindowQuery, vocabulary);
    for (auto _ : state) {
        daysearch::DaySearch search(tables(), 12);
        auto result = search.search(query, CivilDate{2026, 1, 1}, CivilDate{2035, 12, 31}, false);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_CountTenYearsCold)->Unit(benchmark::kMillisecond);

void BM_CountTenYearsHeld(benchmark::State& state) {
    const daysearch::Vocabulary vocabulary;
    const auto query = daysearch::parseQuery(kWindowQuery, vocabulary);
    daysearch::DaySearch search(tables(), 12);
    search.search(query, CivilDate{2026, 1, 1}, CivilDate{2035, 12, 31}, false);
    for (auto _ : state) {
        auto result = search.search(query, CivilDate{2026, 1, 1}, CivilDate{2035, 12, 31}, false);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(BM_CountTenYearsHeld)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
