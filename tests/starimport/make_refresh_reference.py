#!/usr/bin/python3
"""Prints the outside values of catalogue_update_test.cpp: how far the next primary
minimum after 2026-12-09 0 h UT moves when a star.dat line takes new elements, from
astropy.

Run by hand (python3 tests/starimport/make_refresh_reference.py) and copy the minutes
into the test; the test never needs astropy. The old line's first minimum at or after
that instant is taken to its time scale and the new line's nearest minimum back to the
geocentre (UTC), the light time along the star's direction from the Sun's centre (HJD)
or the barycentre with TDB (BJD). Nothing is downloaded.
"""
import math
import warnings

import astropy.units as u
from astropy.coordinates import EarthLocation, SkyCoord
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None
iers.conf.iers_degraded_accuracy = "ignore"
warnings.simplefilter("ignore")

GEOCENTRE = EarthLocation.from_geocentric(0 * u.m, 0 * u.m, 0 * u.m)
TODAY_JD = 2461383.5  # 2026-12-09 0 h UT


def to_scale(jd_utc, scale, star):
    """The geocentric UTC instant in the line's time scale."""
    if scale == "JD":
        return jd_utc
    t = Time(jd_utc, format="jd", scale="utc", location=GEOCENTRE)
    kind = "heliocentric" if scale == "HJD" else "barycentric"
    shifted = t + t.light_travel_time(star, kind=kind)
    return shifted.utc.jd if scale == "HJD" else shifted.tdb.jd


def to_geocentre(jd, scale, star):
    """The instant of the line's time scale at the geocentre, UTC (two iterations)."""
    guess = jd
    for _ in range(3):
        guess += jd - to_scale(guess, scale, star)
    return guess


def shift_minutes(ra, dec, before, after):
    star = SkyCoord(ra, dec, frame="icrs")
    epoch, period, scale = before
    today = to_scale(TODAY_JD, scale, star)
    old = to_geocentre(epoch + math.ceil((today - epoch) / period) * period, scale, star)
    epoch, period, scale = after
    then = to_scale(old, scale, star)
    new = to_geocentre(epoch + round((then - epoch) / period) * period, scale, star)
    return (new - old) * 1440


# RT And: hand-typed JD elements refreshed from the GCVS (HJD).
print("RT And", shift_minutes("23h11m10s", "+53d02m",
                              (2451421.700, 0.6289200, "JD"), (2451421.737, 0.6289216, "HJD")))
# SW Lac: the same numbers, the time scale named (HJD) where there was none.
print("SW Lac", shift_minutes("22h53m42s", "+37d56m",
                              (2445275.3477, 0.3207209, "JD"), (2445275.3477, 0.3207209, "HJD")))
# U Cep: HJD elements to BJD elements.
print("U Cep", shift_minutes("01h02m18s", "+81d53m",
                             (2457278.782, 2.493091, "HJD"), (2457278.7835, 2.4930905, "BJD")))
