#!/usr/bin/env bash
# Benchmark of the solar theory: builds build-bench/ in Release with Google Benchmark and
# runs it on one core. Prints the time of one sunPosition, of one year's 28 events, of all
# 65,536 years, and of the independent ERFA solver for the same 28 events, with the ratio;
# then the Moon's phase search for a year and one lunisolar year, and a year's 暦注.
# Extra arguments go to the benchmark (e.g. --benchmark_filter=OneYear). About two minutes.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DSORVANE_BUILD_BENCHMARKS=ON \
    -DSORVANE_BUILD_GUI=OFF -DSORVANE_BUILD_TESTS=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target sorvane_bench sorvane_lunisolar_bench sorvane_notes_bench
SORVANE_DATA_DIR="$PWD/data" build-bench/bin/sorvane_bench "$@"
SORVANE_DATA_DIR="$PWD/data" build-bench/bin/sorvane_lunisolar_bench "$@"
SORVANE_DATA_DIR="$PWD/data" exec build-bench/bin/sorvane_notes_bench "$@"
