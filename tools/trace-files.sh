#!/usr/bin/env bash
# Prints the program's source files that one run of a terminal program executes code from,
# one "folder/file" a line, from valgrind's callgrind and the program's debug information
# (a RelWithDebInfo or Debug build), then "functions of NAMESPACE" for each of the program's
# namespaces a function of which ran (a function whose instructions all come from inlined
# library headers is counted there only). Compare two builds of a change, for instance:
#   diff <(tools/trace-files.sh OLD/sorvane-cli --feed senjitsu --from 2026) \
#        <(tools/trace-files.sh build/bin/sorvane-cli --feed senjitsu --from 2026)
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: trace-files.sh PROGRAM [ARGUMENTS...]" >&2
  exit 2
fi
program=$(realpath "$1")
shift
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
(cd "$out" && valgrind --tool=callgrind --callgrind-out-file="$out/run" "$program" "$@" >/dev/null 2>"$out/err") ||
  true
folders='calendar|ephemeris|finder|sky|lunisolar|holidays|zassetsu|horizon|notes|almanac|daysearch|lifeevents|export|cli|ui|web'
callgrind_annotate --threshold=100 "$out/run" 2>/dev/null >"$out/annotated"
grep -oE "/($folders)/[A-Za-z0-9_]+\.(cpp|h)" "$out/annotated" | sed 's|^/||' | sort -u
grep -oE "sorvane::[a-z]+::" "$out/annotated" | sed 's/::$//; s/^/functions of /' | sort -u
