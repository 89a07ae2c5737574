#pragma once
/// Local sidereal time and equatorial -> horizontal coordinates.

namespace astro {

// Greenwich mean sidereal time, in turns, as a straight line in UT:
//   GMST = 0.671262 + 1.002737909 (MJD - 40000),
// both constants from Newcomb's expression GMST = 6h 38m 45.836s + 8640184.542s T +
// 0.0929s T^2 (T in Julian centuries of 36525 days from JD 2415020.0, 1900 January 0.5),
// the expression in use before 1984 (Explanatory Supplement to the Astronomical
// Ephemeris, 1961): its value at 0h UT of MJD 40000 (1968 May 24), 0.6712623 turns, and
// its rate, 1 + 8640184.542 / (36525 x 86400) = 1.0027379093 sidereal days a solar day,
// each rounded as written. The IAU 1982 expression (Aoki et al. 1982, A&A 105, 359),
// which ERFA's eraGmst82 evaluates, gives 0.6712629 turns at that instant (0.05 s of
// sidereal time more); the older values stay, as every output's bits depend on them.

/// Sidereal reference epoch, MJD (single precision): 1968 May 24, 0h UT.
inline constexpr float kSiderealEpochMjd = 40000.0f;
/// Mean sidereal days per mean solar day (Newcomb, see above).
inline constexpr double kSiderealRate = 1.002737909;
/// Greenwich mean sidereal time at the reference epoch, turns (Newcomb, see above).
inline constexpr double kSiderealAtEpoch = 0.671262;

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
HorizontalPosition equatorial_to_horizontal(double lst, float latitude, float ra, float dec);

/// The terms of equatorial_to_horizontal that depend on the latitude and the
/// declination alone (dimensionless products of their sines and cosines).
struct HorizonTerms {
  double cos_delta = 0;
  double sin_phi_cos_delta = 0;
  double minus_cos_phi_sin_delta = 0;  ///< cos(latitude) x -sin(declination)
  double cos_phi_cos_delta = 0;
  double sin_phi_sin_delta = 0;
};
/// The terms of a latitude and a declination (radians, single precision).
HorizonTerms horizon_terms(float latitude, float dec);

/// equatorial_to_horizontal with the terms of latitude and declination computed once:
/// for a star at a site the same bits at every instant, without their trigonometry.
HorizontalPosition equatorial_to_horizontal(double lst, float ra, const HorizonTerms& terms);

/// A star as seen from a site: what its position at any instant needs, the terms of
/// latitude and declination computed once.
struct StarAtSite {
  float longitude_deg = 0;  ///< site, degrees east
  float ra_rad = 0;         ///< right ascension, radians
  HorizonTerms terms;       ///< of the site latitude and the declination
};

/// The star at `ra_rad`, `dec_rad` (radians) seen from the site at `longitude_deg`
/// (degrees east) and `latitude_rad` (radians), all single precision as the horizon
/// routines take them.
inline StarAtSite star_at_site(float longitude_deg, float latitude_rad, float ra_rad,
                               float dec_rad) {
  return {longitude_deg, ra_rad, horizon_terms(latitude_rad, dec_rad)};
}

/// Azimuth and altitude of the star at an MJD (days, UT): the local sidereal time of the
/// instant at the site, then equatorial_to_horizontal: the catalogue place as it stands
/// (no precession, nutation or aberration), no refraction.
inline HorizontalPosition position_at(const StarAtSite& star, double mjd) {
  return equatorial_to_horizontal(local_sidereal_time(mjd, star.longitude_deg), star.ra_rad,
                                  star.terms);
}

}  // namespace astro
