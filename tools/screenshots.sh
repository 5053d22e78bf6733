#!/usr/bin/env bash
# Starts the real program under a virtual X server and saves PNG screenshots of the main
# window, of the month window for January (opened with the keyboard, as a user would) and of
# the About box, plus the whole screen with both windows side by side; then the 暦 menu, the
# calendar page of August 2025 (山の日, 閏6月, a full moon; reached from today's month with
# Page Up), the 雑節 window and the 購読用カレンダー window; then of the result box's right-click menu, and of the main
# window against the screen's right edge with the year -32768 and the month window docked on
# its left, the year box with the focus, and the report of a damaged term file; and last the
# printed calendar page of August 2025 (PDF, converted with pdftoppm).
#
# Usage: tools/screenshots.sh OUTPUT_DIR [PROGRAM]
#   PROGRAM defaults to build/bin/sorvane. Needs xvfb-run, xdotool and ImageMagick's import;
#   a window manager (openbox) is used when installed, so that the windows have title bars.
set -euo pipefail

if [ "${1:-}" = "--inside-xvfb" ]; then
    program=$2
    out=$3
    wm_pid=""
    if command -v openbox >/dev/null; then
        openbox >/dev/null 2>&1 &
        wm_pid=$!
        sleep 1
    fi
    "$program" &
    app_pid=$!
    cleanup() {
        kill "$app_pid" 2>/dev/null || true
        if [ -n "$wm_pid" ]; then
            kill "$wm_pid" 2>/dev/null || true
        fi
    }
    trap cleanup EXIT

    find_window() { # title
        local id=""
        for _ in $(seq 1 100); do
            id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
            if [ -n "$id" ]; then
                echo "$id"
                return 0
            fi
            sleep 0.1
        done
        echo "screenshots: no window titled $1 appeared" >&2
        return 1
    }
    frame() { # window id: capture with the window manager's frame when there is one
        if [ -n "$wm_pid" ]; then
            import -frame -window "$1" "$2"
        else
            import -window "$1" "$2"
        fi
    }

    main=$(find_window Sorvane)
    sleep 1
    frame "$main" "$out/main-window.png"

    # The focus rests on 計算; Tab Tab reaches １月, the space bar presses it.
    xdotool key --clearmodifiers Tab Tab space
    month=$(find_window 日干支)
    sleep 1
    frame "$month" "$out/month-window-january.png"
    import -window root "$out/screen-docked.png"

    # Back to the main window, then ヘルプ(&H) > バージョン情報.
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 0.5
    xdotool key --clearmodifiers alt+h
    sleep 0.5
    xdotool key --clearmodifiers Return
    about=$(find_window バージョン情報)
    sleep 1
    frame "$about" "$out/about-box.png"
    xdotool key --clearmodifiers Return
    sleep 0.5

    # 暦(&K): the menu, then 月の暦(&C)…, which opens on today's month.
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 0.5
    xdotool key --clearmodifiers alt+k
    sleep 0.7
    import -window root "$out/menu-calendar.png"
    xdotool key --clearmodifiers c
    page=$(find_window '暦 [0-9]+年[0-9]+月')
    sleep 1
    back=$((10#$(date +%Y) * 12 + 10#$(date +%m) - (2025 * 12 + 8)))
    for _ in $(seq 1 "$back"); do
        xdotool key --clearmodifiers Prior
    done
    find_window '暦 2025年8月' >/dev/null
    sleep 1
    frame "$page" "$out/calendar-page-2025-08.png"
    xdotool windowclose "$page" 2>/dev/null || xdotool windowunmap "$page"
    sleep 0.5

    # 暦(&K) > 雑節(&Z)… for the year in the year box.
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 0.5
    xdotool key --clearmodifiers alt+k
    sleep 0.5
    xdotool key --clearmodifiers z
    zassetsu=$(find_window '雑節 .*')
    sleep 1
    frame "$zassetsu" "$out/zassetsu-window.png"
    xdotool windowclose "$zassetsu" 2>/dev/null || xdotool windowunmap "$zassetsu"
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 0.5

    # 暦(&K) > 購読用カレンダー(&S)…: the feeds, the site's address not yet known.
    xdotool key --clearmodifiers alt+k
    sleep 0.5
    xdotool key --clearmodifiers s
    feeds=$(find_window '購読用カレンダー')
    sleep 1
    frame "$feeds" "$out/feeds-window.png"
    xdotool windowclose "$feeds" 2>/dev/null || xdotool windowunmap "$feeds"
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 0.5

    # 暦(&K) > 日を探す(&F)…, 大安 checked with the keyboard and a query typed in its field.
    xdotool key --clearmodifiers alt+k
    sleep 0.5
    xdotool key --clearmodifiers f
    search=$(find_window '日を探す')
    sleep 1
    xdotool key --clearmodifiers alt+q
    xdotool type --delay 50 '天赦日|一粒万倍日 土|日|祝日'
    sleep 2
    frame "$search" "$out/day-search.png"
    xdotool windowclose "$search" 2>/dev/null || xdotool windowunmap "$search"
    xdotool windowactivate --sync "$main" 2>/dev/null || xdotool windowfocus --sync "$main"
    sleep 0.5

    # Points in the main window's client area: the surface starts under the menu bar.
    menu_bar=$(( $(xdotool getwindowgeometry "$main" | awk '/Geometry/ { split($2, g, "x"); print g[2] }') - 544 ))
    at() { # x y on the surface: move the pointer there
        xdotool mousemove --window "$main" "$1" $(($2 + menu_bar))
    }

    # The right-click menu of the result box, in Japanese.
    at 200 300
    xdotool click 3
    sleep 0.7
    eval "$(xdotool getmouselocation --shell)"
    import -window root -crop 400x400+$((X - 200))+$((Y - 200)) "$out/context-menu.png"
    xdotool key --clearmodifiers Escape
    sleep 0.3

    # The year stepped down to -32768 with the minus arrow (clicks beyond the bound are
    # refused; this hides the month window) and calculated; then the main window against the
    # screen's right edge and January again: the month window docks on the left side.
    at 37 30
    xdotool click --repeat 9000 --delay 1 1
    xdotool click --repeat 12 --delay 600 1
    at 219 30
    xdotool click 1
    sleep 0.3
    frame_width=$(xwininfo -id "$main" -frame | awk '/Width:/ { print $2 }')
    xdotool windowmove "$main" $((1024 - frame_width - 1)) 60
    sleep 0.5
    at 32 84
    xdotool click 1
    sleep 1
    import -window root "$out/screen-left-docked.png"
    frame "$main" "$out/main-window-lowest-year.png"

    # The year box with the focus (the cursor at the end of -32768).
    at 60 30
    xdotool click 1
    sleep 0.5
    frame "$main" "$out/year-box-focused.png"

    # A copy of the program beside a damaged term file: the report it starts with.
    kill "$app_pid"
    wait "$app_pid" 2>/dev/null || true
    damaged=$(mktemp -d)
    cp "$program" "$damaged/"
    cp "$(dirname "$program")/latitude.txt" "$damaged/"
    printf '1, -1, 1, 0.0125x, -118.6105, 28.64, -24.7751\n' >"$damaged/planet.txt"
    "$damaged/$(basename "$program")" &
    app_pid=$!
    report=$(find_window Sorvane)
    sleep 1
    frame "$report" "$out/data-file-error.png"
    kill "$app_pid" 2>/dev/null || true
    rm -rf "$damaged"

    # The printed calendar page, as the print dialog's PDF target writes it.
    "$program" --print-calendar-pdf 2025-08 "$out/calendar-print-2025-08.pdf"
    pdftoppm -r 100 -png -singlefile "$out/calendar-print-2025-08.pdf" \
        "$out/calendar-print-2025-08"
    echo "screenshots: saved main-window.png, month-window-january.png, screen-docked.png," \
        "about-box.png, menu-calendar.png, calendar-page-2025-08.png, zassetsu-window.png, feeds-window.png," \
        "day-search.png," \
        "context-menu.png, screen-left-docked.png, main-window-lowest-year.png," \
        "year-box-focused.png, data-file-error.png, calendar-print-2025-08.png in $out"
    exit 0
fi

out=${1:?usage: tools/screenshots.sh OUTPUT_DIR [PROGRAM]}
root=$(cd "$(dirname "$0")/.." && pwd)
program=${2:-$root/build/bin/sorvane}
for tool in xvfb-run xdotool import pdftoppm; do
    if ! command -v "$tool" >/dev/null; then
        echo "screenshots: $tool is missing (tools/install-deps.sh installs it)" >&2
        exit 1
    fi
done
if [ ! -x "$program" ]; then
    echo "screenshots: $program not built (tools/build.sh builds it)" >&2
    exit 1
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
program=$(cd "$(dirname "$program")" && pwd)/$(basename "$program")
exec xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    "$root/tools/screenshots.sh" --inside-xvfb "$program" "$out"
