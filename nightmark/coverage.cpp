#include "coverage.h"

#include <algorithm>
#include <cmath>

#include "astro/ephemeris.h"
#include "astro/numeric.h"
#include "chart_samples.h"
#include "formats/answer_options.h"

namespace nightmark {
namespace {

constexpr double kMostPercent = 100;

/// Instants from `from` to `to` in equal steps of at most kCoverageStepHours, `to` left
/// out (the next stretch starts there).
void add_steps(std::vector<double>& instants, double from, double to) {
  const int steps = std::max(1, astro::trunc_to_int(std::ceil((to - from) / kCoverageStepHours)));
  for (int i = 0; i < steps; ++i) instants.push_back(from + (to - from) * i / steps);
}

}  // namespace

std::optional<double> coverage_option(const io::Options& options) {
  const auto text = options.value(kCoverageOption.name);
  if (!text) return std::nullopt;
  return formats::decimal_option(kCoverageOption, *text, 0, static_cast<float>(kMostPercent));
}

std::vector<double> coverage_instants(double minimum_hours, const EclipseWindow& window) {
  if (!window.from_duration) return {minimum_hours};
  const double half = window.half_hours + window.uncertainty_hours.value_or(0);
  std::vector<double> instants;
  add_steps(instants, minimum_hours - half, minimum_hours);
  add_steps(instants, minimum_hours, minimum_hours + half);
  instants.push_back(minimum_hours + half);
  return instants;
}

double observable_percent(const NightDate& date, float start_hours, const PlanSite& site,
                          const ListedMinimum& minimum, const EclipseWindow& window,
                          OfDateSky* of_date, const astro::HorizonProfile* skyline) {
  auto observable = [&](double hours) {
    const auto t = static_cast<float>(hours);
    if (t < start_hours) return false;
    const astro::HorizontalPosition seen = star_position(date, t, site, minimum, of_date);
    // Here the limit reached counts as observable.
    if (!(seen.altitude >= kLowestAltitudeDeg)) return false;
    if (skyline != nullptr && !astro::above_horizon(*skyline, seen)) return false;
    return astro::sun_altitude_deg(night_jd(date, t), site.degrees.longitude_deg,
                                   site.degrees.latitude_deg) < astro::kCivilTwilightDeg;
  };
  const std::vector<double> instants = coverage_instants(minimum.time_hours, window);
  std::vector<bool> seen;
  seen.reserve(instants.size());
  for (const double t : instants) seen.push_back(observable(t));
  if (instants.size() == 1) return seen[0] ? kMostPercent : 0;
  double observed = 0;
  for (std::size_t i = 1; i < instants.size(); ++i) {
    observed += (instants[i] - instants[i - 1]) * ((seen[i - 1] ? 0.5 : 0) + (seen[i] ? 0.5 : 0));
  }
  return observed / (instants.back() - instants.front()) * kMostPercent;
}

Verdict judge_coverage(const NightDate& date, float start_hours, bool south_only,
                       const PlanSite& site, const ListedMinimum& minimum,
                       const EclipseWindow& window, double percent, OfDateSky* of_date,
                       const astro::HorizonProfile* skyline) {
  if (!std::isfinite(minimum.time_hours) || !std::isfinite(minimum.ra_hours) ||
      !std::isfinite(minimum.dec_degrees)) {
    return Verdict::kNotANumber;
  }
  if (!lead_long_enough(start_hours, minimum.time_hours)) return Verdict::kTooSoon;
  if (!(observable_percent(date, start_hours, site, minimum, window, of_date, skyline) >=
        percent)) {
    return Verdict::kShortCoverage;
  }
  if (!south_only) return Verdict::kKept;
  return in_south_sector(star_position(date, minimum.time_hours, site, minimum, of_date))
             ? Verdict::kKept
             : Verdict::kOutsideSouth;
}

}  // namespace nightmark
