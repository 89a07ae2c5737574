#pragma once
/// The cheap first look at a candidate minimum. Most candidates fall in the day, in a
/// night of another month or with the star well below the lowest altitude; this says
/// so in a few double operations, where the full accept test (test_candidate) takes
/// the date conversion, the extended-precision horizon transform and five calls of the
/// C library's trigonometry. It only ever rejects a candidate that the full test
/// rejects too (the proof is in candidate_filter.cpp): every other candidate goes on to
/// that test, so the forecast is the same with or without it.

#include <cmath>

#include "astro/constants.h"
#include "astro/horizon.h"
#include "astro/numeric.h"
#include "minima_search.h"

namespace eclfore {

/// The first look at the candidates of one star at one site for one month.
struct CandidateFilter {
  const SearchWindow* window = nullptr;
  int year = 0;
  int month = 0;
  /// The star's hour angle at MJD 40000, turns (see hour_angle_turns).
  double turns_at_epoch = 0;
  /// Hour angles (turns from the meridian, 0 to 0.5) beyond which the star certainly
  /// stands below the lowest altitude or the horizon: none when 1.
  double below_limit_beyond = 1;
  /// Hour angles (turns) from band_from to band_to, near due east or west, where that
  /// bound does not hold: no band when band_from > band_to.
  double band_from = 1;
  double band_to = -1;
};

/// Instants (MJD, days, UT) from which and before which the steps of
/// certainly_rejected are proven (1870-02-03 to 4729-10-13); candidates outside go to
/// the full test unlooked at.
inline constexpr double kFilterFromMjd = 4096;
inline constexpr double kFilterBeforeMjd = 1048576;
/// Sidereal days per solar day and the sidereal time at MJD 40000 at Greenwich (turns),
/// the constants of astro::local_sidereal_time.
inline constexpr double kFilterSiderealRate = 1.002737909;
inline constexpr double kFilterSiderealAtEpoch = 0.671262;
/// What an hour angle of certainly_rejected may differ from the full test's, turns:
/// more than ten times the largest difference (see candidate_filter.cpp).
inline constexpr double kHourAngleMarginTurns = 1e-8;

/// The first look at the candidates of `seen` for `request` in `window` (which must
/// outlive the filter).
CandidateFilter candidate_filter(const astro::StarAtSite& seen, const SearchWindow& window,
                                 const ForecastRequest& request);

/// True when the full accept test certainly rejects the candidate at `minimum_mjd`
/// (MJD, days, UT): its JST hour is day time (6 to 17), its night date lies outside the
/// asked month, or the star stands below the lowest altitude or the horizon. False
/// says nothing.
inline bool certainly_rejected(const CandidateFilter& filter, double minimum_mjd) {
  if (!(minimum_mjd >= kFilterFromMjd && minimum_mjd < kFilterBeforeMjd)) return false;
  const SearchWindow& window = *filter.window;
  // The JST day and its fraction, the same bits as astro::jst_day_position of the Julian
  // Date: in this range both sums are exact in extended precision, so their rounding
  // to double is the one of a double addition (the second sum is exact in double).
  const double j = (minimum_mjd + astro::kMjdZeroJd) + 0.875;
  const double day_number = static_cast<double>(astro::trunc_to_int(j));
  const double fraction = j - day_number;  // exact
  // fraction x 24 is exact in extended precision, so its truncation, the JST hour, is 6
  // to 17 exactly when the fraction lies in [0.25, 0.75).
  if (fraction >= 0.25 && fraction < 0.75) return true;
  const double offset = day_number - window.first_day_number;
  if (offset >= 0 && offset < static_cast<double>(window.days.size())) {
    // Hours 0 to 5 (fraction below 0.25) belong to the night of the day before.
    const astro::JstDay& day = window.days[static_cast<std::size_t>(offset)];
    const astro::CalendarDate& date = fraction < 0.25 ? day.previous : day.date;
    if (date.year != filter.year || date.month != filter.month) return true;
  }
  // Hour angle in turns, then its distance from the meridian (0 to 0.5 turns).
  const double turns = (minimum_mjd - 40000.0) * kFilterSiderealRate + filter.turns_at_epoch;
  double from_meridian = std::fabs(turns - static_cast<double>(astro::trunc_to_int(turns)));
  if (from_meridian > 0.5) from_meridian = 1 - from_meridian;
  return from_meridian > filter.below_limit_beyond &&
         (from_meridian > filter.band_to || from_meridian < filter.band_from);
}

}  // namespace eclfore
