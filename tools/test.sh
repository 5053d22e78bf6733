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
    [ -z "${skipped:-}" ] || echo "  (skipped: $skipped)" >&2
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
# The Windows edition under wine (tools/windows.sh test: the sweep, the Windows cases, the
# Qt-free suites and the window program), where this machine has Qt for Windows built
# (tools/windows.sh qt, once per machine, half an hour or more; kept in the cache). Without it
# the stage says so in one line and passes: building Qt, the Windows libraries and the
# cross-build from nothing would take longer than the rest of the test command.
windows_stage() {
  local cache=${SORVANE_CACHE_DIR:-${XDG_CACHE_HOME:-$HOME/.cache}/sorvane}
  if compgen -G "$cache/windows/qt6-base-*/.complete" >/dev/null; then
    env SORVANE_WERROR=ON tools/windows.sh test
  else
    echo "test: SKIPPED: the Windows edition under wine (sweep, suites, window program): Qt for" \
      "Windows is not built on this machine (no $cache/windows/qt6-base-*); 'tools/windows.sh qt'" \
      "builds it once (half an hour or more), then this stage runs 'tools/windows.sh test'" >&2
    skipped="windows (no Qt for Windows in the cache)"
  fi
}
skipped=""
stage windows windows_stage
