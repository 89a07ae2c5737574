#include "fast/quick_observable.h"

#include <cmath>
#include <optional>

#include "astro/constants.h"
#include "coverage.h"
#include "fast/quick_altitude.h"

namespace eclfore::fast {

bool quick_observable_at(const StarForRule& s, const Prefilter& prefilter, const RunTables& tables,
                         const SearchWindow& window, const ListingRule& rule, double jd) {
  // The Julian Dates of the range lie from 2^21 to 2^22 days, as does the MJD's zero:
  // the difference is exact, and so the MJD observable_at takes.
  const double mjd = jd - astro::kMjdZeroJd;
  const bool shortcuts_hold = rule.clock == nullptr && rule.horizon == nullptr &&
                              (rule.of_date || prefilter.hour_angle_known) &&
                              mjd >= kPrefilterFromMjd && mjd < kPrefilterBeforeMjd;
  if (!shortcuts_hold) return observable_at(s, window, rule, jd);
  if (rule.sun_night ? !rule.sky->sun_ok(jd) : in_jst_day_hours(mjd)) {
    return false;
  }
  // Most instants of a window lie well above or below the lowest altitude: the
  // prefilter's hour angles decide them without a sine (not those of date: its bound
  // holds for the month's nights only).
  if (!rule.of_date) {
    if (certainly_above(prefilter, mjd)) return !rule.moon || rule.sky->moon_ok(jd, s.place);
    if (certainly_below(prefilter, mjd)) return false;
  }
  std::optional<QuickSine> quick;
  if (rule.of_date) {
    const double sine = rule.sky->quick_sine_of_date(jd, s.place);
    if (!std::isnan(sine)) quick = QuickSine{sine, kSineOfDateAllowance};
  } else {
    quick = quick_sine(s.seen.terms, hour_angle_turns(prefilter, mjd));
  }
  const QuickAltitude::Verdict verdict =
      quick ? quick_high_enough(tables.altitude_cells, quick->sine, quick->allowance)
            : QuickAltitude::Verdict::kUnsure;
  if (verdict == QuickAltitude::Verdict::kBelow) return false;
  if (verdict == QuickAltitude::Verdict::kUnsure) return observable_at(s, window, rule, jd);
  return !rule.moon || rule.sky->moon_ok(jd, s.place);
}

namespace {

/// Most days between the ends of a stretch that observable_throughout judges: less
/// than the 12 day hours, so that two ends in the fixed night are ends of one night.
/// The JST day sums of the instants between lie between the ends' (each rounding
/// keeps the order), less than half a day apart: no day hours among them.
constexpr double kMostNightStretchDays = 11.0 / astro::kHoursPerDay;

}  // namespace

bool observable_throughout(const Prefilter& prefilter, const ListingRule& rule, double from_jd,
                           double to_jd) {
  if (rule.clock != nullptr || rule.horizon != nullptr || rule.of_date || rule.sun_night ||
      rule.moon || !prefilter.hour_angle_known) {
    return false;
  }
  const double from = from_jd - astro::kMjdZeroJd;
  const double to = to_jd - astro::kMjdZeroJd;
  if (!(from >= kPrefilterFromMjd && to < kPrefilterBeforeMjd && from <= to &&
        to - from < kMostNightStretchDays)) {
    return false;
  }
  if (in_jst_day_hours(from) || in_jst_day_hours(to)) return false;
  // The hour angles of the stretch, turns from the meridian: the rule's at each
  // instant lies within a few 1e-9 turns of the line from `first` to `last`, inside
  // the margin taken off each bound of certainly_above here.
  const double first = turns_past_meridian(prefilter, from);
  const double last = first + (to - from) * astro::kSiderealRate;
  const double within = prefilter.above_limit_within - kHourAngleMarginTurns;
  if (!(first > -within && last < within)) return false;
  const double band_from = prefilter.band_from - kHourAngleMarginTurns;
  const double band_to = prefilter.band_to + kHourAngleMarginTurns;
  auto meets = [&](double low, double high) { return low <= high && first <= high && last >= low; };
  // The band near due east (negative hour angles) and due west.
  return !meets(-band_to, -band_from) && !meets(band_from, band_to);
}

}  // namespace eclfore::fast
