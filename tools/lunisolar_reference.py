#!/usr/bin/env python3
"""Reference table of the Moon's phases, 中気 and lunisolar months for 1900-2100.

The moments come from Debian's `swetest` (Swiss Ephemeris command-line tool, package
`swetest`, with the JPL-based compressed ephemeris of `swe-basic-data`). swetest is only
run here as a producer of numbers; it is AGPL and is never linked into or shipped with
Sorvane. The month starts and leap months are derived below from those moments, by the
rule the lunisolar calendar has used in Japan since 1844:

  - a month begins on the JST date of a new moon and ends the day before the next;
  - a 中気 (apparent solar longitude a multiple of 30 degrees) belongs to the month that
    contains its JST date;
  - the month containing 冬至 (270 degrees) is month 11; when the next month containing
    冬至 begins thirteen months later, the first month after month 11 without a 中気 is a
    leap month carrying the number of the month before it.

Every moment is given in TT (swetest's own time argument), so that a test can take it to
JST through the program's time scales and compare the Moon and the Sun alone. The JST
column is swetest's UT (UT1, with its own Delta T) plus nine hours, and the month starts
and 中気 dates are those of the moment rounded to the minute in it.

The phases are the moments the Moon's apparent longitude exceeds the Sun's by 0 (朔),
90 (上弦), 180 (望) and 270 (下弦) degrees.

Usage: tools/lunisolar_reference.py > tests/lunisolar/lunisolar-reference-1900-2100.tsv
(about two minutes; swetest from the package `swetest`, data from `swe-basic-data`)
"""

import datetime
import re
import subprocess
import sys

SWETEST = "swetest"
FIRST_TT = 2414000.5  # 1897 March 19: a year's margin before January 1900
LAST_TT = 2489000.5  # 2102 August: the 冬至 of 2101 and the new moons after it
MINUTE = 1.0 / 1440.0


def run(args):
    out = subprocess.run([SWETEST] + args + ["-eswe"], check=True, capture_output=True,
                         text=True).stdout
    return out.splitlines()


def daily_table():
    """Apparent longitudes of the Sun and the Moon at 12:00 TT of every day."""
    n = int(LAST_TT - FIRST_TT)
    rows = []
    chunk = 30000  # swetest prints at most 36525 steps a run
    for first in range(0, n, chunk):
        count = min(chunk, n - first)
        for line in run(["-p01", "-hor", "-bj%.1f" % (FIRST_TT + first), "-n%d" % count,
                         "-s1", "-fl", "-head"]):
            parts = line.split()
            if len(parts) == 2:
                rows.append((float(parts[0]), float(parts[1])))
    if len(rows) != n:
        sys.exit("swetest gave %d rows, expected %d" % (len(rows), n))
    return [(FIRST_TT + i, sun, moon) for i, (sun, moon) in enumerate(rows)]


def wrap(d):
    """Reduce an angle difference to -180..180 degrees."""
    return (d + 180.0) % 360.0 - 180.0


