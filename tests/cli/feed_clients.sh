#!/usr/bin/env bash
# The feeds as real clients read them: tools/feeds.sh writes the site for 2026 (2025..2029);
# python3-icalendar parses every feed (calendar properties, one UID, DTSTAMP and DTSTART per
# event, no UID twice); khal imports the 六曜, 選日 and 二十四節気 feeds and lists the week of
# 2026-03-02, whose 六曜 must be those of --days and whose 選日 those of --notes; khal
# holds every event it was given (the 730 days of 六曜 of 2026-2027 among them).
#
# Usage: feed_clients.sh SORVANE_CLI SOURCE_DIR. Exits 77 (skipped) without khal or
# python3-icalendar (tools/install-deps.sh installs both).
set -euo pipefail
cli=$1
source_dir=$2
python=/usr/bin/python3
[ -x "$python" ] || python=python3
if ! command -v khal >/dev/null || ! "$python" -c 'import icalendar' 2>/dev/null; then
    echo "skipped: khal or python3-icalendar is missing (tools/install-deps.sh)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

FEEDS_YEAR=2026 "$source_dir/tools/feeds.sh" "$work/site" "$cli"
for kind in rokuyo senjitsu sekki holidays moon zassetsu; do
    [ -s "$work/site/$kind.ics" ] || { echo "FAIL: no $kind.ics"; exit 1; }
    grep -q "href=\"$kind.ics\"" "$work/site/index.html" || { echo "FAIL: index.html lacks $kind.ics"; exit 1; }
done
grep -q '<html lang="ja">' "$work/site/index.html"
grep -q 'webcal://' "$work/site/index.html"

"$python" - "$work/site" <<'EOF'
import sys, pathlib, icalendar
site = pathlib.Path(sys.argv[1])
names = {"rokuyo": "六曜（Sorvane）", "senjitsu": "選日（Sorvane）", "sekki": "二十四節気（Sorvane）",
         "holidays": "国民の祝日（Sorvane）", "moon": "月の満ち欠け（Sorvane）", "zassetsu": "雑節（Sorvane）"}
for kind, name in names.items():
    cal = icalendar.Calendar.from_ical((site / f"{kind}.ics").read_bytes())
    assert str(cal["X-WR-CALNAME"]) == name, (kind, cal["X-WR-CALNAME"])
    assert str(cal["NAME"]) == name, kind
    assert str(cal["X-WR-TIMEZONE"]) == "Asia/Tokyo", kind
    assert str(cal["X-PUBLISHED-TTL"]) == "P1W", kind
    refresh = cal["REFRESH-INTERVAL"]
    assert str(refresh) == "P1W" and refresh.params.get("VALUE") == "DURATION", kind
    assert "2025年〜2029年" in str(cal["X-WR-CALDESC"]), kind
    uids = set()
    events = cal.walk("VEVENT")
    for ev in events:
        uid = str(ev["UID"])
        assert uid.startswith(kind + "-") and uid.endswith("@sorvane"), uid
        assert uid not in uids, uid
        uids.add(uid)
        assert ev.get("DTSTAMP") is not None and ev.get("DTSTART") is not None, uid
        assert str(ev["SUMMARY"]), uid
    print(f"python3-icalendar: {kind}.ics {len(events)} events")
    assert len(events) > 0, kind
EOF

mkdir -p "$work/khal/cal"
cat >"$work/khal/config" <<EOF
[calendars]
[[feeds]]
path = $work/khal/cal
type = calendar
[locale]
timeformat = %H:%M
dateformat = %Y-%m-%d
longdateformat = %Y-%m-%d
datetimeformat = %Y-%m-%d %H:%M
longdatetimeformat = %Y-%m-%d %H:%M
local_timezone = Asia/Tokyo
default_timezone = Asia/Tokyo
[sqlite]
path = $work/khal/khal.db
EOF
# khal sets the locale named in the environment and stops when the machine lacks it (a
# LANG=ja_JP.UTF-8 without that locale generated): it runs in C.UTF-8, which every Debian has.
khal_() { HOME=$work/khal LC_ALL=C.UTF-8 khal -c "$work/khal/config" "$@"; }
# Two years of 六曜 (730 days), one of 選日 and 節気: khal keeps one file per event.
"$cli" --feed rokuyo --from 2026 --to 2027 --ics "$work/rokuyo.ics"
"$cli" --feed senjitsu --from 2026 --to 2026 --ics "$work/senjitsu.ics"
"$cli" --feed sekki --from 2026 --to 2026 --ics "$work/sekki.ics"
events=0
for kind in rokuyo senjitsu sekki; do
    khal_ import --batch -a feeds "$work/$kind.ics"
    events=$((events + $(grep -c '^BEGIN:VEVENT' "$work/$kind.ics")))
done
imported=$(find "$work/khal/cal" -name '*.ics' | wc -l)
if [ "$imported" -ne "$events" ]; then
    echo "FAIL: khal holds $imported events of the $events written"
    exit 1
fi
echo "khal: imported $imported events (730 of them the 六曜 of 2026-2027)"
echo "khal list 2026-03-02 7d:"
khal_ list 2026-03-02 7d | tee "$work/week.txt"
khal_ list --day-format '' --format '{start-date}	{title}' 2026-03-02 7d >"$work/titles.txt"

# The week's 六曜 and 選日 as the terminal program's --days and --notes give them (the week
# holds no 八専, so every 選日 of a day is one of its events).
"$cli" 2026 --days 2>/dev/null | awk -F'\t' '$1 >= "2026-03-02" && $1 <= "2026-03-08" { print $1 "\t" $5 }' >"$work/expected.txt"
"$cli" 2026 --notes | awk -F'\t' '$1 >= "2026-03-02" && $1 <= "2026-03-08" && $8 != "-" {
    n = split($8, names, "、"); for (i = 1; i <= n; i++) print $1 "\t" names[i] }' >>"$work/expected.txt"
# The listing's whole days, less the solar terms (instants, shown with their time).
grep -v -e '啓蟄' "$work/titles.txt" | sort >"$work/listed.txt"
sort "$work/expected.txt" >"$work/expected-sorted.txt"
if ! diff -u "$work/expected-sorted.txt" "$work/listed.txt"; then
    echo "FAIL: khal's week differs from --days and --notes"
    exit 1
fi
grep -q '^2026-03-05	啓蟄$' "$work/titles.txt" || { echo "FAIL: no 啓蟄 on 2026-03-05"; exit 1; }
echo "khal: the week of 2026-03-02 agrees with --days and --notes ($(wc -l <"$work/listed.txt") whole-day events)"
