#!/usr/bin/env bash
# Configures and builds the project into build/ (the program, the terminal program, tests).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh
. tools/ccache.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ccache_options[@]}" "$@" >/dev/null
cmake --build build -j"$(nproc)"
