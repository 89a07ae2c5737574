#!/usr/bin/python3
"""Writes ephemeris_reference_values.txt: outside values for the ephemeris tests,
from astropy.

Run by hand while developing (python3 tests/astro/make_ephemeris_reference.py); the
tests read the committed output and never need astropy. The site is Tokyo (139.77 E,
35.67 N, height 0 on WGS84); UT1 - UTC is set to 0 and the AltAz frame has pressure 0
(no refraction), as the programs assume. Nothing is downloaded: astropy's bundled
Earth-orientation table is used, and polar motion beyond it is taken as 0 (under 0.5").
"""
import math
import os
import warnings

import astropy.units as u
from astropy.coordinates import AltAz, EarthLocation, SkyCoord, get_body
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None
iers.conf.iers_degraded_accuracy = "ignore"
warnings.simplefilter("ignore")

SITE = EarthLocation.from_geodetic(lon=139.77 * u.deg, lat=35.67 * u.deg, height=0 * u.m)
GEOCENTRE = EarthLocation.from_geocentric(0 * u.m, 0 * u.m, 0 * u.m)

# UTC Julian Dates across 2006-2030: night and day, all seasons and Moon phases.
INSTANTS = [
    2454010.000000, 2454250.650000, 2454466.100000, 2455197.912345,
    2456000.300000, 2456841.750000, 2457388.020000, 2458119.600000,
    2458849.450000, 2459580.875000, 2460310.210000, 2460677.700000,
    2461000.550000, 2461190.480000, 2461420.930000, 2461768.350000,
    2462137.060000, 2462503.800000,
]
# ICRS right ascension (hours) and declination (degrees) across the sky.
STARS = [
    (0.0, 0.0), (2.5, 89.2), (5.6, -5.4), (8.9, 45.0), (12.3, -30.0),
    (15.7, 20.0), (18.6, 38.8), (21.5, 20.25), (23.9, -75.0), (6.75, -16.7),
]


def moon_illuminated_fraction(jd):
    """The Moon's illuminated fraction at jd (UTC) from the geocentric phase angle."""
    tg = Time(jd, format="jd", scale="utc")
    sun_g = get_body("sun", tg)
    moon_g = get_body("moon", tg)
    elongation = sun_g.separation(moon_g).rad
    phase = math.atan2(sun_g.distance.value * math.sin(elongation),
                       moon_g.distance.value - sun_g.distance.value * math.cos(elongation))
    return (1 + math.cos(phase)) / 2


def altaz(t):
    return AltAz(obstime=t, location=SITE, pressure=0 * u.hPa)


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "ephemeris_reference_values.txt")
    lines = [
        "# Outside values for the ephemeris tests, written by make_ephemeris_reference.py (astropy "
        + __import__("astropy").__version__ + ").",
        "# Tokyo 139.77 E 35.67 N, height 0; UT1 - UTC = 0; no refraction.",
        "# sun JD_UTC SUN_ALT_DEG MOON_ALT_DEG MOON_ILLUMINATED_FRACTION",
        "# star JD_UTC RA_RAD DEC_RAD ALT_OF_DATE_DEG MOON_STAR_DEG HJD_UTC BJD_TDB",
    ]
    for jd in INSTANTS:
        t = Time(jd, format="jd", scale="utc", location=SITE)
        t.delta_ut1_utc = 0.0
        frame = altaz(t)
        sun = get_body("sun", t, SITE).transform_to(frame)
        moon = get_body("moon", t, SITE).transform_to(frame)
        fraction = moon_illuminated_fraction(jd)
        lines.append("sun %.6f %.6f %.6f %.6f" % (jd, sun.alt.deg, moon.alt.deg, fraction))
        for ra_h, dec_d in STARS:
            star = SkyCoord(ra=ra_h * 15 * u.deg, dec=dec_d * u.deg, frame="icrs")
            star_h = star.transform_to(frame)
            distance = star_h.separation(moon).deg
            tz = Time(jd, format="jd", scale="utc", location=GEOCENTRE)
            helio = tz.light_travel_time(star, kind="heliocentric", location=GEOCENTRE)
            bary = tz.light_travel_time(star, kind="barycentric", location=GEOCENTRE)
            hjd = (tz.utc + helio).utc
            bjd = (tz.tdb + bary).tdb
            lines.append("star %.6f %.12f %.12f %.6f %.6f %.9f %.9f" % (
                jd, star.ra.rad, star.dec.rad, star_h.alt.deg, distance,
                hjd.jd1 + hjd.jd2, bjd.jd1 + bjd.jd2))
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
