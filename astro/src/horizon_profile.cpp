#include "astro/horizon_profile.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace astro {
namespace {

constexpr double kFullTurnDeg = 360.0;
constexpr double kHalfTurnDeg = 180.0;

/// An azimuth in degrees taken into [0, 360).
double within_turn(double azimuth_deg) {
  double a = std::fmod(azimuth_deg, kFullTurnDeg);
  if (a < 0) a += kFullTurnDeg;
  // A tiny negative remainder plus 360 rounds to 360 itself.
  return a >= kFullTurnDeg ? 0.0 : a;
}

}  // namespace

HorizonProfile horizon_profile(std::vector<HorizonPoint> points) {
  for (HorizonPoint& p : points) p.azimuth_deg = within_turn(p.azimuth_deg);
  std::stable_sort(points.begin(), points.end(), [](const HorizonPoint& a, const HorizonPoint& b) {
    return a.azimuth_deg < b.azimuth_deg;
  });
  return {std::move(points)};
}

double horizon_altitude_deg(const HorizonProfile& profile, double azimuth_deg) {
  const std::vector<HorizonPoint>& points = profile.points;
  if (points.empty() || !std::isfinite(azimuth_deg))
    return std::numeric_limits<double>::quiet_NaN();
  const double azimuth = within_turn(azimuth_deg);
  // The last point at or before the azimuth and the first after it, round past north
  // when the azimuth lies before the first point or after the last.
  const auto after =
      std::upper_bound(points.begin(), points.end(), azimuth,
                       [](double a, const HorizonPoint& p) { return a < p.azimuth_deg; });
  HorizonPoint low = after == points.begin() ? points.back() : *(after - 1);
  HorizonPoint high = after == points.end() ? points.front() : *after;
  if (after == points.begin()) low.azimuth_deg -= kFullTurnDeg;
  if (after == points.end()) high.azimuth_deg += kFullTurnDeg;
  // low <= azimuth < high, so the gap is never 0 (360 for a single point).
  const double f = (azimuth - low.azimuth_deg) / (high.azimuth_deg - low.azimuth_deg);
  return low.altitude_deg + f * (high.altitude_deg - low.altitude_deg);
}

double azimuth_from_north_deg(float azimuth_from_south_deg) {
  return within_turn(static_cast<double>(azimuth_from_south_deg) + kHalfTurnDeg);
}

bool above_horizon(const HorizonProfile& profile, const HorizontalPosition& position) {
  const double skyline = horizon_altitude_deg(profile, azimuth_from_north_deg(position.azimuth));
  return static_cast<double>(position.altitude) >= skyline;
}

}  // namespace astro
