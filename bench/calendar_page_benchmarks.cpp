// How quickly the calendar page opens and turns its months, on Qt's offscreen platform:
// the page model alone (a year not seen before, and a month of a year already computed) and
// the window (built and painted; a month switch repainted, within a year and into a new
// one). Targets: a switch under 50 ms, opening under 150 ms.
// Build with -DSORVANE_BUILD_BENCHMARKS=ON (and the windows on), run
// QT_QPA_PLATFORM=offscreen build/bin/sorvane_calendar_page_bench.
#include "almanac/month_page.h"
#include "ephemeris/data_location.h"
#include "ui/calendar_page.h"
#include "ui/fonts.h"

#include <QApplication>
#include <QPixmap>
#include <benchmark/benchmark.h>

namespace {

using namespace sorvane;

const Tables& tables() {
    static const Tables loaded = loadTables(findDataDir());
    return loaded;
}

void BM_PageModelNewYear(benchmark::State& state) {
    int year = 1950;
    for (auto _ : state) {
        almanac::CalendarYears years(tables());
        benchmark::DoNotOptimize(years.monthPage(year, 8));
        year = year == 2090 ? 1950 : year + 1;
    }
}
BENCHMARK(BM_PageModelNewYear)->Unit(benchmark::kMillisecond);

void BM_PageModelCachedYear(benchmark::State& state) {
    almanac::CalendarYears years(tables());
    int month = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(years.monthPage(2025, month));
        month = month % 12 + 1;
    }
}
BENCHMARK(BM_PageModelCachedYear)->Unit(benchmark::kMicrosecond);

void BM_OpenWindow(benchmark::State& state) {
    for (auto _ : state) {
        ui::CalendarPage page(tables());
        page.show();
        benchmark::DoNotOptimize(page.grab());
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);

void BM_SwitchMonthSameYear(benchmark::State& state) {
    ui::CalendarPage page(tables());
    page.show();
    page.showDate({2025, 1, 1});
    for (auto _ : state) {
        page.stepMonths(page.selectedDate().month == 12 ? -11 : 1);
        benchmark::DoNotOptimize(page.grab());
    }
}
BENCHMARK(BM_SwitchMonthSameYear)->Unit(benchmark::kMillisecond);

void BM_SwitchMonthIntoNewYear(benchmark::State& state) {
    ui::CalendarPage page(tables());
    page.show();
    int year = 1950;
    for (auto _ : state) {
        state.PauseTiming();
        page.showDate({year, 12, 1}); // and so computed before the clock runs
        state.ResumeTiming();
        page.stepMonths(1);
        benchmark::DoNotOptimize(page.grab());
        year += 2;
    }
}
BENCHMARK(BM_SwitchMonthIntoNewYear)->Unit(benchmark::kMillisecond)->Iterations(60);

// The same with the 暦注 shown: the new year's notes are computed on the switch too.
void BM_SwitchMonthIntoNewYearWithNotes(benchmark::State& state) {
    ui::CalendarPage page(tables());
    page.setNotesShown(true);
    page.show();
    int year = 1951;
    for (auto _ : state) {
        state.PauseTiming();
        page.showDate({year, 12, 1});
        state.ResumeTiming();
        page.stepMonths(1);
        benchmark::DoNotOptimize(page.grab());
        year += 2;
    }
}
BENCHMARK(BM_SwitchMonthIntoNewYearWithNotes)->Unit(benchmark::kMillisecond)->Iterations(60);

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ui::installFontSubstitutions();
    QApplication::setFont(ui::programFont(9));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
