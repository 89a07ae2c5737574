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
