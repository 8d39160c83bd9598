#!/usr/bin/python3
"""Next-occurrence reference table for the scheduler's plain recurrences.

Run with Debian's interpreter, which has python3-dateutil:

    /usr/bin/python3 tools/gen_recurrence_table.py > tests/schedule/data/recurrence_rrule.csv

Every expected value comes from dateutil's rrule, not from the scheduler's own
arithmetic. Only cases where the scheduler's rule is the plain calendar
recurrence are generated; the rule's own turns (the every-N-days rule on its
start day, month-end clamping, day numbers past a month's end, a start after
the reference day for the weekly scan) are covered by hand-written tests.

Columns: kind; startdate; starttime ("" for sun-relative); from; a, b, c (the
rule's numbers and words); days (weekly: seven 0/1 flags Monday..Sunday);
expected ("yyyy-mm-dd" or "none"); must (weekly only: 1 when the scheduler has
to find the occurrence, i.e. the reference is midnight of an occurrence day).

Kinds and what the scheduler computes:
  xdays      every a days from startdate; first occurrence at or after from
  weekday    Monday-Friday on or after the effective day
  weekend    Saturday/Sunday on or after the effective day, kept only when later
             than startdate (date and time)
  xweeks     every a weeks on the ticked days, weeks counted from startdate's
  mday       day a of every b months (a <= 28)
  mnth       the a-th (1-4, 5 = last) weekday b of every c months
  yday       day a of month b every year (a <= 28), strictly after the reference
  ynth       the a-th (1-4, 5 = last) weekday b of month c, strictly after the reference
"""

import csv
import datetime as dt
import random
import sys

from dateutil import rrule

WEEKDAYS = [rrule.MO, rrule.TU, rrule.WE, rrule.TH, rrule.FR, rrule.SA, rrule.SU]
rng = random.Random(19991231)


def interesting_day():
    """Month ends, leap days, year ends and ordinary days over 1999-2031."""
    year = rng.randrange(1999, 2032)
    pick = rng.random()
    if pick < 0.25:
        month = rng.randrange(1, 13)
        nxt = dt.date(year + (month == 12), month % 12 + 1, 1)
        return nxt - dt.timedelta(days=rng.randrange(1, 4))
    if pick < 0.35:
        return dt.date(year, 12, 31) - dt.timedelta(days=rng.randrange(0, 3))
    if pick < 0.45:
        leap = rng.choice([2000, 2004, 2008, 2012, 2016, 2020, 2024, 2028])
        return dt.date(leap, 2, 29) + dt.timedelta(days=rng.randrange(-1, 2))
    return dt.date(year, 1, 1) + dt.timedelta(days=rng.randrange(365))


def at(day, minutes):
    return dt.datetime(day.year, day.month, day.day) + dt.timedelta(minutes=minutes)


def fmt(moment):
    return moment.strftime("%Y-%m-%d %H:%M:%S")


