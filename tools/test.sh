#!/usr/bin/env bash
# Builds everything, checks the formatting and the layers, then runs every test: unit and
# accuracy tests, the window tests on Qt's offscreen platform, the sanitizer sweep and the fuzz run.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh -DSORVANE_BUILD_BENCHMARKS=ON
tools/format-check.sh
tools/layer-check.sh
ctest --test-dir build --output-on-failure -j"$(nproc)"
if [ -x tools/robustness.sh ]; then
  tools/robustness.sh
fi
