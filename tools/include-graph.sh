#!/usr/bin/env bash
# Prints which folders of the program include which, one "folder: included folders" line per
# folder, from the tracked sources of a revision (default: the working tree's HEAD). Compare two
# revisions with: diff <(tools/include-graph.sh A) <(tools/include-graph.sh B)
# tests/, bench/, fuzz/ and tools/ are left out: they may include anything.
set -euo pipefail
cd "$(dirname "$0")/.."
rev=${1:-HEAD}
git grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' "$rev" -- '*.h' '*.cpp' |
  sed -E 's/^[^:]*:([a-z_]+)\/[^:]*:[[:space:]]*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1 \2/' |
  awk '$1 != $2 && $1 !~ /^(tests|bench|fuzz|tools)$/ && $2 != "sorvane" { print }' |
  sort -u |
  awk '{ deps[$1] = deps[$1] " " $2 } END { for (f in deps) print f ":" deps[f] }' |
  sort
