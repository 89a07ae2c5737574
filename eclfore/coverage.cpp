#include "coverage.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "astro/constants.h"
#include "astro/horizon.h"
#include "formats/minimum_row.h"
#include "formats/star_extension.h"
#include "minima_search.h"

namespace eclfore {

namespace {

constexpr double kPercent = 100;
using astro::kMinutesPerDay;

/// Equal steps of at most kCoverageStepDays from `from` to `to` (both included) appended
/// to `instants`, `from` left out when `skip_first`.
void append_steps(double from, double to, bool skip_first, std::vector<double>& instants) {
  const double steps = std::ceil((to - from) / kCoverageStepDays);
  const int count = steps >= 1 ? static_cast<int>(steps) : 1;
  for (int i = skip_first ? 1 : 0; i < count; ++i) {
    instants.push_back(from + (to - from) * i / count);
  }
  instants.push_back(to);
}

/// The observable share, percent, of a window `total_days` long of which `hidden_days`
/// are not observable: never below 0 for the sums' roundings.
double share_pct(double hidden_days, double total_days) {
  return std::max(0.0, kPercent - kPercent * hidden_days / total_days);
}

}  // namespace

EclipseExtent eclipse_extent(const formats::StarRecord& star, MinimumKind kind,
                             double candidate_mjd) {
  EclipseExtent extent;
  extent.cycles = cycle_count(star, kind, candidate_mjd);
  extent.half_days = formats::eclipse_half_days(star, kind == MinimumKind::kSecondary);
  extent.uncertainty_days = formats::minimum_uncertainty_days(star.extension, extent.cycles);
  return extent;
}

double judged_half_days(const EclipseExtent& extent, double baseline_min) {
  return *extent.half_days + extent.uncertainty_days.value_or(0) + baseline_min / kMinutesPerDay;
}

double observable_share_pct(double from_jd, double middle_jd, double to_jd,
                            const std::function<bool(double jd)>& observable, double least_pct) {
  if (!(from_jd < to_jd)) return observable(middle_jd) ? kPercent : 0;
  std::vector<double> instants;
  append_steps(from_jd, middle_jd, false, instants);
  append_steps(middle_jd, to_jd, true, instants);
  // The hidden time is summed, so that a window observable throughout gives 100 exactly.
  double hidden_days = 0;
  bool was_observable = observable(instants.front());
  for (std::size_t i = 1; i < instants.size(); ++i) {
    const double before = instants[i - 1];
    const double after = instants[i];
    const bool is_observable = observable(after);
    if (is_observable == was_observable) {
      if (!is_observable) {
        hidden_days += after - before;
        const double most_pct = share_pct(hidden_days, to_jd - from_jd);
        if (most_pct < least_pct) return most_pct;
      }
      continue;
    }
    double low = before;
    double high = after;
    while (high - low > kCoverageResolutionDays) {
      const double mid = low + (high - low) / 2;
      if (observable(mid) == was_observable) {
        low = mid;
      } else {
        high = mid;
      }
    }
    const double change = low + (high - low) / 2;
    hidden_days += was_observable ? after - change : change - before;
    was_observable = is_observable;
    // The share only falls from here on: below the least asked, it stays below.
    const double most_pct = share_pct(hidden_days, to_jd - from_jd);
    if (most_pct < least_pct) return most_pct;
  }
  return share_pct(hidden_days, to_jd - from_jd);
}

bool observable_at(const StarForRule& s, const SearchWindow& window, const ListingRule& rule,
                   double jd) {
  if (rule.sun_night) {
    if (!rule.sky->sun_ok(jd)) return false;
  } else if (in_day_hours(rule_night_date(rule, window, jd).hour)) {
    return false;
  }
  const double mjd = jd - astro::kMjdZeroJd;
  std::optional<astro::HorizontalPosition> seen;
  if (!rule.of_date || rule.horizon != nullptr) seen = astro::position_at(s.seen, mjd);
  const float altitude_deg =
      rule.of_date ? rule.sky->altitude_of_date(jd, s.place) : seen->altitude;
  if (!high_enough(rule, altitude_deg)) return false;
  if (rule.horizon != nullptr && !above_skyline(rule, *seen, altitude_deg)) return false;
  return !rule.moon || rule.sky->moon_ok(jd, s.place);
}

std::optional<double> window_share_pct(const StarForRule& s, const SearchWindow& window,
                                       const ListingRule& rule, const EclipseExtent& extent,
                                       double minimum_jd, double baseline_min, double least_pct) {
  return window_share_pct(
      extent, minimum_jd, baseline_min,
      [&](double jd) { return observable_at(s, window, rule, jd); }, least_pct);
}

std::optional<double> window_share_pct(const EclipseExtent& extent, double minimum_jd,
                                       double baseline_min,
                                       const std::function<bool(double jd)>& observable,
                                       double least_pct) {
  if (!extent.half_days) return std::nullopt;
  const double half = judged_half_days(extent, baseline_min);
  return observable_share_pct(minimum_jd - half, minimum_jd, minimum_jd + half, observable,
                              least_pct);
}

CoverageVerdict enough_coverage(const StarForRule& s, const SearchWindow& window,
                                const ListingRule& rule, MinimumKind kind, double candidate_mjd,
                                double minimum_jd) {
  return enough_coverage(s, rule, kind, candidate_mjd, minimum_jd,
                         [&](double jd) { return observable_at(s, window, rule, jd); });
}

CoverageVerdict enough_coverage(const StarForRule& s, const ListingRule& rule, MinimumKind kind,
                                double candidate_mjd, double minimum_jd,
                                const std::function<bool(double jd)>& observable) {
  if (!rule.coverage) return {};
  const EclipseExtent extent = eclipse_extent(*s.star, kind, candidate_mjd);
  const std::optional<double> share = window_share_pct(
      extent, minimum_jd, rule.coverage->baseline_min, observable, rule.coverage->least_pct);
  return {!share || *share >= rule.coverage->least_pct, share};
}

}  // namespace eclfore
