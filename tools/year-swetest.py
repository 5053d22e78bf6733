#!/usr/bin/env python3
"""Writes tests/data/year-YEAR-swetest.tsv: the JST moments of the 24 solar terms and the four
土用 entries (the Sun's apparent longitude 297, 27, 117 and 207 degrees) of one year, from
Debian's swetest (Swiss Ephemeris files, UT with its own Delta T). Only the numbers are kept.

Usage: tools/year-swetest.py [YEAR]   (default 2000)

The year's longitudes at each JST midnight bracket every event; the moment is then found
from the longitudes a minute apart around it (tools/equinox-swetest.py's method)."""
import datetime
import importlib.util
import re
import subprocess
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
spec = importlib.util.spec_from_file_location("equinox", HERE / "equinox-swetest.py")
equinox = importlib.util.module_from_spec(spec)
spec.loader.exec_module(equinox)
JST = equinox.JST

# (longitude, kind) in the result lines' order: per month 節, 土用 (January, April, July,
# October), 中気.
EVENTS = []
for month in range(1, 13):
    setsu = (15 * (2 * month + 17)) % 360
    EVENTS.append((setsu, "節"))
    if month % 3 == 1:
        EVENTS.append(((setsu + 12) % 360, "土用"))
    EVENTS.append(((setsu + 15) % 360, "中気"))


def main():
    year = int(sys.argv[1]) if len(sys.argv) > 1 else 2000
    start = datetime.datetime(year, 1, 1) - JST
    days = (datetime.datetime(year + 1, 1, 1) - datetime.datetime(year, 1, 1)).days
    daily = equinox.longitudes(start, days + 1, "1")
    help_text = subprocess.run(["swetest", "-h"], capture_output=True, text=True).stdout
    version = re.search(r"Version:\s*([0-9.]+)", help_text)
    lines = [
        f"# The 24 solar terms and 4 土用 entries of {year}, JST (UTC+9), from swetest "
        f"{version.group(1) if version else ''} (Swiss Ephemeris files, apparent geocentric",
        "# longitude, UT with swetest's Delta T) by tools/year-swetest.py; second = seconds into "
        "the minute.",
        "longitude\tkind\tmonth\tday\thour\tminute\tsecond",
    ]
    for target, kind in EVENTS:
        rel = [(t, (lon - target + 180) % 360 - 180) for t, lon in daily]
        i = next(k for k in range(len(rel) - 1) if rel[k][1] < 0 <= rel[k + 1][1])
        guess = equinox.crossing(daily[i:i + 2], target)
        first = (guess - datetime.timedelta(minutes=5)).replace(second=0, microsecond=0)
        t = equinox.crossing(equinox.longitudes(first, 12, "1m"), target) + JST
        lines.append(f"{target}\t{kind}\t{t.month}\t{t.day}\t{t.hour}\t{t.minute}\t{t.second}")
    out = HERE.parent / f"tests/data/year-{year}-swetest.tsv"
    tmp = out.with_suffix(".tmp")
    tmp.write_text("\n".join(lines) + "\n")
    tmp.replace(out)
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
