#!/usr/bin/env bash
# The robustness run, part of tools/test.sh. Builds build-sanitize/ with clang,
# AddressSanitizer and UndefinedBehaviorSanitizer (every report fatal), then runs with CTest:
#   sweep  every year -32768..32767 through the calculation (28 well-formed lines, the
#          events in order and at their longitudes, the twelve first days, month listings),
#          in shards side by side, and the terminal program for a sample of years;
#   fuzz   the data-file reader (file text) and the year's calculation with the 雑節 (term
#          values) under libFuzzer, each for SORVANE_FUZZ_SECONDS (default 25) over its corpus
#          in fuzz/, the second with -rss_limit_mb=512 -timeout=10, and replays of both corpora;
#   horizon  the rising and setting tests, whose searches read tabulated places near the
#          tables' ends.
# About two minutes of building and two of running on two cores.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
. tools/ccache.sh

jobs="$(nproc)"
CC=clang CXX=clang++ cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DSORVANE_BUILD_GUI=OFF -DSORVANE_SANITIZE=ON -DSORVANE_WERROR="${SORVANE_WERROR:-OFF}" \
    "${ccache_options[@]}" \
    -DSORVANE_FUZZ_SECONDS="${SORVANE_FUZZ_SECONDS:-25}" >/dev/null
cmake --build build-sanitize -j"$jobs" \
    --target year_sweep sorvane-cli term_file_fuzzer term_file_replay year_terms_fuzzer \
    year_terms_replay horizon_tests

export ASAN_OPTIONS="${ASAN_OPTIONS:-abort_on_error=1:detect_stack_use_after_return=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
ctest --test-dir build-sanitize -L 'sweep|fuzz|horizon' -j"$jobs" --output-on-failure
