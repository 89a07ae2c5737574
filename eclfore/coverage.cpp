#include "coverage.h"

#include "astro/constants.h"
#include "astro/horizon.h"
#include "formats/minimum_row.h"
#include "formats/star_extension.h"
#include "minima_search.h"

namespace eclfore {

namespace {

using astro::kMinutesPerDay;
/// The share of a window observable throughout, percent.
constexpr double kWholeWindowPct = 100;

/// The rule's own observability, instant by instant.
WindowObservability rule_observability(const StarForRule& s, const SearchWindow& window,
                                       const ListingRule& rule) {
  return {[&s, &window, &rule](double jd) { return observable_at(s, window, rule, jd); }, {}};
}

}  // namespace

EclipseExtent eclipse_extent(const formats::StarRecord& star, MinimumKind kind,
                             double candidate_mjd) {
  EclipseExtent extent;
  extent.cycles = cycle_count(star, kind, candidate_mjd);
  extent.half_days = formats::eclipse_half_days(star, kind == MinimumKind::kSecondary);
  extent.uncertainty_days =
      formats::window_widening_days(star.extension, extent.cycles, star.period);
  return extent;
}

double judged_half_days(const EclipseExtent& extent, double baseline_min) {
  return *extent.half_days + extent.uncertainty_days.value_or(0) + baseline_min / kMinutesPerDay;
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
  return window_share_pct(extent, minimum_jd, baseline_min, rule_observability(s, window, rule),
                          least_pct);
}

std::optional<double> window_share_pct(const EclipseExtent& extent, double minimum_jd,
                                       double baseline_min, const WindowObservability& observable,
                                       double least_pct) {
  if (!extent.half_days) return std::nullopt;
  const double half = judged_half_days(extent, baseline_min);
  const double from = minimum_jd - half;
  const double to = minimum_jd + half;
  if (observable.throughout && observable.throughout(from, to)) return kWholeWindowPct;
  return astro::observable_share_pct(from, minimum_jd, to, astro::kWindowInDays, observable.at,
                                     least_pct);
}

CoverageVerdict enough_coverage(const StarForRule& s, const SearchWindow& window,
                                const ListingRule& rule, MinimumKind kind, double candidate_mjd,
                                double minimum_jd) {
  return enough_coverage(s, rule, kind, candidate_mjd, minimum_jd,
                         rule_observability(s, window, rule));
}

CoverageVerdict enough_coverage(const StarForRule& s, const ListingRule& rule, MinimumKind kind,
                                double candidate_mjd, double minimum_jd,
                                const WindowObservability& observable) {
  if (!rule.coverage) return {};
  const EclipseExtent extent = eclipse_extent(*s.star, kind, candidate_mjd);
  const std::optional<double> share = window_share_pct(
      extent, minimum_jd, rule.coverage->baseline_min, observable, rule.coverage->least_pct);
  return {!share || *share >= rule.coverage->least_pct, share};
}

}  // namespace eclfore
