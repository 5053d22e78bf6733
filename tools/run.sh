#!/usr/bin/env bash
# Builds the program and runs it: the main window when a display is available, otherwise the
# terminal program for the current year.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/build.sh
if [ -x build/bin/sorvane ] && [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/bin/sorvane "$@"
fi
exec build/bin/sorvane-cli "$@"
