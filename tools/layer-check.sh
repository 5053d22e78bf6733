#!/usr/bin/env bash
# Fails when a folder of the program includes a header of a folder it must not lean on. The
# layers and what each may include are listed once, in SORVANE_LAYERS in the top
# CMakeLists.txt: a folder may include itself and the folders named after it there; tests/,
# bench/, fuzz/ and tools/ may include anything. A listed folder that does not exist is skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

# folder: the folders it may include, a line each, from the quoted entries of SORVANE_LAYERS.
ALLOWED=$(sed -n '/^set(SORVANE_LAYERS$/,/^)$/s/^[[:space:]]*"\([a-z_]*:[a-z_ ]*\)"[[:space:]]*$/\1/p' \
  CMakeLists.txt)
if [ -z "$ALLOWED" ]; then
  echo "layer check: no SORVANE_LAYERS list in CMakeLists.txt" >&2
  exit 2
fi

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
