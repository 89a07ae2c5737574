#!/usr/bin/python3
"""Writes table_reference_values.txt: outside values for the rows of eclfore's table
(--csv), from astropy.

Run by hand while developing (python3 tests/eclfore/make_table_reference.py); the tests
read the committed output and never need astropy. The run is the case folder
tests/e2e/eclfore/csv_on_a_zone_of_date: Greenwich (0.13 W, 51.48 N, height 0 on WGS84),
December 2026 on Europe/London's clock (GMT, so the fixed night is 18:00 to 06:00 UTC),
altitudes of date, lowest altitude 20 degrees, no skyline, no Moon limit. Every third
row of its recorded data.csv names a minimum (star, kind, cycle); its instant, window,
altitudes, azimuth, meridian, Sun, Moon and coverage are computed here from the star.dat
line alone. UT1 - UTC = 0, no refraction; nothing is downloaded.
"""
import csv
import math
import os
import sys
import warnings

import astropy.units as u
import numpy as np
from astropy.coordinates import AltAz, EarthLocation, HADec, SkyCoord, get_body
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None
iers.conf.iers_degraded_accuracy = "ignore"
warnings.simplefilter("ignore")

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "astro"))
from make_ephemeris_reference import moon_illuminated_fraction  # noqa: E402
CASE = os.path.join(HERE, "..", "e2e", "eclfore", "csv_on_a_zone_of_date")
SITE = EarthLocation.from_geodetic(lon=-0.13 * u.deg, lat=51.48 * u.deg, height=0 * u.m)
GEOCENTRE = EarthLocation.from_geocentric(0 * u.m, 0 * u.m, 0 * u.m)
LOWEST_DEG = 20.0
STEP_DAYS = 10.0 / 86400  # the coverage sampled every 10 s


def utc(jd):
    t = Time(jd, format="jd", scale="utc", location=SITE)
    t.delta_ut1_utc = 0.0
    return t


def star_line(line):
    ra = (int(line[47:49]) + int(line[50:52]) / 60 + int(line[53:55]) / 3600) * 15
    sign = -1 if line[57] == "-" else 1
    dec = sign * (int(line[58:60]) + int(line[61:63]) / 60)

    def field(a, b):
        text = line[a:b].strip() if len(line) > a else ""
        return float(text) if text else None

    scale = line[138:141].strip() if len(line) > 138 else ""
    return {
        "epoch": float(line[20:34]), "period": float(line[34:46]),
        "star": SkyCoord(ra=ra * u.deg, dec=dec * u.deg, frame="icrs"),
        "duration": field(95, 100), "secondary_duration": field(101, 106),
        "phase": field(107, 113) or 0.5, "epoch_error": field(114, 124),
        "period_error": field(125, 137), "scale": scale or "JD",
    }


def geocentric_jd(epoch_jd, scale, star):
    """The geocentric UTC JD of an instant given in `scale`, by iterating the light time."""
    if scale == "JD":
        return epoch_jd
    jd = epoch_jd
    for _ in range(4):
        t = Time(jd, format="jd", scale="utc", location=GEOCENTRE)
        if scale == "HJD":
            moved = (t + t.light_travel_time(star, kind="heliocentric", location=GEOCENTRE)).utc
            jd += epoch_jd - (moved.jd1 + moved.jd2)
        else:
            moved = (t.tdb + t.light_travel_time(star, kind="barycentric", location=GEOCENTRE)).tdb
            jd += epoch_jd - (moved.jd1 + moved.jd2)
    return jd


def altaz(jd, star):
    t = utc(jd)
    return star.transform_to(AltAz(obstime=t, location=SITE, pressure=0 * u.hPa))


def hour_angle_h(jd, star):
    t = utc(jd)
    ha = star.transform_to(HADec(obstime=t, location=SITE, pressure=0 * u.hPa)).ha.hour
    return (ha + 12) % 24 - 12


