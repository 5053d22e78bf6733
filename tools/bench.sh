#!/usr/bin/env bash
# Benchmarks: builds build-bench/ in Release with Google Benchmark and runs them on one core.
# Prints the time of one sunPosition, of one year's 28 events, of all 65,536 years, and of
# the independent ERFA solver for the same 28 events, with the ratio; then the precise
# year and the Moon's phase search for 1000, 1850, 1930, 2025, 2080, 2500 and 3000 (inside the
# Earth's table 1898-2102 and outside it) and the day listing for 1930, 2025 and 2080 beside
# astronomy-engine's C library (the peer in ../shared/peers/astronomy-engine, built here
# into build-bench/peer, never linked), with the ratio of each (each side's best of five
# alternate rounds); then one lunisolar year, a year's 暦注 and the day search (100 years of
# a one-word query, the 日を探す window's ten-year count); and every 法要 of a 命日 with
# candidates (--life 法要 --json, in the process and as the terminal program's CPU time);
# first of all, the processor time of a start of the terminal program. Extra arguments go to
# every benchmark (e.g. --benchmark_filter=OneYear).
# About four minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSORVANE_BUILD_BENCHMARKS=ON \
  -DSORVANE_BUILD_GUI=OFF -DSORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target sorvane_bench sorvane_lunisolar_bench \
  sorvane_notes_bench sorvane_daysearch_bench sorvane_life_bench sorvane-cli
export SORVANE_DATA_DIR="$PWD/data"
echo "load: $(cut -d' ' -f1-3 /proc/loadavg)"

# A start: the processor time (user + system) of the whole process `sorvane-cli 2026`, loading
# and linking its libraries included, the median of 15 batches of 20 runs (target 2 ms).
python3 - build-bench/bin/sorvane-cli <<'EOF'
import resource, statistics, subprocess, sys
def batch(runs=20):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    for _ in range(runs):
        subprocess.run([sys.argv[1], "2026"], check=True, stdout=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    used = (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)
    return used / runs * 1e3
times = sorted(batch() for _ in range(15))
print("start: sorvane-cli 2026 %.2f ms of process CPU (median of 15 x 20 runs, %.2f..%.2f; "
      "target 2 ms)" % (statistics.median(times), times[0], times[-1]))
EOF
build-bench/bin/sorvane_bench "$@"

# The Moon and the precise mode beside the peer, in one run: five rounds, each ours then the
# peer's for every year, and each side's best round compared, so that a burst of load on the
# shared cores (which moves a single pair by a third) weighs on neither side alone.
json=build-bench/lunisolar.json
build-bench/bin/sorvane_lunisolar_bench --benchmark_out="$json" --benchmark_out_format=json "$@"
peer_src=../shared/peers/astronomy-engine
if [ -f "$peer_src/ae_driver.c" ]; then
  mkdir -p build-bench/peer
  gcc -O2 "$peer_src/ae_driver.c" "$peer_src/astronomy.c" -lm -o build-bench/peer/ae_driver
  python3 - "$json" build-bench/peer/ae_driver build-bench/bin/sorvane_lunisolar_bench "$@" <<'EOF'
import json, subprocess, sys
first, driver, bench, extra = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4:]
names = ("BM_PreciseYear", "BM_PhaseSearchYear", "BM_DaysListing")
years = (1000, 1850, 1930, 2025, 2080, 2500, 3000)
rounds = 5
def ours_of(path):
    return {b["name"]: b["real_time"] / 1e3 for b in json.load(open(path))["benchmarks"]
            if b.get("run_type", "iteration") == "iteration"}  # milliseconds -> seconds
def peer(mode, year, n):
    out = subprocess.run([driver, "time", mode, str(year), str(n)], check=True,
                         capture_output=True, text=True).stdout
    return float(out.split()[0])
ours, theirs = {}, {}
def keep(best, key, value):
    best[key] = min(best.get(key, value), value)
for r in range(rounds):
    if r == 0:
        measured = ours_of(first)
    else:
        subprocess.run([bench, "--benchmark_filter=^(%s)/" % "|".join(names),
                        "--benchmark_min_time=0.1", "--benchmark_out=" + first + ".round",
                        "--benchmark_out_format=json"] + extra, check=True,
                       stdout=subprocess.DEVNULL)
        measured = ours_of(first + ".round")
    for key, value in measured.items():
        keep(ours, key, value)
    for year in years:
        keep(theirs, ("terms", year), peer("terms", year, 300))
        keep(theirs, ("phases", year), peer("phases", year, 40))
print("\nBeside astronomy-engine's C library (gcc -O2), seconds per year, each side's best of"
      " %d alternate rounds; ratio = ours / peer" % rounds)
print("%-26s %10s %10s %7s" % ("", "Sorvane", "peer", "ratio"))
for year in years:
    terms, phases = theirs[("terms", year)], theirs[("phases", year)]
    for name, peer_time in zip(names, (terms, phases, terms + phases)):
        key = "%s/%d" % (name, year)
        if key in ours:
            print("%-26s %10.6f %10.6f %6.2fx" % (key, ours[key], peer_time, ours[key] / peer_time))
EOF
else
  echo "(no peer at $peer_src: ratios not computed)"
fi
build-bench/bin/sorvane_notes_bench "$@"
build-bench/bin/sorvane_daysearch_bench "$@"
exec build-bench/bin/sorvane_life_bench "$@"
