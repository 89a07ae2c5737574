#include "listing_rule.h"

#include "coverage.h"
#include "formats/minimum_row.h"
#include "formats/sky_options.h"

namespace eclfore {

ListingRule listing_rule(const ForecastRequest& request, const astro::ObservingConditions* sky,
                         const astro::CivilClock& clock) {
  ListingRule rule;
  if (!clock.is_jst()) rule.clock = &clock;
  rule.year = request.year;
  rule.month = request.month;
  rule.min_altitude_deg = request.min_altitude_deg;
  rule.site = request.site;
  if (request.horizon) rule.horizon = &*request.horizon;
  rule.coverage = request.coverage;
  if (sky == nullptr) return rule;
  // The options as the tables were built for them.
  const astro::SkyOptions& options = sky->options();
  rule.sky = sky;
  rule.moved_instant = options.epochs != astro::EpochScale::kJd;
  rule.most_shift_days = sky->epoch_shift_bound_days();
  rule.sun_night = options.sun_below_deg.has_value();
  rule.morning_end_hour =
      rule.sun_night ? astro::kSunNightMorningEndHour : astro::kFixedNightMorningEndHour;
  rule.of_date = options.of_date;
  rule.moon = options.moon_distance_deg.has_value();
  return rule;
}

StarForRule star_for_rule(const formats::StarRecord& star, const ListingRule& rule) {
  StarForRule s{&star, formats::star_seen_from(star, rule.site), {}};
  if (rule.sky != nullptr) {
    const formats::IcrsPosition icrs = formats::icrs_position(star);
    s.place = rule.sky->star(icrs.ra_rad, icrs.dec_rad);
  }
  return s;
}

std::optional<ForecastMinimum> listed_minimum(const StarForRule& s, const SearchWindow& window,
                                              const ListingRule& rule, MinimumKind kind,
                                              double candidate_mjd) {
  const std::optional<MinimumInstant> instant = minimum_instant(rule, s.place, candidate_mjd);
  if (!instant) return std::nullopt;
  const astro::LocalDate night = rule_night_date(rule, window, instant->jd);
  if (!in_listed_night(rule, night)) return std::nullopt;
  if (rule.sun_night && !rule.sky->sun_ok(instant->jd)) return std::nullopt;
  // The horizon routines' position: with --of-date only its azimuth, for the skyline.
  std::optional<astro::HorizontalPosition> seen;
  if (!rule.of_date || rule.horizon != nullptr) seen = astro::position_at(s.seen, instant->mjd);
  const float altitude_deg =
      rule.of_date ? rule.sky->altitude_of_date(instant->jd, s.place) : seen->altitude;
  if (!high_enough(rule, altitude_deg)) return std::nullopt;
  if (rule.horizon != nullptr && !above_skyline(rule, *seen, altitude_deg)) return std::nullopt;
  if (rule.moon && !rule.sky->moon_ok(instant->jd, s.place)) return std::nullopt;
  const CoverageVerdict coverage =
      enough_coverage(s, window, rule, kind, candidate_mjd, instant->jd);
  if (!coverage.enough) return std::nullopt;
  return ForecastMinimum{s.star, kind,         instant->mjd,  instant->jd,
                         night,  altitude_deg, candidate_mjd, coverage.share_pct};
}

}  // namespace eclfore