def hhmm(minutes):
    return "%02d:%02d" % (minutes // 60, minutes % 60)


def reference_pair(spread=400):
    start = interesting_day()
    ref_day = start + dt.timedelta(days=rng.randrange(-30, spread))
    ref = at(ref_day, rng.choice([0, 0, 0, rng.randrange(1440)]))
    return start, ref


def effective(start, ref):
    """The reference moved to the start day when the start is on a later day."""
    if start.date() > ref.date():
        return at(start.date(), ref.hour * 60 + ref.minute)
    return ref


def first_on_or_after(rule, moment):
    return rule.after(moment, inc=True)


def row(out, kind, start, starttime, ref, a="", b="", c="", days="", expected=None, must=""):
    out.writerow([kind, fmt(start), starttime, fmt(ref), a, b, c, days,
                  "none" if expected is None else expected.strftime("%Y-%m-%d"), must])


def xdays(out):
    for _ in range(120):
        minutes = rng.randrange(1440)
        start_day, ref = reference_pair()
        start = at(start_day, minutes)
        if start.date() == ref.date():
            continue  # on its start day the rule gives that day whatever the time
        n = rng.choice([1, 2, 3, 7, 10, 30, 45])
        rule = rrule.rrule(rrule.DAILY, interval=n, dtstart=start)
        row(out, "xdays", start, hhmm(minutes), ref, n, expected=first_on_or_after(rule, ref))


def weekday_and_weekend(out):
    for _ in range(60):
        minutes = rng.randrange(1440)
        start_day, ref = reference_pair(40)
        start = at(start_day, minutes)
        r = effective(start, ref)
        base = at(r.date(), 0)
        rule = rrule.rrule(rrule.DAILY, byweekday=WEEKDAYS[:5], dtstart=base)
        row(out, "weekday", start, hhmm(minutes), ref, expected=first_on_or_after(rule, base))
        rule = rrule.rrule(rrule.DAILY, byweekday=WEEKDAYS[5:], dtstart=base)
        day = first_on_or_after(rule, base).date()
        candidate = at(day, r.hour * 60 + r.minute)
        row(out, "weekend", start, hhmm(minutes), ref,
            expected=candidate if candidate > start else None)


def xweeks(out):
    for _ in range(140):
        minutes = rng.choice([0, rng.randrange(1440)])
        start_day, ref = reference_pair()
        if ref.date() < start_day:
            continue  # a start after the reference is scanned from its own week
        x = rng.choice([1, 1, 2, 3, 4])
        ticked = [rng.random() < 0.35 for _ in range(7)]
        if not any(ticked):
            ticked[rng.randrange(7)] = True
        monday = start_day - dt.timedelta(days=start_day.weekday())
        rule = rrule.rrule(rrule.WEEKLY, interval=x, wkst=rrule.MO,
                           byweekday=[w for w, t in zip(WEEKDAYS, ticked) if t],
                           dtstart=at(monday, minutes))
        expected = first_on_or_after(rule, ref)
        # At midnight of an occurrence day the scan has to find that day.
        must = int(ref.hour == 0 and ref.minute == 0 and expected.date() == ref.date())
        start = at(start_day, minutes)
        row(out, "xweeks", start, hhmm(minutes), ref, x,
            days="".join("1" if t else "0" for t in ticked), expected=expected, must=must)


def mday(out):
    for _ in range(120):
        minutes = rng.randrange(1440)
        start_day, ref = reference_pair(900)
        start = at(start_day, minutes)
        n = rng.randrange(1, 29)
        x = rng.choice([1, 1, 2, 3, 6, 12])
        rule = rrule.rrule(rrule.MONTHLY, interval=x, bymonthday=n, dtstart=start)
        row(out, "mday", start, hhmm(minutes), ref, n, x, expected=first_on_or_after(rule, max(ref, start)))


def nth(weekday, ordinal):
    return weekday(-1) if ordinal == 5 else weekday(ordinal)


def mnth(out):
    for _ in range(120):
        minutes = rng.randrange(1440)
        start_day, ref = reference_pair(900)
        start = at(start_day, minutes)
        ordinal = rng.randrange(1, 6)
        wd = rng.randrange(7)
        x = rng.choice([1, 1, 2, 3, 6])
        first_of_month = at(start_day.replace(day=1), minutes)
        rule = rrule.rrule(rrule.MONTHLY, interval=x, byweekday=nth(WEEKDAYS[wd], ordinal),
                           dtstart=first_of_month)
        row(out, "mnth", start, hhmm(minutes), ref, ordinal, wd + 1, x, expected=rule.after(ref, inc=False))


def yearly(out):
    for _ in range(120):
        minutes = rng.choice([0, rng.randrange(1440)])
        start_day, ref = reference_pair(1200)
        start = at(start_day, minutes)
        r = effective(start, ref)
        month = rng.randrange(1, 13)
        n = rng.randrange(1, 29)
        rule = rrule.rrule(rrule.YEARLY, bymonth=month, bymonthday=n, dtstart=at(dt.date(r.year - 1, 1, 1), minutes))
        row(out, "yday", start, hhmm(minutes), ref, n, month, expected=rule.after(r, inc=False))
        ordinal = rng.randrange(1, 6)
        wd = rng.randrange(7)
        rule = rrule.rrule(rrule.YEARLY, bymonth=month, byweekday=nth(WEEKDAYS[wd], ordinal),
                           dtstart=at(dt.date(r.year - 1, 1, 1), minutes))
        row(out, "ynth", start, hhmm(minutes), ref, ordinal, wd + 1, month, expected=rule.after(r, inc=False))


def main():
    out = csv.writer(sys.stdout, delimiter=";", lineterminator="\n")
    out.writerow(["kind", "startdate", "starttime", "from", "a", "b", "c", "days", "expected", "must"])
    xdays(out)
    weekday_and_weekend(out)
    xweeks(out)
    mday(out)
    mnth(out)
    yearly(out)


if __name__ == "__main__":
    main()
