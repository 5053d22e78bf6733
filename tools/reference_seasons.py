#!/usr/bin/env python3
"""Reference moments of the equinoxes and solstices, -1999..3000, in Terrestrial Time.

Runs Debian's `swetest` (package swetest, with the JPL-based files of swe-standard-data,
-5400..5400) as a plain number producer: it is asked for the Sun's apparent geocentric
longitude of date at a Julian date in TT, and this script finds by secant steps the moment
the longitude reaches 0, 90, 180 and 270 degrees. swetest is AGPL and is only run here,
never linked or shipped; its numbers are kept in the table this script writes.

Usage: tools/reference_seasons.py > tests/sky/seasons-tt-reference.tsv
"""
import subprocess
import sys

EPHE = "/usr/share/libswe/ephe"
YEARS = sorted(set(list(range(-1900, 3001, 100)) + [-1999, 1850, 1899, 1950, 2050, 2101, 2150]))
TARGETS = (0, 90, 180, 270)
TROPICAL_YEAR = 365.2422
MARCH_EQUINOX_2000 = 2451623.82  # JD (TT), March 2000


def longitude(jd_tt):
    out = subprocess.run(
        ["swetest", f"-bj{jd_tt:.9f}", "-p0", "-fl", "-head", "-eswe", f"-edir{EPHE}"],
        check=True, capture_output=True, text=True).stdout
    return float(out.split()[0])


def wrap(d):
    d = (d + 180.0) % 360.0 - 180.0
    return d


def solve(target, guess):
    jd0, jd1 = guess, guess + 1.0
    d0, d1 = wrap(target - longitude(jd0)), wrap(target - longitude(jd1))
    for _ in range(30):
        if d1 == d0:
            break
        jd2 = jd1 + d1 * (jd1 - jd0) / (d0 - d1)
        jd0, d0 = jd1, d1
        jd1, d1 = jd2, wrap(target - longitude(jd2))
        if abs(jd1 - jd0) < 1e-8:
            break
    if abs(d1) > 1e-6:
        sys.exit(f"no convergence for {target} near JD {guess}")
    return jd1


def main():
    print("# Moments (Julian date, TT) at which the Sun's apparent geocentric longitude of date")
    print("# reaches 0/90/180/270 degrees. Source: swetest 2.10.03 (Debian) with swe-standard-data")
    print("# (Swiss Ephemeris files compressed from JPL DE431), made by tools/reference_seasons.py.")
    print("# year\ttarget\tjd_tt")
    for y in YEARS:
        for t in TARGETS:
            guess = MARCH_EQUINOX_2000 + TROPICAL_YEAR * (y - 2000 + t / 360.0)
            print(f"{y}\t{t}\t{solve(t, guess):.7f}")


if __name__ == "__main__":
    main()
