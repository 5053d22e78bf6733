#!/usr/bin/env bash
# tools/feeds.sh against what a shared or mistyped folder can hold: a planted .err link must
# not lead it to overwrite the link's target; a folder named "-feeds" is a folder; a year
# whose window no kind reaches fails with status 2 and leaves no index behind.
#
# Usage: feeds_script_test.sh SORVANE_CLI SOURCE_DIR
set -euo pipefail
cli=$1
feeds=$2/tools/feeds.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
check() { # check NAME CONDITION...
    local name=$1
    shift
    if "$@"; then
        echo "ok   $name"
    else
        echo "FAIL $name"
        failures=$((failures + 1))
    fi
}

# 1. A link named .err in the output folder, pointing at a file of someone else's.
mkdir -p "$work/shared"
echo "keep me" >"$work/victim"
ln -s "$work/victim" "$work/shared/.err"
status=0
FEEDS_YEAR=2026 "$feeds" "$work/shared" "$cli" >"$work/out1" 2>&1 || status=$?
check "a planted .err link: the run succeeds" test "$status" -eq 0
check "a planted .err link: its target is untouched" grep -qx "keep me" "$work/victim"
check "a planted .err link: the index is written" test -s "$work/shared/index.html"

# 2. A folder whose name starts with "-", given relative to the current folder.
status=0
(cd "$work" && FEEDS_YEAR=2026 "$feeds" -feeds "$cli") >"$work/out2" 2>&1 || status=$?
check "OUT_DIR -feeds: the run succeeds" test "$status" -eq 0
check "OUT_DIR -feeds: the folder holds the index and rokuyo.ics" \
    test -s "$work/-feeds/index.html" -a -s "$work/-feeds/rokuyo.ics"

# 3. A year whose window (9998..10002) no kind reaches.
status=0
FEEDS_YEAR=9999 "$feeds" "$work/far" "$cli" >"$work/out3" 2>&1 || status=$?
check "FEEDS_YEAR=9999: status 2" test "$status" -eq 2
check "FEEDS_YEAR=9999: no index is written" test ! -e "$work/far/index.html"
check "FEEDS_YEAR=9999: the message names the year" grep -q "no kind covers a year published in 9999" "$work/out3"
check "FEEDS_YEAR=9999: each kind says it is skipped" test "$(grep -c ': no year published in 9999 is covered; skipped' "$work/out3")" -eq 8

if ((failures > 0)); then
    for f in "$work"/out*; do sed "s|^|$(basename "$f"): |" "$f"; done
    echo "$failures checks failed"
    exit 1
fi
echo "feeds.sh: every check passed"
