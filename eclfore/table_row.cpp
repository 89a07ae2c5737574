#include "table_row.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/ephemeris.h"
#include "astro/horizon.h"
#include "astro/meridian.h"
#include "coverage.h"
#include "export_options.h"
#include "formats/star_extension.h"
#include "minima_search.h"

namespace eclfore {
namespace {

constexpr double kMinutesPerDay = 1440;
constexpr double kHoursPerDay = 24;
constexpr double kPercent = 100;
constexpr double kDegreesPerRadian = 180 / astro::kPi;

/// The star's altitude of step 4 at jd (Julian Date, UTC), degrees.
double altitude_at(const StarForRule& s, const ListingRule& rule, double jd) {
  if (rule.of_date) return rule.sky->altitude_of_date(jd, s.place);
  return astro::position_at(s.seen, jd - astro::kMjdZeroJd).altitude;
}

}  // namespace

astro::ObservingConditions row_sky(const SearchWindow& window, const ObservingSite& site) {
  astro::SkyOptions options;
  // Any limits: they only make the tables hold the Sun, the Moon and apparent places.
  options.sun_below_deg = 0;
  options.moon_distance_deg = 0;
  options.of_date = true;
  return window_sky(options, window, site);
}

formats::MinimumTableRow table_row(const ForecastMinimum& minimum, const StarForRule& s,
                                   const SearchWindow& window, const ListingRule& rule,
                                   const astro::CivilClock& clock,
                                   const astro::ObservingConditions& sky,
                                   const astro::StarPlace& place) {
  const formats::StarRecord& star = *s.star;
  const double lon = rule.site.longitude_deg;
  const double lat = rule.site.latitude_deg;
  const formats::IcrsPosition icrs = formats::icrs_position(star);
  const double jd = minimum.minimum_jd;
  const EclipseExtent extent = eclipse_extent(star, minimum.kind, minimum.candidate_mjd);

  formats::MinimumTableRow row;
  row.name = star.name;
  row.secondary = minimum.kind == MinimumKind::kSecondary;
  const double phase =
      minimum.kind == MinimumKind::kPrimary
          ? 0.0
          : star.extension.secondary_phase.value_or(formats::kDefaultSecondaryPhase);
  row.cycle = formats::cycle_text(extent.cycles - phase, phase);
  row.night = {minimum.night.year, minimum.night.month, minimum.night.day};
  row.offset_seconds = clock.night(row.night).offset_seconds;
  row.minimum_jd = jd;
  if (extent.uncertainty_days) row.uncertainty_min = *extent.uncertainty_days * kMinutesPerDay;
  if (extent.half_days) {
    row.start_jd = jd - *extent.half_days;
    row.end_jd = jd + *extent.half_days;
    row.duration_h = 2 * *extent.half_days * kHoursPerDay;
    const double baseline_min = rule.coverage ? rule.coverage->baseline_min : 0;
    // The share step 6 found when it judged the window, else the same count now.
    const std::optional<double> share =
        minimum.coverage_pct ? minimum.coverage_pct
                             : window_share_pct(s, window, rule, extent, jd, baseline_min);
    row.coverage_pct = std::floor(*share);
    row.alt_start_deg = altitude_at(s, rule, *row.start_jd);
    row.alt_end_deg = altitude_at(s, rule, *row.end_jd);
    row.sun_alt_start_deg = sky.sun_altitude_deg(*row.start_jd);
    row.sun_alt_end_deg = sky.sun_altitude_deg(*row.end_jd);
  }
  row.alt_minimum_deg = altitude_at(s, rule, jd);
  if (rule.of_date) {
    row.az_minimum_deg = astro::azimuth_from_north_deg(
        astro::InstantSky(jd, lon, lat).observed(icrs.ra_rad, icrs.dec_rad).azimuth_deg);
  } else {
    row.az_minimum_deg =
        astro::azimuth_from_north_deg(astro::position_at(s.seen, minimum.minimum_mjd).azimuth);
  }
  row.meridian_jd = sky.upper_culmination_jd(jd, place);
  row.moon_alt_deg = sky.moon_altitude_deg(jd);
  row.moon_distance_deg = sky.moon_star_distance_deg(jd, place);
  row.moon_illumination_pct = kPercent * sky.moon_illuminated_fraction(jd);
  row.type = star.var_type;
  row.mag_max = star.mag_max;
  row.mag_min = star.mag_min;
  row.ra_deg = icrs.ra_rad * kDegreesPerRadian;
  row.dec_deg = icrs.dec_rad * kDegreesPerRadian;
  const astro::EpochScale scale =
      rule.sky != nullptr ? rule.sky->options().epochs : astro::EpochScale::kJd;
  row.time_scale = formats::time_scale_word(star.extension.time_scale.value_or(scale));
  row.catalogue = star.catalogue;
  return row;
}

EventWindow event_window(const ForecastMinimum& minimum, const ListingRule& rule) {
  const EclipseExtent extent = eclipse_extent(*minimum.star, minimum.kind, minimum.candidate_mjd);
  const double half =
      extent.half_days ? judged_half_days(extent, rule.coverage ? rule.coverage->baseline_min : 0)
                       : kEventHalfWithoutDurationDays;
  return {minimum.minimum_jd - half, minimum.minimum_jd + half};
}

}  // namespace eclfore
