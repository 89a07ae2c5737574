#include "candidate_filter.h"

#include <algorithm>
#include <cmath>

#include "astro/angles.h"

namespace eclfore {
namespace {

constexpr double kTwoPi = 2 * astro::kPi;
/// The altitude bound holds with the star at least this far from due east or west: its
/// southward horizontal component X at least this (dimensionless).
constexpr double kLeastSouthward = 1e-3;
/// How far below the lowest altitude the bound must leave a star, degrees.
constexpr double kAltitudeSlackDeg = 0.01;
/// Allowance for the roundings of sin(altitude) and X in the full test and of the
/// thresholds here, dimensionless: far above the few units of 1e-16 they come to.
constexpr double kComponentSlack = 1e-9;
/// Relative allowance for the roundings of the thresholds' cosines.
constexpr double kCosineSlack = 1e-12;
/// Terms below this make a threshold too ill-conditioned to compute: no bound then.
constexpr double kLeastTerm = 1e-6;
/// Sites and right ascensions beyond these are not looked at (the rounding bounds below
/// assume them): degrees, radians.
constexpr double kMostLongitudeDeg = 720;
constexpr double kMostRaRad = 8;

/// Hour angle (turns from the meridian, 0 to 0.5) below which cos(hour angle) is at least
/// `cosine`: acos, with the cosine clamped to [-1, 1].
double turns_of_cosine(double cosine) { return std::acos(std::clamp(cosine, -1.0, 1.0)) / kTwoPi; }

}  // namespace

// Why certainly_rejected rejects only what the full test rejects.
//
// Dates. The sums of the Julian Date and the JST day have the same bits as in
// astro::jst_day_position (see there), the JST hour is day time exactly when the fraction
// is in [0.25, 0.75), and the night date comes from the same day table as
// night_date(): these steps are exact, not bounds.
//
// Hour angle. In the full test H = lst - ra with lst = 2pi x frac(t), t = ((mjd - 40000) x
// rate + 0.671262) + longitude / 360 rounded to double. With |mjd - 40000| < 2^20 and
// |longitude| <= 720, |t| < 2^22, so t is off the exact value by at most 2^-32 turns;
// the product 2pi x frac(t) and the difference with ra (|ra| <= 8) add at most 3e-15 rad
// (4e-16 turns), the double pi's difference from pi 3e-16 rad. Here `turns` (the same
// sum with ra / 2pi taken into turns_at_epoch) is off by at most 2^-33 + 2^-32 + 2^-32
// turns (the difference, the product and the sum, each under 2^22). Together: 8.2e-10
// turns, a twelfth of kHourAngleMarginTurns, which every threshold below carries. So a
// candidate that passes a threshold here passes it in the full test, where cos H is then
// (within the C library's 1 ulp) beyond the threshold's cosine.
//
// Altitude. The full test takes X = cos H sin(phi) cos(delta) - cos(phi) sin(delta),
// Y = sin H cos(delta), Z = cos H cos(phi) cos(delta) + sin(phi) sin(delta) (doubles, each
// within a few 1e-16 of those products of its rounded factors; X^2 + Y^2 + Z^2 = 1 within
// 1e-14), the azimuth A = atan(Y / X) in its quadrant, rounded to float: |error| <= 2^-22
// + 1e-15 = d, since |A| < 8. The altitude is atan(Z / X') with X' = X / cos(A_float).
// Let r = hypot(X, Y), so X = r cos(A_exact). cos(A_float) / cos(A_exact) = cos(d) -
// tan(A) sin(d): with |X| >= kLeastSouthward, |tan A| = |Y / X| <= 1000 and this ratio q
// lies within 2.5e-4 of 1, so X' = r / q > 0 and Z / X' = q Z / r. The arctangent
// moves by at most |ln q| / 2 (d atan(e^s) / ds <= 1/2) plus its roundings: 1.3e-4 rad
// = 0.0072 degrees above atan(Z / r) = asin(Z / hypot(Z, r)). If Z < sin(L - 0.01 degrees)
// (L the lowest altitude, at least 0 and at most 90) the altitude before rounding is
// below L - 0.0028 degrees, and its two roundings to float (3.4e-6 and 3.8e-6 degrees)
// keep it below L: below the lowest altitude, or below 0 and so below the horizon.
// That Z < sin(L - 0.01 degrees) and |X| >= kLeastSouthward hold is decided from cos H:
// Z grows with cos H (cos(phi) cos(delta) > 0), so it holds for cos H below one value,
// an hour angle beyond below_limit_beyond; |X| is small only for cos H in one interval,
// the band of hour angles band_from to band_to. Both carry kComponentSlack on the
// components, kCosineSlack on the cosines and kHourAngleMarginTurns on the turns.
CandidateFilter candidate_filter(const astro::StarAtSite& seen, const SearchWindow& window,
                                 const ForecastRequest& request) {
  CandidateFilter filter;
  filter.window = &window;
  filter.year = request.year;
  filter.month = request.month;
  const double longitude = seen.longitude_deg;
  const double ra = seen.ra_rad;
  const astro::HorizonTerms& t = seen.terms;
  const double lowest = request.min_altitude_deg;
  // No bound where its assumptions fail: only the date steps then.
  if (!(std::fabs(longitude) <= kMostLongitudeDeg) || !(std::fabs(ra) <= kMostRaRad) ||
      std::isnan(lowest) || !(t.cos_phi_cos_delta > kLeastTerm) ||
      !std::isfinite(t.sin_phi_sin_delta) || !std::isfinite(t.sin_phi_cos_delta) ||
      !std::isfinite(t.cos_phi_minus_sin_delta)) {
    return filter;
  }
  filter.turns_at_epoch = kFilterSiderealAtEpoch + longitude / 360 - ra / kTwoPi;

  // The hour angle beyond which Z < sin(limit - slack).
  const double limit_deg = std::min(std::max(lowest, 0.0), 90.0) - kAltitudeSlackDeg;
  const double z_cut = std::sin(limit_deg * astro::kPi / 180) - kComponentSlack;
  double cos_below = (z_cut - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
  cos_below -= kCosineSlack * (1 + std::fabs(cos_below));
  filter.below_limit_beyond = turns_of_cosine(cos_below) + kHourAngleMarginTurns;

  // The hour angles where |X| < kLeastSouthward may hold: X = cos H x sin_phi_cos_delta
  // + cos_phi_minus_sin_delta.
  const double x_cut = kLeastSouthward + kComponentSlack;
  const double slope = t.sin_phi_cos_delta;
  const double offset = t.cos_phi_minus_sin_delta;
  if (std::fabs(slope) > kLeastTerm) {
    double lo = (-x_cut - offset) / slope;
    double hi = (x_cut - offset) / slope;
    if (slope < 0) std::swap(lo, hi);
    lo -= kCosineSlack * (1 + std::fabs(lo));
    hi += kCosineSlack * (1 + std::fabs(hi));
    if (hi >= -1 && lo <= 1) {
      // cos H in [lo, hi]: the hour angles from acos(hi) to acos(lo).
      filter.band_from = turns_of_cosine(hi) - kHourAngleMarginTurns;
      filter.band_to = turns_of_cosine(lo) + kHourAngleMarginTurns;
    }
  } else if (!(std::fabs(offset) >= x_cut + kLeastTerm)) {
    // X stays near 0 at every hour angle: no altitude bound.
    filter.below_limit_beyond = 1;
  }
  return filter;
}

}  // namespace eclfore
