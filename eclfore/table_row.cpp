#include "table_row.h"

#include <cmath>

#include "coverage.h"
#include "formats/minimum_row.h"

namespace eclfore {

astro::ObservingConditions row_sky(const SearchWindow& window, const ObservingSite& site) {
  return formats::row_conditions({window.start_mjd, window.end_mjd, window.search_from_mjd}, site);
}

formats::MinimumTableRow table_row(const ForecastMinimum& minimum, const StarForRule& s,
                                   const SearchWindow& window, const ListingRule& rule,
                                   const astro::CivilClock& clock,
                                   const astro::ObservingConditions& sky,
                                   const astro::StarPlace& place) {
  const formats::StarRecord& star = *s.star;
  const double jd = minimum.minimum_jd;
  const EclipseExtent extent = eclipse_extent(star, minimum.kind, minimum.candidate_mjd);
  formats::RowSky row_sky;
  row_sky.tables = &sky;
  row_sky.place = &place;
  row_sky.seen = s.seen;
  if (rule.of_date) {
    row_sky.of_date = rule.sky;
    row_sky.of_date_place = &s.place;
  }
  row_sky.site = rule.site;
  if (rule.sky != nullptr) row_sky.epochs = rule.sky->options().epochs;
  formats::MinimumTableRow row =
      formats::star_minimum_row(star, minimum.kind == MinimumKind::kSecondary, extent.cycles,
                                {jd, minimum.minimum_mjd}, row_sky);
  row.night = {minimum.night.year, minimum.night.month, minimum.night.day};
  row.offset_seconds = clock.night(row.night).offset_seconds;
  if (extent.half_days) {
    const double baseline_min = rule.coverage ? rule.coverage->baseline_min : 0;
    // The share step 6 found when it judged the window, else the same count now.
    const std::optional<double> share =
        minimum.coverage_pct ? minimum.coverage_pct
                             : window_share_pct(s, window, rule, extent, jd, baseline_min);
    row.coverage_pct = std::floor(*share);
  }
  return row;
}

formats::EventSpan event_window(const ForecastMinimum& minimum, const ListingRule& rule) {
  const EclipseExtent extent = eclipse_extent(*minimum.star, minimum.kind, minimum.candidate_mjd);
  std::optional<double> half;
  if (extent.half_days) {
    half = judged_half_days(extent, rule.coverage ? rule.coverage->baseline_min : 0);
  }
  return formats::event_span(minimum.minimum_jd, half);
}

}  // namespace eclfore
