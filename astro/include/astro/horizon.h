#pragma once
/// Local sidereal time and equatorial -> horizontal coordinates.

namespace astro {

/// Local sidereal time, radians, of an MJD (days, UT) at a longitude (degrees east).
/// Lies in [0, 2pi) from MJD 40000 (1968-05-24) on and in (-2pi, 0] before it.
double local_sidereal_time(double mjd, float longitude_deg);

/// Where a star stands at the site.
struct HorizontalPosition {
  float azimuth = 0;   ///< degrees from south through west, in (0, 360]
  float altitude = 0;  ///< degrees, -90 to +90
  int horizon = 0;     ///< +1 when the altitude is 0 or more, -1 below the horizon
};

/// Azimuth and altitude from the local sidereal time (radians) and the site latitude,
/// right ascension and declination (all radians, single precision).
/// The altitude comes from an arctangent over the single-precision azimuth, so near
/// due east or west it carries that azimuth's rounding error.
HorizontalPosition equatorial_to_horizontal(double lst, float latitude, float ra,
                                            float dec);

}  // namespace astro
