#include "fast/forecast_star.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/horizon.h"
#include "coverage.h"
#include "fast/line_in_place.h"
#include "fast/quick_observable.h"
#include "forecast_line.h"
#include "io/output_file.h"
#include "minima_search.h"

namespace eclfore::fast {
static_assert(kSineOfDateAllowance >
                  2 * (astro::ObservingConditions::kQuickSineOfDateError + kFloatAltitudeSine),
              "the quick sine of date's verdicts need its error and the float's rounding");

RunTables run_tables(const SearchWindow& window, const ListingRule& rule) {
  return RunTables{night_slots(window, rule), altitude_cells(rule)};
}

namespace {

/// The prefilter of a star: with --of-date for the altitude of date, else for the
/// horizon routines' altitude.
Prefilter prefilter_of_star(const StarForRule& s, const RunTables& tables,
                            const ListingRule& rule) {
  if (rule.of_date) return star_prefilter_of_date(s.place, tables.night_slots, rule);
  return star_prefilter(s.seen, tables.night_slots, rule);
}

}  // namespace

long forecast_star(const formats::StarRecord& star, const SearchWindow& window,
                   const ListingRule& rule, const RunTables& tables, io::OutputFile& out,
                   const MinimumConsumer* also_listed) {
  // The star's fixed line texts, built for its first line: a star that is never listed
  // needs none.
  std::optional<StarLineText> built_text;
  auto text = [&]() -> const StarLineText& {
    if (!built_text) built_text = star_line_text(star);
    return *built_text;
  };
  const StarForRule s = star_for_rule(star, rule);
  const Prefilter prefilter = prefilter_of_star(s, tables, rule);
  auto keep = [&](const double* instants, int count, unsigned char* kept) {
    return keep_candidates(prefilter, instants, count, kept);
  };
  long listed = 0;
  auto write_listed = [&](MinimumKind kind, double candidate_mjd) {
    const std::optional<ForecastMinimum> minimum =
        listed_minimum(s, window, rule, kind, candidate_mjd);
    if (!minimum) return;
    write_line_in_place(out, text(), *minimum);
    if (also_listed != nullptr) (*also_listed)(*minimum);
    ++listed;
  };
  if ((!prefilter.hour_angle_known && !rule.of_date) || rule.horizon != nullptr) {
    // No quick altitude without the hour angle, nor with a skyline, which needs the
    // azimuth: the rule after the prefilter (whose altitude bound, on the lowest altitude
    // and the horizon alone, rejects only what the skyline, never lower, rejects too).
    for_each_candidate(star, window, keep, write_listed);
    return listed;
  }
  // The rule, each step with the same answer in fewer operations: the night date from
  // the exact JST day in whole numbers, the altitude field from the quick altitude where
  // it is certain (the rule's own altitude elsewhere).
  const astro::ObservingConditions* sky = rule.sky;
  const AltitudeCells& cells = tables.altitude_cells;
  // The instants of a minimum's eclipse window, observable as observable_at says.
  const WindowObservability observable{
      [&](double jd) { return quick_observable_at(s, prefilter, tables, window, rule, jd); },
      [&](double from_jd, double to_jd) {
        return observable_throughout(prefilter, rule, from_jd, to_jd);
      }};
  for_each_candidate(star, window, keep, [&](MinimumKind kind, double candidate_mjd) {
    double minimum_mjd = candidate_mjd;
    if (rule.moved_instant) {
      const std::optional<MinimumInstant> instant = minimum_instant(rule, s.place, candidate_mjd);
      if (!instant) return;
      minimum_mjd = instant->mjd;
    }
    if (!(minimum_mjd >= kPrefilterFromMjd && minimum_mjd < kPrefilterBeforeMjd)) {
      write_listed(kind, candidate_mjd);
      return;
    }
    const double minimum_jd = minimum_mjd + astro::kMjdZeroJd;
    const astro::LocalDate night = whole_night_date(window, rule, minimum_mjd);
    if (!in_listed_night(rule, night)) return;
    if (rule.sun_night && !sky->sun_ok(minimum_jd)) return;
    ForecastMinimum minimum{&star, kind, minimum_mjd, minimum_jd, night, 0.0f, candidate_mjd};
    std::optional<int> quick_tenths;
    std::optional<astro::SiteVectors> site;  // shared by the altitude of date and the Moon
    if (rule.of_date) {
      // The quick sine of date decides wherever it lies clear of a printed tenth's
      // boundary and of the lowest altitude; elsewhere the altitude of date itself.
      const double sine = sky->quick_sine_of_date(minimum_jd, s.place);
      const QuickAltitude quick = std::isnan(sine)
                                      ? QuickAltitude{}
                                      : quick_altitude_of_sine(cells, sine, kSineOfDateAllowance);
      if (quick.verdict == QuickAltitude::Verdict::kBelow) return;
      if (quick.verdict == QuickAltitude::Verdict::kListed) {
        quick_tenths = quick.tenths;
      } else {
        site = sky->site_at_utc(minimum_jd);
        minimum.altitude_deg = sky->altitude_of_date(minimum_jd, s.place, *site);
        if (!high_enough(rule, minimum.altitude_deg)) return;
      }
    } else {
      const QuickAltitude quick =
          quick_altitude(cells, s.seen.terms, hour_angle_turns(prefilter, minimum_mjd));
      if (quick.verdict == QuickAltitude::Verdict::kBelow) return;
      if (quick.verdict == QuickAltitude::Verdict::kListed) {
        quick_tenths = quick.tenths;
      } else {
        minimum.altitude_deg = astro::position_at(s.seen, minimum_mjd).altitude;
        if (!high_enough(rule, minimum.altitude_deg)) return;
      }
    }
    if (rule.moon &&
        !(site ? sky->moon_ok(minimum_jd, s.place, *site) : sky->moon_ok(minimum_jd, s.place))) {
      return;
    }
    // Step 6 last, on a minimum that the steps before have accepted (listed_minimum's
    // order): its verdict is the rule's own.
    if (rule.coverage) {
      const CoverageVerdict coverage =
          enough_coverage(s, rule, kind, candidate_mjd, minimum_jd, observable);
      if (!coverage.enough) return;
      minimum.coverage_pct = coverage.share_pct;
    } else if (also_listed != nullptr) {
      // The table's and the calendar's share, counted here with the shortcuts.
      minimum.coverage_pct =
          window_share_pct(eclipse_extent(star, kind, candidate_mjd), minimum_jd, 0, observable);
    }
    if (quick_tenths) {
      write_line_in_place(out, text(), minimum, *quick_tenths);
    } else {
      write_line_in_place(out, text(), minimum);
    }
    if (also_listed != nullptr) (*also_listed)(minimum);
    ++listed;
  });
  return listed;
}

}  // namespace eclfore::fast
