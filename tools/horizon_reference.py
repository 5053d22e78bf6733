#!/usr/bin/python3
"""Reference table of sunrise, sunset, moonrise and moonset for a few places and years.

The times come from PyEphem (Debian package python3-ephem, libastro), an implementation
independent of Sorvane, given the observatory's convention: the horizon at geometric
altitude -35'08" (pressure 0, so no refraction of its own), height 0, the Sun's upper limb
(PyEphem's default), the Moon's centre (use_center=True); PyEphem's positions are
topocentric. PyEphem is only run here as a producer of numbers; it is never linked into or
shipped with Sorvane.

A day's events are those whose moment, in JST (PyEphem's UT plus nine hours) rounded to the
nearest minute, falls on that day; the first one counts when there are two. "--:--" marks
none. PyEphem takes its own Delta T; the years are chosen where it and the civil time of
the program (leap seconds, Espenak-Meeus before 1960) agree within a few seconds
(1950, 1980, 2000, 2025), so that the Moon is placed at the same moment by both.

Usage: /usr/bin/python3 tools/horizon_reference.py > tests/horizon/horizon-reference.tsv

With --every, every event of each day instead of the first, for the places and years of
EVERY_PLACES, where a day holds two of one kind (the Moon rising just after 00:00 and again
before 24:00): each column lists the day's times joined by ",", or "--:--".

Usage: /usr/bin/python3 tools/horizon_reference.py --every > tests/horizon/horizon-every-event.tsv
"""

import datetime
import sys

import ephem

ALL_YEARS = [1950, 1980, 2000, 2025]
PLACES = [
    # name, latitude, longitude (degrees, north and east positive), years
    ("東京", 35 + 39 / 60 + 29.1572 / 3600, 139 + 44 / 60 + 28.8869 / 3600, ALL_YEARS),
    ("札幌", 43.064615, 141.346807, ALL_YEARS),
    ("那覇", 26 + 13 / 60, 127 + 40 / 60, ALL_YEARS),
    # PyEphem's search did not return within 15 minutes in October 2025 here (the Moon
    # grazing the horizon in the polar night), so the high-latitude case stops at 2000.
    ("Tromsø", 69.6496, 18.9560, [1950, 1980, 2000]),
]
# A place of the Arctic circle, where the Moon rises twice on 2026-09-29 (00:00 and 23:31
# JST), and Tromsø.
EVERY_PLACES = [
    ("北緯66.5度", 66.5, 25.0, [2026]),
    ("Tromsø", 69.6496, 18.9560, [2000]),
]
HORIZON = "-0:35:08"


def jst_minute(moment):
    """An ephem.Date (UT) as a JST datetime rounded to the minute."""
    t = ephem.Date(moment).datetime() + datetime.timedelta(hours=9, seconds=30)
    return t.replace(second=0, microsecond=0)


def first_event(observer, body, day, rising, centre):
    """The first event of the JST day as "HH:MM", or "--:--"."""
    start = datetime.datetime(day.year, day.month, day.day) - datetime.timedelta(hours=9)
    # From 31 s before the day, so that an event rounding up to 00:00 counts.
    observer.date = ephem.Date(start - datetime.timedelta(seconds=31))
    for _ in range(3):
        try:
            if rising:
                moment = observer.next_rising(body, use_center=centre)
            else:
                moment = observer.next_setting(body, use_center=centre)
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            return "--:--"
        shown = jst_minute(moment)
        if shown.date() < day:
            observer.date = ephem.Date(moment + ephem.minute)
            continue
        if shown.date() > day:
            return "--:--"
        return shown.strftime("%H:%M")
    return "--:--"


def every_event(observer, body, day, rising, centre):
    """Every event of the JST day as "HH:MM" joined by ",", or "--:--"."""
    start = datetime.datetime(day.year, day.month, day.day) - datetime.timedelta(hours=9)
    observer.date = ephem.Date(start - datetime.timedelta(seconds=31))
    found = []
    for _ in range(6):
        try:
            if rising:
                moment = observer.next_rising(body, use_center=centre)
            else:
                moment = observer.next_setting(body, use_center=centre)
        except (ephem.AlwaysUpError, ephem.NeverUpError):
            break
        shown = jst_minute(moment)
        if shown.date() > day:
            break
        if shown.date() == day:
            found.append(shown.strftime("%H:%M"))
        observer.date = ephem.Date(moment + ephem.minute)
    return ",".join(found) if found else "--:--"


def main():
    every = "--every" in sys.argv[1:]
    event = every_event if every else first_event
    print("# Rising and setting in JST from PyEphem %s (python3-ephem): horizon %s, pressure 0,"
          % (ephem.__version__, HORIZON))
    print("# height 0, Sun upper limb, Moon centre, topocentric; made by tools/horizon_reference.py"
          + (" --every" if every else ""))
    print("# place <TAB> latitude <TAB> longitude <TAB> date <TAB> sunrise <TAB> sunset <TAB> moonrise <TAB> moonset")
    for name, lat, lon, years in (EVERY_PLACES if every else PLACES):
        observer = ephem.Observer()
        observer.lat = str(lat)
        observer.lon = str(lon)
        observer.elevation = 0
        observer.pressure = 0
        observer.horizon = HORIZON
        sun = ephem.Sun()
        moon = ephem.Moon()
        for year in years:
            day = datetime.date(year, 1, 1)
            while day.year == year:
                row = [event(observer, sun, day, True, False),
                       event(observer, sun, day, False, False),
                       event(observer, moon, day, True, True),
                       event(observer, moon, day, False, True)]
                print("\t".join([name, "%.9f" % lat, "%.9f" % lon, day.isoformat()] + row))
                day += datetime.timedelta(days=1)


if __name__ == "__main__":
    main()
