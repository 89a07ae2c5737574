#!/usr/bin/python3
"""Writes night_clock_reference.txt: outside values for the civil clock tests, from
Python's own reading of the time-zone database (zoneinfo, /usr/share/zoneinfo).

Run by hand while developing (python3 tests/astro/make_night_clock_reference.py); the
tests read the committed output. Two kinds of lines:

  night ZONE YEAR MONTH DAY OFFSET_SECONDS ABBREVIATION
      the offset in force at 18:00 local on the evening's date: every seventh day of
      the years and every day next to a change of that offset;
  instant ZONE JD MORNING_END YEAR MONTH DAY HOUR MINUTE
      the night that holds a UT instant (Julian Date) and its clock time on that
      night's clock, hours after midnight counted on from 24. A night of date N on
      offset o holds the instants from MORNING_END:00 on N to MORNING_END:00 on N + 1,
      local on o; where two nights hold an instant (the hour the clocks go forward)
      the earlier keeps it. Instants that no night holds are not written.
"""
import datetime as dt
import os
from zoneinfo import ZoneInfo

ZONES = ["Europe/London", "America/New_York", "Australia/Sydney", "America/St_Johns",
         "Asia/Tokyo", "Asia/Kolkata"]
YEARS = [2006, 2025]
UNIX_EPOCH_JD = 2440587.5


def night_clock(zone, date):
    evening = dt.datetime(date.year, date.month, date.day, 18, 0, tzinfo=zone)
    return int(evening.utcoffset().total_seconds()), evening.tzname()


def holding_night(zone, instant, morning_end):
    """The earliest night holding the UT instant, with its clock time, or None."""
    guess = instant.astimezone(zone).date()
    for back in range(2, -2, -1):
        date = guess - dt.timedelta(days=back)
        offset, _ = night_clock(zone, date)
        clock = dt.timezone(dt.timedelta(seconds=offset))
        start = dt.datetime(date.year, date.month, date.day, morning_end, tzinfo=clock)
        if start <= instant < start + dt.timedelta(days=1):
            local = instant.astimezone(clock)
            hours = (local - start).total_seconds() / 3600 + morning_end
            return date, int(hours), round((hours - int(hours)) * 60)
    return None


def main():
    lines = []
    for name in ZONES:
        zone = ZoneInfo(name)
        for year in YEARS:
            day = dt.date(year, 1, 1)
            while day.year == year:
                offset = night_clock(zone, day)[0]
                change = (night_clock(zone, day - dt.timedelta(days=1))[0] != offset or
                          night_clock(zone, day + dt.timedelta(days=1))[0] != offset)
                if change or day.timetuple().tm_yday % 7 == 0:
                    offset, abbreviation = night_clock(zone, day)
                    lines.append(f"night {name} {day.year} {day.month} {day.day} "
                                 f"{offset} {abbreviation}")
                if night_clock(zone, day - dt.timedelta(days=1))[0] != offset:
                    # Instants every 73 minutes from 12:00 UT the day before the first
                    # evening on the new offset to 12:00 UT the day after, a few seconds
                    # off the minute so that no clock time falls on a rounding edge.
                    start = dt.datetime(day.year, day.month, day.day, 12,
                                        tzinfo=dt.timezone.utc) - dt.timedelta(days=1)
                    for step in range(48 * 60 // 73):
                        instant = start + dt.timedelta(minutes=73 * step, seconds=7)
                        for morning_end in (6, 12):
                            held = holding_night(zone, instant, morning_end)
                            if held is None:
                                continue
                            date, hour, minute = held
                            jd = instant.timestamp() / 86400 + UNIX_EPOCH_JD
                            lines.append(f"instant {name} {jd:.8f} {morning_end} {date.year} "
                                         f"{date.month} {date.day} {hour} {minute}")
                day += dt.timedelta(days=1)
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "night_clock_reference.txt")
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
