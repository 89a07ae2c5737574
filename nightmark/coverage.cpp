#include "coverage.h"

#include <cmath>

#include "astro/ephemeris.h"
#include "astro/window_share.h"
#include "chart_samples.h"
#include "formats/answer_options.h"

namespace nightmark {
namespace {

constexpr double kMostPercent = 100;

}  // namespace

std::optional<double> coverage_option(const io::Options& options) {
  const auto text = options.value(kCoverageOption.name);
  if (!text) return std::nullopt;
  return formats::decimal_option(kCoverageOption, *text, 0, static_cast<float>(kMostPercent));
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
  const double half = window.judged_half_hours();
  const double minimum_hours = minimum.time_hours;
  return astro::observable_share_pct(minimum_hours - half, minimum_hours, minimum_hours + half,
                                     astro::kWindowInHours, observable);
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
