#!/usr/bin/python3
"""Sunrise and sunset reference table for the scheduler's sun-times tests.

Run with Debian's interpreter, which has python3-ephem:

    /usr/bin/python3 tools/gen_sun_table.py > tests/schedule/data/sun_times_ephem.csv
    /usr/bin/python3 tools/gen_sun_table.py --polar > tests/schedule/data/sun_polar_ephem.csv

The second table holds days beyond the polar circles, each marked "up" (the
sun never sets), "down" (it never rises) or "both" (it rises and sets).

Definition (the same as the program's): the moment the sun's upper limb
touches a sea-level horizon, with the standard 34 arc-minute refraction and no
further atmospheric model. In ephem that is pressure 0 (refraction off), a
horizon of -0:34 and the default upper-limb rising/setting.

Each day is the local calendar day of the site: the rising before and the
setting after the sun's transit nearest local clock noon. Times are the local
clock time of day (UTC + time zone hours, + 1 hour with daylight saving), in
seconds after midnight. A day on which the sun stays below or above the
horizon is written as "none".

Sites reach up to 65 degrees of latitude; dates run over 2000-2050 with the
solstices, equinoxes, leap days and year ends among them.
"""

import csv
import datetime as dt
import math
import random
import sys

import ephem

# name, latitude (north +), longitude (EAST +, as ephem wants), zone hours, daylight saving
SITES = [
    ("Perth", -31.95, 115.86, 8.0, 0),
    ("Sydney", -33.87, 151.21, 10.0, 1),
    ("London", 51.51, -0.13, 0.0, 0),
    ("Reykjavik", 64.15, -21.94, 0.0, 0),
    ("Fairbanks", 64.84, -147.72, -9.0, 1),
    ("Helsinki", 60.17, 24.94, 2.0, 0),
    ("Anchorage", 61.22, -149.90, -9.0, 0),
    ("Ushuaia", -54.80, -68.30, -3.0, 0),
    ("Quito", -0.18, -78.47, -5.0, 0),
    ("Singapore", 1.35, 103.82, 8.0, 0),
    ("Mumbai", 19.08, 72.88, 5.5, 0),
    ("Kathmandu", 27.70, 85.32, 5.75, 0),
    ("StJohns", 47.56, -52.71, -3.5, 1),
    ("LosAngeles", 34.05, -118.24, -8.0, 0),
    ("Honolulu", 21.31, -157.86, -10.0, 0),
    ("CapeTown", -33.92, 18.42, 2.0, 0),
    ("Auckland", -36.85, 174.76, 12.0, 1),
    ("Tokyo", 35.68, 139.69, 9.0, 0),
    ("Nuuk", 64.18, -51.72, -3.0, 0),
    ("AntarcticPeninsula", -65.00, -64.00, -3.0, 0),
]

FIXED_DATES = [
    dt.date(2000, 1, 1), dt.date(2000, 2, 29), dt.date(2000, 6, 21), dt.date(2000, 12, 31),
    dt.date(2024, 2, 29), dt.date(2024, 3, 20), dt.date(2024, 9, 22), dt.date(2025, 6, 21),
    dt.date(2025, 12, 21), dt.date(2048, 2, 29), dt.date(2050, 6, 20), dt.date(2050, 12, 31),
]


def dates():
    rng = random.Random(20260105)
    days = list(FIXED_DATES)
    first, last = dt.date(2000, 1, 1), dt.date(2050, 12, 31)
    while len(days) < 40:
        days.append(first + dt.timedelta(days=rng.randrange((last - first).days + 1)))
    return days


def local_seconds(event, zone_hours):
    moment = event.datetime() + dt.timedelta(hours=zone_hours)
    return moment.hour * 3600 + moment.minute * 60 + moment.second + moment.microsecond / 1e6


POLAR_SITES = [
    ("Tromso", 69.65, 18.96, 1.0, 0),
    ("Longyearbyen", 78.22, 15.65, 1.0, 0),
    ("McMurdo", -77.85, 166.67, 12.0, 0),
    ("Utqiagvik", 71.29, -156.79, -9.0, 0),
]


def observer(lat, lon_east):
    obs = ephem.Observer()
    obs.lat = str(lat)
    obs.lon = str(lon_east)
    obs.elevation = 0
    obs.pressure = 0
    obs.horizon = "-0:34"
    return obs


def polar():
    out = csv.writer(sys.stdout, lineterminator="\n")
    out.writerow(["site", "latitude", "longitude_east", "zone", "daylight_saving", "date", "sun"])
    sun = ephem.Sun()
    days = [dt.date(y, m, d) for y in (2001, 2026, 2049) for m, d in ((6, 21), (12, 21), (3, 21), (9, 23))]
    for name, lat, lon_east, zone, dst in POLAR_SITES:
        for day in days:
            obs = observer(lat, lon_east)
            clock_noon = dt.datetime(day.year, day.month, day.day, 12) - dt.timedelta(hours=zone + dst)
            obs.date = ephem.Date(clock_noon)
            try:
                obs.next_rising(sun)
                state = "both"
            except ephem.AlwaysUpError:
                state = "up"
            except ephem.NeverUpError:
                state = "down"
            out.writerow([name, lat, lon_east, zone, dst, day.isoformat(), state])


def main():
    if "--polar" in sys.argv:
        polar()
        return
    out = csv.writer(sys.stdout, lineterminator="\n")
    out.writerow(["site", "latitude", "longitude_east", "zone", "daylight_saving", "date", "sunrise_s", "sunset_s"])
    sun = ephem.Sun()
    for name, lat, lon_east, zone, dst in SITES:
        offset = zone + dst
        for day in dates():
            obs = ephem.Observer()
            obs.lat = str(lat)
            obs.lon = str(lon_east)
            obs.elevation = 0
            obs.pressure = 0
            obs.horizon = "-0:34"
            clock_noon = dt.datetime(day.year, day.month, day.day, 12) - dt.timedelta(hours=offset)
            obs.date = ephem.Date(clock_noon - dt.timedelta(hours=12))
            transit = obs.next_transit(sun)
            try:
                rise = local_seconds(obs.previous_rising(sun, start=transit), offset)
            except (ephem.AlwaysUpError, ephem.NeverUpError):
                rise = None
            try:
                sets = local_seconds(obs.next_setting(sun, start=transit), offset)
            except (ephem.AlwaysUpError, ephem.NeverUpError):
                sets = None
            out.writerow([
                name, lat, lon_east, zone, dst, day.isoformat(),
                "none" if rise is None else "%.1f" % rise,
                "none" if sets is None else "%.1f" % sets,
            ])


if __name__ == "__main__":
    main()
