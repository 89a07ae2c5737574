#pragma once
/// A star's upper culmination: the instant it crosses the meridian south of the zenith
/// (north of it south of the star's declination), where a German equatorial mount must
/// flip. From ERFA's observed place (precession, nutation, aberration, light
/// deflection; UT1 = UTC, no polar motion, height 0, no refraction).

namespace astro {

/// The Julian Date (UTC) of the upper culmination of the star at ICRS ra_rad, dec_rad
/// (radians) nearest to jd_utc (Julian Date, UTC), seen from the site at longitude_deg
/// (degrees east) and latitude_deg (degrees north): where its observed hour angle is 0.
/// Within a millisecond of it.
double upper_culmination_jd(double jd_utc, double longitude_deg, double latitude_deg, double ra_rad,
                            double dec_rad);

}  // namespace astro
