#!/usr/bin/python3
"""Writes horizon_reference_values.txt: outside values for the skyline tests, from astropy.

Run by hand while developing (python3 tests/astro/make_horizon_reference.py); the tests
read the committed output and never need astropy. The horizon routines take a star's
catalogue place as the place of date (no precession, nutation or aberration), so the
star is given to astropy in the true equator and equinox of date (TETE) with those very
coordinates; what is compared is then the turn to the horizon: the sidereal time, the
azimuth from north through east and the altitude. UT1 - UTC is set to 0 and the AltAz
frame has pressure 0 (no refraction), as the programs assume. Nothing is downloaded.

Each star line also says whether the star stands behind the skyline written at the top
of the file (the skyline's altitude at astropy's azimuth, linear between its points in
azimuth and round past north, as a horizon file is read).
"""
import os
import warnings

import astropy.units as u
import numpy as np
from astropy.coordinates import TETE, AltAz, EarthLocation, SkyCoord
from astropy.time import Time
from astropy.utils import iers

iers.conf.auto_download = False
iers.conf.auto_max_age = None
iers.conf.iers_degraded_accuracy = "ignore"
warnings.simplefilter("ignore")

# Sites: Tokyo (the built-in site), Okinawa and London, degrees east and north.
SITES = [(139.77, 35.67), (127.68, 26.22), (-0.13, 51.48)]
# UTC Julian Dates: evenings and mornings of several seasons, 2006 to 2030.
INSTANTS = [2453800.0208, 2454010.5, 2455197.912345, 2458119.6, 2460677.7, 2462503.8]
# Right ascension (hours) and declination (degrees) across the sky.
STARS = [
    (0.0, 0.0), (2.5, 60.0), (5.6, 12.57), (8.9, 45.0), (9.17, -5.12), (12.3, -30.0),
    (15.7, 20.0), (18.6, 38.8), (21.5, 20.25), (6.75, -16.7),
]
# The skyline, azimuth from north through east and altitude, degrees: trees in the
# north-east, a house in the south-west, the sea to the south.
SKYLINE = [(0, 8), (40, 25), (100, 5), (170, -1), (200, 3), (215, 35), (260, 35), (275, 10)]


def skyline_altitude(azimuth):
    az = np.array([p[0] for p in SKYLINE], dtype=float)
    alt = np.array([p[1] for p in SKYLINE], dtype=float)
    return float(np.interp(azimuth % 360.0, az, alt, period=360.0))


def main():
    out = os.path.join(os.path.dirname(os.path.abspath(__file__)), "horizon_reference_values.txt")
    lines = [
        "# Outside values for the skyline tests, written by make_horizon_reference.py (astropy "
        + __import__("astropy").__version__ + ").",
        "# The star's catalogue place taken as its place of date (TETE); UT1 - UTC = 0;"
        " no refraction.",
        "# skyline AZIMUTH_DEG ALTITUDE_DEG (from north through east)",
        "# star LON_DEG LAT_DEG JD_UTC RA_HOURS DEC_DEG AZIMUTH_DEG ALTITUDE_DEG SKYLINE_DEG"
        " BEHIND",
    ]
    for az, alt in SKYLINE:
        lines.append("skyline %g %g" % (az, alt))
    for lon, lat in SITES:
        site = EarthLocation.from_geodetic(lon=lon * u.deg, lat=lat * u.deg, height=0 * u.m)
        for jd in INSTANTS:
            t = Time(jd, format="jd", scale="utc", location=site)
            t.delta_ut1_utc = 0.0
            frame = AltAz(obstime=t, location=site, pressure=0 * u.hPa)
            for ra_h, dec_d in STARS:
                star = SkyCoord(ra=ra_h * 15 * u.deg, dec=dec_d * u.deg, frame=TETE(obstime=t))
                seen = star.transform_to(frame)
                azimuth = seen.az.deg % 360.0
                altitude = seen.alt.deg
                skyline = skyline_altitude(azimuth)
                lines.append("star %g %g %.6f %g %g %.6f %.6f %.6f %d" % (
                    lon, lat, jd, ra_h, dec_d, azimuth, altitude, skyline,
                    1 if altitude < skyline else 0))
    with open(out, "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
