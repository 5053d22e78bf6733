// The cost of the solar theory: one evaluation of sunPosition, one year's 28 events, and
// every year from -32768 to 32767; and, in the same run, an independent solver for the
// same 28 events: the Sun's apparent longitude from the IAU SOFA/ERFA model (eraEpv00 with
// light time and aberration, eraEcm06, eraNut06a) solved for each target by Newton steps.
// After the table of Google Benchmark, a summary gives the figures and the ratio.
#include "calendar/julian_day.h"
#include "calendar/solar_terms.h"
#include "ephemeris/data_location.h"
#include "ephemeris/sun_position.h"
#include "ephemeris/tables.h"
#include "finder/finder.h"
#include "sky/erfa_sun.h"

#include <algorithm>
#include <array>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace sorvane;

const Tables& tables() {
    static const Tables loaded = [] {
        const char* dir = std::getenv("SORVANE_DATA_DIR");
        return loadTables(dir != nullptr ? std::filesystem::path(dir) : findDataDir());
    }();
    return loaded;
}

constexpr std::int16_t kYear = 2000;

// One event of the year as both solvers see it: its month, target longitude and the day
// of the month from which the program's search starts.
struct Event {
    int month;
    double target;
    double startDay;
};

std::array<Event, 28> eventsOfYear() {
    std::array<Event, 28> events{};
    std::size_t n = 0;
    const Tables& t = tables();
    for (int m = 1; m <= 12; ++m) {
        events[n++] = {m, sekkilong(m, 0), static_cast<double>(t.termApproxDays[m][1])};
        if (m % 3 == 1) {
            events[n++] = {m, dooulong(m), static_cast<double>(t.doyoApproxDays[m])};
        }
        events[n++] = {m, sekkilong(m, 1), static_cast<double>(t.termApproxDays[m][2])};
    }
    return events;
}

// The reference: each event's moment (JD, TT) from the ERFA Sun, starting from the same
// day as the program's search.
std::array<double, 28> referenceYear(int year, const std::array<Event, 28>& events) {
    std::array<double, 28> jd{};
    for (std::size_t i = 0; i < events.size(); ++i) {
        const double guess = julianday(year, events[i].month, events[i].startDay);
        jd[i] = sky::solveApparentLongitude(events[i].target, guess);
    }
    return jd;
}

void BM_SunPosition(benchmark::State& state) {
    const Tables& t = tables();
    double day = 1.0;
    for (auto _ : state) {
        SunState s = sunPosition(kYear, 6, day, t);
        benchmark::DoNotOptimize(s);
        day = day < 30 ? day + 0.37 : 1.0;
    }
}
BENCHMARK(BM_SunPosition);

void BM_OneYear(benchmark::State& state) {
    const auto year = static_cast<std::int16_t>(state.range(0));
    Finder finder(tables());
    for (auto _ : state) {
        finder.calculate(year);
        benchmark::DoNotOptimize(finder.kekka);
    }
}
BENCHMARK(BM_OneYear)->Arg(kYear)->Unit(benchmark::kMillisecond);

void BM_WholeRange(benchmark::State& state) {
    Finder finder(tables());
    for (auto _ : state) {
        for (int year = -32768; year <= 32767; ++year) {
            finder.calculate(static_cast<std::int16_t>(year));
            benchmark::DoNotOptimize(finder.kekka);
        }
    }
}
BENCHMARK(BM_WholeRange)->Iterations(1)->Unit(benchmark::kSecond);

void BM_ReferenceYear(benchmark::State& state) {
    const auto events = eventsOfYear();
    for (auto _ : state) {
        auto jd = referenceYear(kYear, events);
        benchmark::DoNotOptimize(jd);
    }
}
BENCHMARK(BM_ReferenceYear)->Unit(benchmark::kMillisecond);

// Keeps the mean real time of each benchmark, seconds per iteration, while the console
// reporter prints its usual table.
class RecordingReporter : public benchmark::ConsoleReporter {
  public:
    // Colours only on a terminal, so that a saved run reads cleanly.
    RecordingReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred && run.iterations > 0) {
                seconds[run.benchmark_name()] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
            }
        }
    }
    std::map<std::string, double> seconds;
};

double find(const std::map<std::string, double>& seconds, const std::string& prefix) {
    for (const auto& [name, value] : seconds) {
        if (name.rfind(prefix, 0) == 0) {
            return value;
        }
    }
    return NAN;
}

// The two solvers agree: the program's moment (theory time, geometric longitude) made
// later by the light time, as the program does before showing it, against the reference's
// moment of apparent longitude. Both scales are uniform time; the difference should be
// well under a minute for 2000.
double largestDifferenceSeconds() {
    Finder finder(tables());
    finder.calculate(kYear);
    const auto moments = finder.orderedMoments();
    const auto events = eventsOfYear();
    const auto reference = referenceYear(kYear, events);
    double worst = 0;
    for (std::size_t i = 0; i < moments.size(); ++i) {
        const double jd = julianday(kYear, moments[i].month, moments[i].theoryDay);
        const double radius =
            sunPosition(kYear, moments[i].month, moments[i].theoryDay, tables()).radius;
        const double lightTime = radius * 1495.9787 / 2.99792458 / 86400;
        worst = std::max(worst, std::fabs(jd + lightTime - reference[i]) * 86400);
    }
    return worst;
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    try {
        (void)tables();
    } catch (const DataFileError& e) {
        std::fprintf(stderr, "sorvane_bench: %s\n", e.what());
        return 1;
    }
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double perCall = find(reporter.seconds, "BM_SunPosition");
    const double perYear = find(reporter.seconds, "BM_OneYear");
    const double range = find(reporter.seconds, "BM_WholeRange");
    const double reference = find(reporter.seconds, "BM_ReferenceYear");
    // A benchmark left out by --benchmark_filter shows as "not run".
    auto line = [](const char* what, double value, double scale, const char* unit,
                   const char* target) {
        if (std::isnan(value)) {
            std::printf("  %-33s %10s\n", what, "not run");
        } else {
            std::printf("  %-33s %10.3f %-3s %s\n", what, value * scale, unit, target);
        }
    };
    std::printf("\nSummary (one core; year %d unless said)\n", kYear);
    line("sunPosition, one evaluation", perCall, 1e6, "us", "");
    line("one year, 28 events", perYear, 1e3, "ms", "(target < 1 ms)");
    line("all 65,536 years", range, 1, "s", "(target < 60 s)");
    line("reference solver, same 28 events", reference, 1e3, "ms", "");
    line("reference / program", reference / perYear, 1, "x", "(target >= 10 x)");
    std::printf("  largest difference of the two solvers' moments: %.1f s\n",
                largestDifferenceSeconds());
    return 0;
}
