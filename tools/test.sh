#!/usr/bin/env bash
# Builds everything, checks the formatting and the layers, then runs every test: unit and
# accuracy tests, the window tests on Qt's offscreen platform, the sanitizer sweep, the fuzz run
# and the web edition's tests (tools/web.sh test).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh -DSORVANE_BUILD_BENCHMARKS=ON
tools/format-check.sh
tools/layer-check.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
if [ -x tools/robustness.sh ]; then
  tools/robustness.sh
fi
# The web edition: the WebAssembly build against the native one, the site in Chromium.
tools/web.sh test
