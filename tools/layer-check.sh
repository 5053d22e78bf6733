#!/usr/bin/env bash
# Fails when a folder of the program includes a header of a folder it must not lean on: the
# layers, lowest first, are calendar/ -> ephemeris/ -> finder/ beside precise/ -> the rule
# libraries (lunisolar/, holidays/, horizon/, notes/) -> almanac/ -> daysearch/ -> export/
# -> the front ends cli/, ui/ and web/ (the web edition). A folder may include itself and the folders listed after
# it below; tests/, bench/, fuzz/ and tools/ may include anything. A listed folder that does
# not exist is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders it may include
ALLOWED="
calendar:
ephemeris: calendar
finder: calendar ephemeris
precise: calendar
lunisolar: calendar precise
holidays: calendar precise
horizon: calendar precise lunisolar
notes: calendar ephemeris finder precise lunisolar holidays
almanac: calendar ephemeris finder precise lunisolar holidays horizon notes
daysearch: calendar ephemeris finder precise lunisolar holidays horizon notes almanac
export: calendar ephemeris finder precise lunisolar holidays horizon notes almanac daysearch
cli: calendar ephemeris finder precise lunisolar holidays horizon notes almanac daysearch export
web: calendar ephemeris finder precise lunisolar holidays horizon notes almanac daysearch export
ui: calendar ephemeris finder precise lunisolar holidays horizon notes almanac daysearch export
"

folders=$(sed -n 's/^\([a-z]*\):.*/\1/p' <<<"$ALLOWED")
status=0
while IFS=: read -r folder allowed; do
  [ -n "$folder" ] && [ -d "$folder" ] || continue
  while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)\/.*/\1/p' <<<"${rest#*:}")
    [ -n "$target" ] && [ "$target" != "$folder" ] || continue
    grep -qx "$target" <<<"$folders" || continue # not a layer (a generated header, say)
    if ! grep -qw -- "$target" <<<"$allowed"; then
      echo "$file:$line: $folder/ may not include $target/" >&2
      status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$folder" || true)
done <<<"$ALLOWED"
if [ "$status" -eq 0 ]; then
  echo "layer check: every include keeps the layers"
fi
exit "$status"
