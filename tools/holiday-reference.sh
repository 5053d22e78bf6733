#!/usr/bin/env bash
# Writes the official holiday list used by the holiday tests:
#   tests/holidays/cabinet-office-holidays.csv
# The dates are the Cabinet Office's list of national holidays (syukujitsu.csv), as carried by
# the npm package japanese-public-holidays (MIT licence). The package is installed into a
# temporary folder that is removed afterwards; nothing of it is kept but the dates and names.
# Needs npm and the npm registry.
set -euo pipefail
cd "$(dirname "$0")/.."
version="${1:-3.2.38}"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
(cd "$tmp" && npm init -y >/dev/null && npm install --ignore-scripts --no-audit --no-fund \
  "japanese-public-holidays@$version" >/dev/null)
src="$tmp/node_modules/japanese-public-holidays/index.csv"
out=tests/holidays/cabinet-office-holidays.csv
first="$(sed -n 2p "$src" | cut -c1-4)"
last="$(tail -n 1 "$src" | cut -c1-4)"
{
  echo "# Japan's national holidays $first-$last: the Cabinet Office's list (syukujitsu.csv, 内閣府"
  echo "# 「国民の祝日」について), taken from the npm package japanese-public-holidays $version"
  echo "# (MIT licence, Copyright (c) 2022 sasa+1) by tools/holiday-reference.sh."
  echo "# Every holiday of the years $first-$last, one a line: date,name as the list names it"
  echo "# (休日 stands for both 振替休日 and 国民の休日)."
  cat "$src"
} > "$out.tmp"
mv "$out.tmp" "$out"
echo "wrote $out ($(($(wc -l < "$src") - 1)) dates, $first-$last)"
