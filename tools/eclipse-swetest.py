#!/usr/bin/env python3
"""Writes tests/eclipse/eclipse-swetest.tsv: the solar and lunar eclipses of 1900-2100 with
their types and moments, and the local solar contacts for Tokyo, Sapporo and Naha of the
eclipses seen there 2000-2035, from Debian's swetest (Swiss Ephemeris files, UT with its own
Delta T). A tool only: nothing of it is linked or shipped.

Usage: tools/eclipse-swetest.py

Each row: kind (solar, lunar, local), place (- for global rows), type as swetest names it,
then the moments in UT as ISO date-times to 0.1 s, '-' where swetest gives none:
  solar  greatest
  lunar  greatest P1 U1 U2 U3 U4 P4
  local  maximum first second third fourth (a contact with the Sun below the horizon '-')"""
import datetime
import re
import subprocess
from pathlib import Path

HERE = Path(__file__).resolve().parent
PLACES = {"東京": (139.741357472, 35.658099222), "札幌": (141.346807, 43.064615),
          "那覇": (127.666666667, 26.216666667)}
TIME = re.compile(r"^\d{1,2}:[ \d]\d:[ \d]\d(\.\d)?$")


def swetest(args):
    cmd = ["swetest"] + args
    return cmd, subprocess.run(cmd, capture_output=True, text=True, check=True).stdout


def moment(date, text, near=None):
    h, m, s = text.replace(" ", "").split(":") if False else [x.strip() for x in text.split(":")]
    t = datetime.datetime(date.year, date.month, date.day) + datetime.timedelta(
        hours=int(h), minutes=int(m), seconds=float(s))
    if near is not None:
        if (t - near).total_seconds() > 43200:
            t -= datetime.timedelta(days=1)
        elif (near - t).total_seconds() > 43200:
            t += datetime.timedelta(days=1)
    return t


def iso(t):
    return t.strftime("%Y-%m-%dT%H:%M:%S.") + f"{t.microsecond // 100000}"


def times(line):
    """The contact fields of a second line: times or '-'."""
    fields = re.findall(r"(\d{1,2}:[ \d]?\d:[ \d]?\d\.\d|-(?=\s|$))", line)
    return fields


def parse(out, kind, place, last_year):
    rows = []
    lines = out.splitlines()
    i = 0
    while i < len(lines):
        line = lines[i]
        m = re.match(r"^(.*?)\s+(\d{1,2})\.(\d{2})\.(-?\d+)\s+(\d{1,2}:[ \d]?\d:[ \d]?\d\.\d)", line)
        if not m or "swetest" in line:
            i += 1
            continue
        name = m.group(1).strip().replace(" solar", "").replace(" lunar eclipse", "")
        date = datetime.date(int(m.group(4)), int(m.group(3)), int(m.group(2)))
        if date.year > last_year:
            break
        greatest = moment(date, m.group(5))
        second = lines[i + 1]
        if kind == "local":
            second = second.split("sec", 1)[1]
        fields = [f if f == "-" else iso(moment(date, f, greatest)) for f in times(second)]
        if kind == "solar":
            fields = []
        rows.append("\t".join([kind, place, name, iso(greatest)] + fields))
        i += 2
    return rows


def main():
    version = re.search(r"Version:\s*([0-9.]+)", swetest(["-h"])[1])
    commands = []
    rows = []
    for kind, args in (("solar", ["-solecl"]), ("lunar", ["-lunecl"])):
        cmd, out = swetest(["-b1.1.1900", "-n500", "-ut"] + args)
        commands.append(" ".join(cmd))
        rows += parse(out, kind, "-", 2100)
    for place, (lon, lat) in PLACES.items():
        cmd, out = swetest(["-b1.1.2000", "-n40", "-ut", "-solecl", "-local",
                            f"-geopos{lon},{lat},0"])
        commands.append(" ".join(cmd))
        rows += parse(out, "local", place, 2035)
    header = [f"# Eclipses from swetest {version.group(1) if version else ''} (Debian packages "
              "swetest 2.10.03-3, swe-basic-data 4.0-20221111-2; JPL DE431 files),",
              "# written by tools/eclipse-swetest.py; moments in UT (swetest's Delta T). Commands:"]
    header += ["#   " + c for c in commands]
    out = HERE.parent / "tests/eclipse/eclipse-swetest.tsv"
    out.parent.mkdir(exist_ok=True)
    tmp = out.with_suffix(".tmp")
    tmp.write_text("\n".join(header + rows) + "\n")
    tmp.replace(out)
    print(f"wrote {out}: {len(rows)} rows")


if __name__ == "__main__":
    main()
