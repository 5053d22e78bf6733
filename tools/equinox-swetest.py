#!/usr/bin/env python3
"""Writes tests/holidays/equinox-days-swetest.tsv: the JST moments of the March and September
equinoxes (the Sun's apparent longitude 0 and 180 degrees) for the years after the announced
equinox days, from Debian's swetest (Swiss Ephemeris files, UT with its own Delta T). Only the
numbers are kept.

Usage: tools/equinox-swetest.py [FIRST [LAST]]   (default 2027 2100)

The moment is bracketed between two JST midnights, then found from the longitudes a minute
apart around the first estimate (linear interpolation over one minute)."""
import datetime
import re
import subprocess
import sys
from pathlib import Path

JST = datetime.timedelta(hours=9)


def longitudes(start_ut, count, step):
    """(moment UT, longitude) for count steps ("1" a day, "1m" a minute) from start_ut."""
    out = subprocess.run(
        ["swetest", f"-b{start_ut.day}.{start_ut.month}.{start_ut.year}",
         f"-ut{start_ut.strftime('%H:%M')}", "-p0", "-fl", f"-n{count}", f"-s{step}",
         "-head", "-eswe"],
        check=True, capture_output=True, text=True).stdout.split()
    delta = datetime.timedelta(days=1) if step == "1" else datetime.timedelta(minutes=1)
    return [(start_ut + i * delta, float(v)) for i, v in enumerate(out)]


def crossing(points, target):
    """The moment the longitude passes target, interpolated between the bracketing points."""
    rel = [(t, (lon - target + 180) % 360 - 180) for t, lon in points]
    for (t0, a), (t1, b) in zip(rel, rel[1:]):
        if a < 0 <= b:
            return t0 + (t1 - t0) * (-a / (b - a))
    raise SystemExit(f"no crossing of {target} after {points[0][0]}")


def equinox_jst(year, month, first_day, target):
    midnight_ut = datetime.datetime(year, month, first_day) - JST
    guess = crossing(longitudes(midnight_ut, 8, "1"), target)
    start = (guess - datetime.timedelta(minutes=5)).replace(second=0, microsecond=0)
    return crossing(longitudes(start, 12, "1m"), target) + JST


def main():
    first = int(sys.argv[1]) if len(sys.argv) > 1 else 2027
    last = int(sys.argv[2]) if len(sys.argv) > 2 else 2100
    help_text = subprocess.run(["swetest", "-h"], capture_output=True, text=True).stdout
    version = re.search(r"Version:\s*([0-9.]+)", help_text)
    lines = [
        f"# March and September equinoxes {first}-{last}, JST (UTC+9), from swetest "
        f"{version.group(1) if version else ''} (Swiss Ephemeris files, apparent geocentric",
        "# longitude, UT with swetest's Delta T) by tools/equinox-swetest.py; second = seconds "
        "into the minute.",
        "year\tlongitude\tmonth\tday\thour\tminute\tsecond",
    ]
    for year in range(first, last + 1):
        for target, month, first_day in ((0, 3, 17), (180, 9, 20)):
            t = equinox_jst(year, month, first_day, target)
            lines.append(f"{year}\t{target}\t{t.month}\t{t.day}\t{t.hour}\t{t.minute}\t{t.second}")
    out = Path(__file__).resolve().parent.parent / "tests/holidays/equinox-days-swetest.tsv"
    tmp = out.with_suffix(".tmp")
    tmp.write_text("\n".join(lines) + "\n")
    tmp.replace(out)
    print(f"wrote {out}")


if __name__ == "__main__":
    main()