def brackets(table, value):
    """Days (TT) where value(row) - target crosses zero upward, for every target crossed.

    value returns (angle, targets step): the targets are the multiples of step."""
    found = []
    for (jd0, s0, m0), (jd1, s1, m1) in zip(table, table[1:]):
        a0, step = value(s0, m0)
        a1, _ = value(s1, m1)
        k = int(a0 // step) + 1
        target = (k * step) % 360.0
        d0 = wrap(a0 - target)
        d1 = wrap(a1 - target)
        if d0 < 0 <= d1:
            found.append((target, jd0 + (-d0) / (d1 - d0)))
    return found


def refine(target, jd_tt_guess, column):
    """The UT moment at which the angle crosses target, and swetest's Delta T (s).

    column 0: the Sun's longitude; column 1: Moon minus Sun. Five-minute samples over two
    hours, then linear interpolation between the two around the crossing."""
    start = jd_tt_guess - 60 * MINUTE
    lines = run(["-p01", "-hor", "-bj%.8f" % start, "-ut", "-n25", "-s5m", "-fl"])
    delta_t = None
    samples = []
    for line in lines:
        m = re.search(r"delta t:\s*(-?[0-9.]+) sec", line)
        if m:
            delta_t = float(m.group(1))
        parts = line.split()
        if len(parts) == 2 and re.fullmatch(r"-?[0-9.]+", parts[0]):
            sun, moon = float(parts[0]), float(parts[1])
            angle = sun if column == 0 else moon - sun
            samples.append(wrap(angle - target))
    if delta_t is None or len(samples) != 25:
        sys.exit("unexpected swetest output near JD %.5f" % start)
    for i in range(24):
        if samples[i] < 0 <= samples[i + 1]:
            frac = -samples[i] / (samples[i + 1] - samples[i])
            return start + (i + frac) * 5 * MINUTE, delta_t
    sys.exit("no crossing of %.0f near JD %.5f" % (target, start))


def jst_minute(jd_ut):
    """The moment in JST rounded to the minute, as a datetime."""
    minutes = round((jd_ut + 9.0 / 24.0 - 2440587.5) * 1440.0)  # since 1970-01-01 00:00
    return datetime.datetime(1970, 1, 1) + datetime.timedelta(minutes=minutes)


def main():
    table = daily_table()
    events = []  # (kind, target, jd_tt, jst datetime)
    for target, guess in brackets(table, lambda s, m: (m - s, 90.0)):
        jd_ut, dt = refine(target, guess, 1)
        events.append(("phase", int(round(target)) % 360, jd_ut + dt / 86400.0,
                       jst_minute(jd_ut)))
    for target, guess in brackets(table, lambda s, m: (s, 30.0)):
        jd_ut, dt = refine(target, guess, 0)
        events.append(("chuki", int(round(target)), jd_ut + dt / 86400.0,
                       jst_minute(jd_ut)))
    events.sort(key=lambda e: e[2])

    starts = [e[3].date() for e in events if e[0] == "phase" and e[1] == 0]
    chuki = [(e[3].date(), e[1]) for e in events if e[0] == "chuki"]
    # 中気 of each month, by JST date.
    contents = []
    for i in range(len(starts) - 1):
        contents.append([lon for day, lon in chuki if starts[i] <= day < starts[i + 1]])
    winter = [i for i, c in enumerate(contents) if 270 in c]
    numbers = {}
    for a, b in zip(winter, winter[1:]):
        if b - a not in (12, 13):
            sys.exit("months between 冬至 at %s and %s: %d" % (starts[a], starts[b], b - a))
        leap_at = None
        if b - a == 13:
            leap_at = next(i for i in range(a + 1, b) if not contents[i])
        number = 11
        for i in range(a, b):
            if i == leap_at:
                numbers[i] = (number, True)
                continue
            if i != a:
                number = number % 12 + 1
            numbers[i] = (number, False)

    first = datetime.date(1900, 1, 1)
    last = datetime.date(2100, 12, 31)
    print("# Lunisolar reference 1900-2100: the Moon's phases and 中気 from Debian's swetest "
          "2.10.03 (Swiss Ephemeris, swe-basic-data,")
    print("# a compression of JPL DE431), apparent geocentric longitudes of date; month "
          "starts and leap months derived")
    print("# from them by tools/lunisolar_reference.py. JST = swetest UT (UT1) + 9 h, "
          "rounded to the minute.")
    print("# Command: tools/lunisolar_reference.py (swetest -p01 -hor -fl -eswe, daily at 12:00 TT, "
          "then every five minutes round each crossing)")
    print("# phase <TAB> elongation 0/90/180/270 <TAB> Julian date TT <TAB> JST minute")
    print("# chuki <TAB> longitude <TAB> Julian date TT <TAB> JST minute")
    print("# month <TAB> first day (JST) <TAB> number <TAB> leap 0/1 <TAB> days")
    for kind, target, jd_tt, jst in events:
        if not first <= jst.date() <= last:
            continue
        if kind == "phase":
            print("phase\t%d\t%.7f\t%s" % (target, jd_tt, jst.strftime("%Y-%m-%d %H:%M")))
        else:
            print("chuki\t%d\t%.7f\t%s" % (target, jd_tt, jst.strftime("%Y-%m-%d %H:%M")))
    for i in sorted(numbers):
        end = starts[i + 1]
        if end <= first or starts[i] > last:
            continue
        number, leap = numbers[i]
        print("month\t%s\t%d\t%d\t%d" % (starts[i].isoformat(), number, int(leap),
                                         (end - starts[i]).days))


if __name__ == "__main__":
    main()
