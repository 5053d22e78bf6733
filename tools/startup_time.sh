#!/usr/bin/env bash
# Measures the desktop program's start-up: the time from launching it to its main window's
# first paint, under a virtual X server with a window manager (openbox), as the median of
# several runs, with the steps on the way (see ui/startup_trace.h):
#   main         the program's code starts (loading and linking the libraries)
#   application  Qt's application object exists (X connection, platform plugin)
#   translations Qt's Japanese translation is installed
#   fonts        the font substitutions are set and the first font looked up (fontconfig)
#   data         the term files are loaded
#   window       the main window is built and the current year calculated
#   first-paint  the window's first painting has gone to the X server
#   cpu-time     the processor time the program had used by then (not stretched by a busy
#                machine, unlike the others)
# Each other figure is in milliseconds from the launch. Run it on an otherwise idle machine;
# on a shared one, running it with a raised priority (nice -n -10, as root) comes closer.
#
# Usage: tools/startup_time.sh [RUNS] [PROGRAM]
#   RUNS defaults to 10, PROGRAM to build/bin/sorvane.
set -euo pipefail

steps=(main application translations fonts data window first-paint)

if [ "${1:-}" = "--inside-xvfb" ]; then
    runs=$2
    program=$3
    openbox >/dev/null 2>&1 &
    wm_pid=$!
    sleep 1
    log=$(mktemp)
    app_pid=""
    cleanup() {
        if [ -n "$app_pid" ]; then
            kill "$app_pid" 2>/dev/null || true
        fi
        kill "$wm_pid" 2>/dev/null || true
        rm -f "$log"
    }
    trap cleanup EXIT

    table=() # one line per run: the steps' milliseconds
    for run in $(seq 1 "$runs"); do
        : >"$log"
        launched=$EPOCHREALTIME
        SORVANE_STARTUP_TRACE=1 "$program" 2>"$log" &
        app_pid=$!
        for _ in $(seq 1 200); do
            grep -q '^sorvane-startup first-paint ' "$log" && break
            sleep 0.05
        done
        kill "$app_pid" 2>/dev/null || true
        wait "$app_pid" 2>/dev/null || true
        app_pid=""
        if ! grep -q '^sorvane-startup first-paint ' "$log"; then
            echo "startup_time: run $run: no first paint within 10 s" >&2
            exit 1
        fi
        line=""
        for step in "${steps[@]}"; do
            ns=$(awk -v s="$step" '$1 == "sorvane-startup" && $2 == s { print $3; exit }' "$log")
            line+=" $(awk -v t="$ns" -v l="${launched/./}" 'BEGIN { printf "%.1f", (t / 1000 - l) / 1000 }')"
        done
        line+=" $(awk '$2 == "cpu-time" { printf "%.1f", $3 / 1e6 }' "$log")"
        table+=("$line")
        printf 'run %2d:%s\n' "$run" "$line"
        sleep 0.5 # let the window manager settle between runs
    done

    printf '%s\n' "${table[@]}" | awk -v names="${steps[*]} cpu-time" '
        { for (i = 1; i <= NF; ++i) v[i, NR] = $i }
        END {
            n = split(names, name, " ")
            printf "median of %d runs (ms from launch; cpu-time in ms):\n", NR
            for (i = 1; i <= n; ++i) {
                for (r = 1; r <= NR; ++r) s[r] = v[i, r]
                for (a = 1; a <= NR; ++a) for (b = a + 1; b <= NR; ++b)
                    if (s[b] < s[a]) { t = s[a]; s[a] = s[b]; s[b] = t }
                m = NR % 2 ? s[(NR + 1) / 2] : (s[NR / 2] + s[NR / 2 + 1]) / 2
                printf "  %-13s %7.1f  (%s .. %s)\n", name[i], m, s[1], s[NR]
            }
        }'
    exit 0
fi

runs=${1:-10}
root=$(cd "$(dirname "$0")/.." && pwd)
program=${2:-$root/build/bin/sorvane}
for tool in xvfb-run openbox; do
    if ! command -v "$tool" >/dev/null; then
        echo "startup_time: $tool is missing (tools/install-deps.sh installs it)" >&2
        exit 1
    fi
done
if [ ! -x "$program" ]; then
    echo "startup_time: $program not built (tools/build.sh builds it)" >&2
    exit 1
fi
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$root/tools/startup_time.sh" --inside-xvfb "$runs" "$program"
