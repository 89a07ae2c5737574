#!/usr/bin/python3
"""Prints the outside values of time_scales_test.cpp: TDB Julian Dates of instants given
in TCB, from astropy (its own TCB-TDB rule, not ERFA's routine).

Run by hand (/usr/bin/python3 tests/astro/make_time_scales_reference.py) and copy the
lines into the test's table; the tests never need astropy.
"""
from astropy.time import Time

# (whole, part) of TCB Julian Dates: Gaia DR3's reference epoch and minima of its
# eclipsing binaries (2016-2017), the scales' meeting instant of 1977, one in 2053.
INSTANTS = [
    (2455197.5, 0.0),
    (2455197.5, 2235.7836227049343 + 0.7945931 / 3.9756702991987853),
    (2455197.5, 2180.446023305314 + 0.4976967 / 1.5368056648910293),
    (2443144.5003725, 0.0),
    (2460000.5, 7000.25),
]

for whole, part in INSTANTS:
    tdb = Time(whole, part, format="jd", scale="tcb").tdb
    print(f"    {{{whole!r}, {part!r}, {tdb.jd1!r}L + {tdb.jd2!r}L}},")
