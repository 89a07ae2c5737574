#include "astro/meridian.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>

namespace astro {
namespace {

/// Sidereal turns a solar day (the Earth rotation angle's rate, IAU 2000).
constexpr double kEraRateTurnsPerDay = 1.00273781191135448;
/// Newton steps: each takes the hour angle's error from the nutation's and aberration's
/// drift over the step; three leave well under a millisecond.
constexpr int kCulminationSteps = 3;

/// The observed hour angle of the star at jd_utc, radians in (-pi, pi].
double observed_hour_angle(double jd_utc, double longitude_deg, double latitude_deg, double ra_rad,
                           double dec_rad) {
  double azimuth = 0, zenith = 0, hour_angle = 0, dec = 0, ra = 0, eo = 0;
  // ERFA's status says only that the date lies beyond its leap-second table: the last
  // value holds there, as everywhere in astro.
  (void)eraAtco13(ra_rad, dec_rad, 0, 0, 0, 0, jd_utc, 0, 0, longitude_deg * ERFA_DD2R,
                  latitude_deg * ERFA_DD2R, 0, 0, 0, 0, 0, 0, 0, &azimuth, &zenith, &hour_angle,
                  &dec, &ra, &eo);
  return eraAnpm(hour_angle);
}

}  // namespace

double upper_culmination_jd(double jd_utc, double longitude_deg, double latitude_deg, double ra_rad,
                            double dec_rad) {
  double jd = jd_utc;
  for (int step = 0; step < kCulminationSteps; ++step) {
    const double hour_angle = observed_hour_angle(jd, longitude_deg, latitude_deg, ra_rad, dec_rad);
    jd -= hour_angle / ERFA_D2PI / kEraRateTurnsPerDay;
  }
  return jd;
}

}  // namespace astro