def meridian_jd(jd, star):
    # Secant steps on the hour angle of date from the instant itself.
    x = jd - hour_angle_h(jd, star) / 24 / 1.0027379
    for _ in range(4):
        x -= hour_angle_h(x, star) / 24 / 1.0027379
    return x


def observable(jd, star):
    hour = ((jd + 0.5) % 1) * 24  # GMT
    if 6 <= hour < 18:
        return False
    return altaz(jd, star).alt.deg >= LOWEST_DEG


def share_pct(start, end, star):
    n = int(math.ceil((end - start) / STEP_DAYS))
    instants = np.linspace(start, end, n + 1)
    hours = ((instants + 0.5) % 1) * 24
    t = utc(instants)
    alts = star.transform_to(AltAz(obstime=t, location=SITE, pressure=0 * u.hPa)).alt.deg
    ok = ~((hours >= 6) & (hours < 18)) & (alts >= LOWEST_DEG)
    # Each sample stands for its share of the window; the ends for half of one.
    weights = np.ones(n + 1)
    weights[0] = weights[-1] = 0.5
    return 100 * float(np.sum(weights * ok)) / n


def main():
    stars = {}
    with open(os.path.join(CASE, "in", "star.dat")) as f:
        for line in f.read().splitlines():
            stars[line[:20].rstrip()] = star_line(line)
    with open(os.path.join(CASE, "expected", "data.csv"), newline="") as f:
        rows = list(csv.DictReader(f))
    out = [
        "# Outside values for eclfore's table rows, written by make_table_reference.py (astropy "
        + __import__("astropy").__version__ + ").",
        "# Greenwich -0.13 E 51.48 N, height 0; UT1 - UTC = 0; no refraction; altitudes of date.",
        "# NAME|KIND|CYCLE MINIMUM_JD START_JD END_JD ALT_START ALT_MINIMUM ALT_END AZ_MINIMUM"
        " MERIDIAN_JD SUN_ALT_START SUN_ALT_END MOON_ALT MOON_DISTANCE MOON_ILLUMINATION_PCT"
        " COVERAGE_PCT (- for unknown)",
    ]
    for row in rows[::3]:
        s = stars[row["name"]]
        star = s["star"]
        cycle = float(row["cycle"])
        secondary = row["kind"] == "secondary"
        epoch_jd = s["epoch"] + cycle * s["period"]
        minimum = geocentric_jd(epoch_jd, s["scale"], star)
        duration = s["duration"]
        if secondary and s["secondary_duration"] is not None:
            duration = s["secondary_duration"]
        values = [minimum]
        if duration is None:
            values += [None] * 2
        else:
            half = duration * s["period"] / 200
            values += [minimum - half, minimum + half]
        here = altaz(minimum, star)
        values += [altaz(values[1], star).alt.deg if values[1] else None, here.alt.deg,
                   altaz(values[2], star).alt.deg if values[2] else None, here.az.deg,
                   meridian_jd(minimum, star)]
        for at in (values[1], values[2]):
            if at is None:
                values.append(None)
            else:
                values.append(get_body("sun", utc(at), SITE).transform_to(
                    AltAz(obstime=utc(at), location=SITE, pressure=0 * u.hPa)).alt.deg)
        frame = AltAz(obstime=utc(minimum), location=SITE, pressure=0 * u.hPa)
        moon = get_body("moon", utc(minimum), SITE).transform_to(frame)
        values += [moon.alt.deg, here.separation(moon).deg, 100 * moon_illuminated_fraction(minimum)]
        if duration is None:
            values.append(None)
        else:
            judged = half
            if s["epoch_error"] is not None and s["period_error"] is not None:
                judged += math.hypot(s["epoch_error"], cycle * s["period_error"])
            values.append(share_pct(minimum - judged, minimum + judged, star))
        key = "%s|%s|%s" % (row["name"], row["kind"], row["cycle"])
        out.append(key.replace(" ", "_") + " " + " ".join(
            "-" if v is None else "%.9f" % v for v in values))
    with open(os.path.join(HERE, "table_reference_values.txt"), "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
