#include "formats/minimum_row.h"

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/horizon_profile.h"
#include "formats/star_extension.h"

namespace formats {
namespace {

using astro::kHoursPerDay;
using astro::kMinutesPerDay;
constexpr double kPercent = 100;
constexpr double kDegreesPerRadian = 180 / astro::kPi;

/// Local time that starts a month's window on the 1st, hours.
constexpr float kWindowStartHour = 21.0f;
/// Length of the window after that start, days.
constexpr astro::Ext kWindowDays = 32;
/// The passes start from the cycle before this many days ahead of the start.
constexpr astro::Ext kLeadDays = 1;

/// The star's altitude at jd (Julian Date, UTC) from the row's positions, degrees.
double altitude_at(const RowSky& sky, double jd) {
  if (sky.of_date != nullptr) return sky.of_date->altitude_of_date(jd, *sky.of_date_place);
  return astro::position_at(sky.seen, jd - astro::kMjdZeroJd).altitude;
}

}  // namespace

astro::StarAtSite star_seen_from(const StarRecord& star, const astro::ObservingSite& site) {
  return astro::star_at_site(
      site.longitude_deg,
      astro::to_radians(site.latitude_deg, astro::kDegreesPerHalfTurn, kForecastRadians),
      astro::to_radians(star.ra_hours, astro::kHoursPerHalfTurn, kForecastRadians),
      astro::to_radians(star.dec_degrees, astro::kDegreesPerHalfTurn, kForecastRadians));
}

MonthWindow month_window(int year, int month, astro::Ext offset_days) {
  using astro::Ext;
  MonthWindow w;
  w.start_mjd = astro::calendar_to_mjd(static_cast<float>(year), static_cast<float>(month), 1.0f,
                                       kWindowStartHour, offset_days);
  w.end_mjd = static_cast<double>(static_cast<Ext>(w.start_mjd) + kWindowDays);
  w.search_from_mjd = static_cast<double>(static_cast<Ext>(w.start_mjd) - kLeadDays);
  return w;
}

astro::ObservingConditions row_conditions(const MonthWindow& window,
                                          const astro::ObservingSite& site) {
  astro::SkyOptions options;
  // Any limits: they only make the tables hold the Sun, the Moon and apparent places.
  options.sun_below_deg = 0;
  options.moon_distance_deg = 0;
  options.of_date = true;
  return astro::ObservingConditions(options, window.search_from_mjd + astro::kMjdZeroJd,
                                    window.end_mjd + astro::kMjdZeroJd, site.longitude_deg,
                                    site.latitude_deg);
}

std::optional<double> eclipse_half_days(const StarRecord& star, bool secondary) {
  const StarExtension& ext = star.extension;
  std::optional<double> duration_pct = ext.eclipse_duration_pct;
  if (secondary && ext.secondary_duration_pct) duration_pct = ext.secondary_duration_pct;
  if (!duration_pct) return std::nullopt;
  return *duration_pct * star.period / (2 * kPercent);
}

MinimumTableRow star_minimum_row(const StarRecord& star, bool secondary, double cycles,
                                 const RowInstant& minimum, const RowSky& sky) {
  const IcrsPosition icrs = icrs_position(star);
  const double jd = minimum.jd;
  MinimumTableRow row;
  row.name = star.name;
  row.secondary = secondary;
  const double phase =
      secondary ? star.extension.secondary_phase.value_or(kDefaultSecondaryPhase) : 0.0;
  row.cycle = cycle_text(cycles - phase, phase);
  row.minimum_jd = jd;
  if (const auto uncertainty_days = minimum_uncertainty_days(star.extension, cycles)) {
    row.uncertainty_min = *uncertainty_days * kMinutesPerDay;
  }
  if (const auto half_days = eclipse_half_days(star, secondary)) {
    row.start_jd = jd - *half_days;
    row.end_jd = jd + *half_days;
    row.duration_h = 2 * *half_days * kHoursPerDay;
    row.alt_start_deg = altitude_at(sky, *row.start_jd);
    row.alt_end_deg = altitude_at(sky, *row.end_jd);
    row.sun_alt_start_deg = sky.tables->sun_altitude_deg(*row.start_jd);
    row.sun_alt_end_deg = sky.tables->sun_altitude_deg(*row.end_jd);
  }
  if (sky.of_date != nullptr) {
    row.alt_minimum_deg = altitude_at(sky, jd);
    // The azimuth of date in the single precision of the catalogue place's.
    row.az_minimum_deg = astro::azimuth_from_north_deg(
        static_cast<float>(astro::InstantSky(jd, sky.site.longitude_deg, sky.site.latitude_deg)
                               .observed(icrs.ra_rad, icrs.dec_rad)
                               .azimuth_deg));
  } else {
    const astro::HorizontalPosition at_minimum = astro::position_at(sky.seen, minimum.mjd);
    row.alt_minimum_deg = at_minimum.altitude;
    row.az_minimum_deg = astro::azimuth_from_north_deg(at_minimum.azimuth);
  }
  row.meridian_jd = sky.tables->upper_culmination_jd(jd, *sky.place);
  row.moon_alt_deg = sky.tables->moon_altitude_deg(jd);
  row.moon_distance_deg = sky.tables->moon_star_distance_deg(jd, *sky.place);
  row.moon_illumination_pct = kPercent * sky.tables->moon_illuminated_fraction(jd);
  row.type = star.var_type;
  row.mag_max = star.mag_max;
  row.mag_min = star.mag_min;
  row.ra_deg = icrs.ra_rad * kDegreesPerRadian;
  row.dec_deg = icrs.dec_rad * kDegreesPerRadian;
  row.time_scale = time_scale_word(star.extension.time_scale.value_or(sky.epochs));
  row.catalogue = star.catalogue;
  return row;
}

EventSpan event_span(double minimum_jd, std::optional<double> judged_half_days) {
  const double half = judged_half_days.value_or(kEventHalfWithoutDurationDays);
  return {minimum_jd - half, minimum_jd + half};
}

}  // namespace formats
