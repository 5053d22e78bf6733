#!/usr/bin/env bash
# Builds everything, checks the formatting and the layers, then runs every test: unit and
# accuracy tests, the window tests on Qt's offscreen platform, the sanitizer sweep, the fuzz run
# and the web edition's tests (tools/web.sh test). Every build treats a compiler warning as an
# error (SORVANE_WERROR). Each stage's wall time is printed at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

times=()
stage() {
  local name=$1 start=$SECONDS
  shift
  echo "test: $name" >&2
  "$@"
  times+=("$(printf '%-12s %5d s' "$name" $((SECONDS - start)))")
}
report() {
  local status=$?
  if [ ${#times[@]} -gt 0 ]; then
    echo "test: stage times (total $SECONDS s):" >&2
    printf '  %s\n' "${times[@]}" >&2
  fi
  return $status
}
trap report EXIT

stage build tools/build.sh -DSORVANE_BUILD_BENCHMARKS=ON -DSORVANE_WERROR=ON
stage format tools/format-check.sh
stage layers tools/layer-check.sh
stage ctest ctest --test-dir build --output-on-failure -j"$(nproc)"
stage robustness env SORVANE_WERROR=ON tools/robustness.sh
# The web edition: its source step on Debian's default apt sources, then the WebAssembly build
# against the native one and the site in Chromium.
stage sources web/tests/sources_test.sh
stage web env SORVANE_WERROR=ON tools/web.sh test
