#include "fast/quick_altitude.h"

#include <cmath>
#include <optional>

#include "astro/constants.h"
#include "astro/numeric.h"
#include "astro/turns.h"
#include "fast/slack.h"

namespace eclfore::fast {
namespace {

/// Lowest altitudes above this (degrees) are left to the horizon routines: the cells
/// near the zenith are narrow in the sine.
constexpr float kMostQuickLimitDeg = 89;
/// Most |Y / X| taken (with |X| at least kLeastSouthward).
constexpr double kMostTangent = 1000;
/// The allowances of the proof below on the sine of the altitude, dimensionless: twice
/// the bounds derived there.
constexpr double kSineAllowance = 3e-7;
constexpr double kSinePerTangent = 2.4e-7;

/// Hour angles of more turns than this (either sign) are left to the horizon routines:
/// far beyond those of any instant of the prefilter's range, well within the exact reduction
/// of astro::cos_sin_of_turns.
constexpr double kMostTurns = 1073741824;  // 2^30

/// sin of an altitude in degrees.
double sin_deg(double degrees) { return std::sin(degrees * astro::kPi / 180); }

}  // namespace

AltitudeCells altitude_cells(const ListingRule& rule) {
  AltitudeCells cells;
  if (!(rule.min_altitude_deg <= kMostQuickLimitDeg)) return cells;
  cells.usable = true;
  cells.sin_limit = sin_deg(rule.least_altitude_deg());
  for (int k = 0; k < kQuickTenths; ++k) {
    cells.sin_upper[static_cast<std::size_t>(k)] = sin_deg((k + 0.5) / 10);
  }
  cells.sin_upper[kQuickTenths] = kSentinelSine;
  std::uint16_t k = 0;
  for (int b = 0; b <= kSineBuckets; ++b) {
    const double bucket_low = static_cast<double>(b) / kSineBuckets;
    while (k < kQuickTenths && !(cells.sin_upper[k] > bucket_low)) ++k;
    cells.first_cell[static_cast<std::size_t>(b)] = k;
  }
  return cells;
}

// Why the quick altitude decides as the horizon routines do.
//
// The horizon routines take X = cos H sin(phi) cos(delta) - cos(phi) sin(delta),
// Y = sin H cos(delta), Z = cos H cos(phi) cos(delta) + sin(phi) sin(delta), the azimuth
// A_f: atan(Y / X) in its quadrant rounded to float, off the exact angle A of (X, Y) by
// at most d = 2^-22 + 2e-15 (|A| < 8), then the altitude atan(Z / X') with
// X' = X / cos(A_f), rounded to float radians and then to float degrees. With r =
// hypot(X, Y), X = r cos(A), X' = r / q with q = cos(A_f) / cos(A) = cos(e) - tan(A) sin(e),
// |e| <= d; with T = |Y / X| = |tan A| <= kMostTangent, |ln q| <= 1.001 (T d + d^2), and
// since d atan(e^s w) / ds <= 1/2 the arctangent lies within 0.5005 (T d + d^2) + 1e-15
// of alpha = atan(Z / r), whose sine is Z / |(X, Y, Z)| = Z within 2e-15. The two
// roundings to float add at most 2^-24 rad and 2^-18 degrees (6.0e-8 + 6.7e-8 rad).
// Here Z comes from an hour angle within 1e-9 turns (6.3e-9 rad) of the routines' own
// and a cosine within 3e-10, so it is within 7e-9 of theirs. As |sin a - sin b| <=
// |a - b|, the sine of the routines' altitude lies within 1.4e-7 + 1.2e-7 T of Z here:
// half of kSineAllowance + kSinePerTangent T. The sine grows with the altitude from -90
// to 90 degrees, and a value more than 0.05 degrees from every k / 10 is printed as
// the nearest k / 10: so when Z +- that allowance lies above sin(limit) and between the
// sines of two neighbouring boundaries (k -+ 0.5) / 10, the routines list the star and
// print k / 10; when it lies below sin(limit), they reject it. The sines of the table
// carry a rounding of 1e-16, far inside the factor of two.
std::optional<QuickSine> quick_sine(const astro::HorizonTerms& terms, double hour_angle_turns) {
  if (!(std::fabs(hour_angle_turns) < kMostTurns)) return std::nullopt;
  const astro::CosSin h = astro::cos_sin_of_turns(hour_angle_turns);
  const double x = h.cos * terms.sin_phi_cos_delta + terms.minus_cos_phi_sin_delta;
  const double y = h.sin * terms.cos_delta;
  const double z = h.cos * terms.cos_phi_cos_delta + terms.sin_phi_sin_delta;
  const double ax = std::fabs(x);
  const double ay = std::fabs(y);
  if (!(ax >= kLeastSouthward) || !(ay <= kMostTangent * ax)) return std::nullopt;
  // |Y / X| is at most 1 on about half the sky: no division there.
  return QuickSine{z, kSineAllowance + kSinePerTangent * (ay <= ax ? 1.0 : ay / ax)};
}

QuickAltitude quick_altitude(const AltitudeCells& cells, const astro::HorizonTerms& terms,
                             double hour_angle_turns) {
  if (!cells.usable) return {};
  const std::optional<QuickSine> quick = quick_sine(terms, hour_angle_turns);
  return quick ? quick_altitude_of_sine(cells, quick->sine, quick->allowance) : QuickAltitude{};
}

QuickAltitude::Verdict quick_high_enough(const AltitudeCells& cells, double sine,
                                         double allowance) {
  using Verdict = QuickAltitude::Verdict;
  if (!cells.usable) return Verdict::kUnsure;
  if (sine + allowance < cells.sin_limit) return Verdict::kBelow;
  return sine - allowance > cells.sin_limit ? Verdict::kListed : Verdict::kUnsure;
}

QuickAltitude quick_altitude_of_sine(const AltitudeCells& cells, double sine, double allowance) {
  QuickAltitude out;
  out.verdict = quick_high_enough(cells, sine, allowance);
  if (out.verdict != QuickAltitude::Verdict::kListed) return out;
  out.verdict = QuickAltitude::Verdict::kUnsure;
  const double low = sine - allowance;
  const double high = sine + allowance;
  if (!(high < 1)) return out;
  // The first k whose upper end lies above `low` (below 1): the bucket's first cell or
  // the one after it up to 82 degrees (see kSineBuckets), stepped to without a branch
  // on the answer; nearer the zenith the loop goes on, up to the sentinel at the latest.
  std::size_t k = cells.first_cell[static_cast<std::size_t>(low * kSineBuckets)];
  k += cells.sin_upper[k] > low ? 0 : 1;
  while (!(cells.sin_upper[k] > low)) ++k;
  if (k >= kQuickTenths || !(high < cells.sin_upper[k])) return out;
  out.verdict = QuickAltitude::Verdict::kListed;
  out.tenths = static_cast<int>(k);
  return out;
}

}  // namespace eclfore::fast
