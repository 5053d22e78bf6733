#!/usr/bin/env python3
"""Reference positions of the Moon over -1999..3000 from a JPL-based ephemeris.

Runs Debian's `swetest` (Swiss Ephemeris command-line tool, package `swetest`, with the
files of `swe-standard-data`, a compression of JPL DE431 over -5400..5400) as a producer of
numbers only: it is AGPL and is never linked into or shipped with Sorvane.

For each millennium of -1999..3000 it asks for the Moon's geometric geocentric position
(no light time, no aberration, no deflection) in ICRS axes referred to the ecliptic of
J2000 (-j2000 -icrs -true -noaberr -nodefl -nonut) at 2000 moments, every 182.63 days from
a start that moves through the lunar month, so that every phase and anomaly is sampled.
Times are TT (swetest's own argument, taken as TDB).

Usage: tools/moon_reference.py > tests/sky/moon-reference-de431.tsv  (a few seconds)
"""

import subprocess
import sys

SWETEST = "swetest"
FIRST_JD = 990940.5  # -1999 January 1 (proleptic Gregorian), TT
PER_MILLENNIUM = 2000
STEP = 182.63
MILLENNIUM_DAYS = 365242.5  # a thousand Gregorian years
COLUMNS = "JlbR"


def main():
    print("# The Moon from Debian's swetest 2.10.03 with swe-standard-data (Swiss Ephemeris, a compression of")
    print("# JPL DE431): geometric geocentric position in ICRS axes on the ecliptic of J2000, made by")
    print("# tools/moon_reference.py (swetest -p1 -j2000 -icrs -true -noaberr -nodefl -nonut -fJlbR -eswe).")
    print("# Julian date TT <TAB> longitude (deg) <TAB> latitude (deg) <TAB> distance (au)")
    for m in range(5):
        start = FIRST_JD + m * MILLENNIUM_DAYS + 3.7 * m
        out = subprocess.run([SWETEST, "-p1", "-bj%.4f" % start, "-n%d" % PER_MILLENNIUM,
                              "-s%.2f" % STEP, "-f" + COLUMNS, "-j2000", "-icrs", "-true",
                              "-noaberr", "-nodefl", "-nonut", "-head", "-eswe"],
                             check=True, capture_output=True, text=True).stdout
        rows = [line.split() for line in out.splitlines() if line.strip()]
        if len(rows) != PER_MILLENNIUM or any(len(r) != 4 for r in rows):
            sys.exit("swetest gave unexpected output near JD %.1f" % start)
        for r in rows:
            print("\t".join(r))


if __name__ == "__main__":
    main()
