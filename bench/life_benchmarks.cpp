// The life events: every 法要 of a 命日 with their candidates, as `sorvane-cli --life 法要
// --date D --json` computes it (target: under 30 ms of process CPU). In the process, from the
// term files' loading to the JSON document; and the terminal program itself, started anew
// each time, its CPU time (user + system, from the kernel's accounting of the child) reported
// as the counter cpu_ms.
#include "ephemeris/data_location.h"
#include "ephemeris/tables.h"
#include "export/life_document.h"
#include "lifeevents/life_events.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

using namespace sorvane;

lifeevents::Request hoyo(const CivilDate& death) {
    lifeevents::Request r;
    r.kind = lifeevents::Kind::Hoyo;
    r.date = death;
    r.today = CivilDate{2100, 12, 31};
    return r;
}

const CivilDate kDeaths[] = {{2026, 2, 1}, {1990, 7, 15}, {2099, 11, 30}};

// A fresh day service each time: the term files read, nothing held from the last run.
void BM_HoyoJsonInProcess(benchmark::State& state) {
    const CivilDate death = kDeaths[state.range(0)];
    for (auto _ : state) {
        const almanac::Days days([] { return loadTables(findDataDir()); },
                                 almanac::Minutes::Observatory);
        const lifeevents::Result r = lifeevents::plan(hoyo(death), days);
        std::string json = exports::lifeJson(r.plan);
        benchmark::DoNotOptimize(json);
    }
    state.SetLabel(isoDateText(death));
}
BENCHMARK(BM_HoyoJsonInProcess)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

double childCpuMs() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e3 +
           (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e3;
}

// The terminal program as a user runs it, its output thrown away.
void BM_HoyoJsonProcess(benchmark::State& state) {
    const std::string date = isoDateText(kDeaths[state.range(0)]);
    std::string program = SORVANE_CLI;
    std::vector<std::string> args = {program, "--life", "法要",    "--date",
                                     date,    "--json", "--today", "2100-12-31"};
    std::vector<char*> argv;
    for (std::string& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    double cpu = 0;
    for (auto _ : state) {
        const double before = childCpuMs();
        pid_t pid = 0;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            state.SkipWithError("sorvane-cli could not be started");
            break;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("sorvane-cli failed");
            break;
        }
        cpu += childCpuMs() - before;
    }
    posix_spawn_file_actions_destroy(&actions);
    state.counters["cpu_ms"] = benchmark::Counter(
        cpu / static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1)));
    state.SetLabel(date);
}
BENCHMARK(BM_HoyoJsonProcess)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
