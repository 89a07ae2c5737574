#include "fast/quick_observable.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "astro/constants.h"
#include "astro/dates.h"
#include "coverage.h"
#include "fast/quick_altitude.h"

namespace eclfore::fast {

astro::LocalDate whole_night_date(const SearchWindow& window, const ListingRule& rule, double mjd) {
  // In this range the Julian Date and the JST day's sum are exact (see jst_day_sum).
  const double j = jst_day_sum(mjd);
  const double day_number = static_cast<double>(static_cast<std::int32_t>(j));
  return astro::local_date_in_day_whole(window_day(window, day_number), j - day_number,
                                        rule.morning_end_hour);
}

bool in_jst_day_hours(double mjd) {
  // The night date's hour is trunc(24 x fraction), exactly (local_date_in_day_whole),
  // and 24 x fraction is exact here too: a whole number of 2^-31 days times 24.
  const double j = jst_day_sum(mjd);
  const double hours = astro::kHoursPerDay * (j - std::floor(j));
  return hours >= kNightEndHour && hours < kNightStartHour;
}

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

}  // namespace eclfore::fast
