#!/usr/bin/python3
"""Prints the end of civil twilight (the Sun's centre 6 degrees below the horizon, no
refraction) for the dusk tests of chart_samples_test.cpp, from astropy.

Run by hand while developing (python3 tests/nightmark/make_dusk_reference.py); the
values it prints are copied into the test, which never needs astropy. Hours are JST
(UTC + 9 h) of the evening's date; the site is at height 0 on WGS84, UT1 - UTC is 0.
Nothing is downloaded: astropy's bundled Earth-orientation table is used.
"""
import warnings

import astropy.units as u
from astropy.coordinates import AltAz, EarthLocation, get_body
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None
iers.conf.iers_degraded_accuracy = "ignore"
warnings.simplefilter("ignore")

CASES = [  # (year, month, day, longitude E, latitude N)
    (2006, 3, 5, 139.77, 35.67),
    (2026, 1, 18, 139.77, 35.67),
    (2026, 6, 21, 139.77, 35.67),
    (2026, 6, 21, 127.68, 26.22),
]


def sun_altitude(t, site):
    frame = AltAz(obstime=t, location=site, pressure=0 * u.hPa)
    return get_body("sun", t).transform_to(frame).alt.deg


for year, month, day, lon, lat in CASES:
    site = EarthLocation.from_geodetic(lon=lon * u.deg, lat=lat * u.deg, height=0 * u.m)
    noon_jst = Time(f"{year}-{month:02d}-{day:02d}T03:00:00", scale="utc")
    low, high = 12.0, 24.0  # JST hours: the Sun goes down through -6 between them
    while high - low > 0.1 / 3600:
        mid = (low + high) / 2
        if sun_altitude(noon_jst + (mid - 12) * u.hour, site) > -6:
            low = mid
        else:
            high = mid
    print(f"{year}-{month:02d}-{day:02d} {lon} E {lat} N: {(low + high) / 2:.5f} h JST")
