#pragma once
/// What a listed minimum is: the one rule of the forecast. A candidate minimum of a star's
/// elements (the epoch plus whole periods, or half a period more) is listed when
///
///  1. its instant is the elements' own, or with --epochs=hjd|bjd the geocentric instant
///     of the sky tables, which must cover it;
///  2. the night date of that instant (JST or the --zone clock of the night, the offset
///     in force at 18:00 of its evening; the hours before the morning's end count on
///     from 24 on the evening's date) lies in the asked month;
///  3. it falls in the night: outside the day hours 6:00 to 17:59 of that clock, or with
///     --sun-below with the Sun below that altitude;
///  4. the star then stands at or above the horizon and the lowest altitude: the horizon
///     routines' altitude, or with --of-date the altitude of its apparent place; with
///     --horizon also at or above the observer's skyline at the horizon routines'
///     azimuth;
///  5. with --moon-distance, the Moon is below the horizon or far enough from the star;
///  6. with --coverage, at least that share of its eclipse window is observable
///     (coverage.h): each instant of it passes steps 3 to 5. A star without a duration
///     is judged at the minimum alone.
///
/// listed_minimum applies the rule to one candidate. The shortcuts of fast/ decide parts
/// of it earlier and take their constants and their verdicts from here.

#include <algorithm>
#include <optional>

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/ephemeris.h"
#include "astro/horizon.h"
#include "astro/horizon_profile.h"
#include "astro/precision.h"
#include "forecast_minimum.h"
#include "formats/catalogue.h"
#include "formats/coverage_options.h"
#include "search_window.h"
#include "sites.h"

namespace eclfore {

/// What the user asked for: the dialogue's answers and the options for today's sky.
struct ForecastRequest {
  int year = 0;
  int month = 0;               ///< 1 to 12; any other month lists nothing
  float min_altitude_deg = 0;  ///< lowest altitude of a listed minimum, degrees
  ObservingSite site = kInitialSite;
  /// --sun-below, --moon-distance, --epochs, --of-date; none by default, and then the
  /// forecast never calls the ephemerides.
  astro::SkyOptions sky_options;
  /// --horizon: the observer's skyline; none by default.
  std::optional<astro::HorizonProfile> horizon;
  /// --coverage and --baseline; none by default.
  std::optional<formats::CoverageOptions> coverage;
};

/// The fixed night of step 3: from 18:00 JST to the morning's end at 6:00 (the hours
/// after midnight on the evening's date, 24 to 29).
inline constexpr int kNightStartHour = 18;
inline constexpr int kNightEndHour = astro::kFixedNightMorningEndHour;

/// True for the day hours of a night date (6 to 17 JST), in which the fixed night lists
/// nothing.
constexpr bool in_day_hours(int hour) { return hour >= kNightEndHour && hour < kNightStartHour; }

/// The rule for one request (listing_rule).
struct ListingRule {
  int year = 0;  ///< the asked month of step 2
  int month = 0;
  float min_altitude_deg = 0;  ///< the lowest altitude of step 4, degrees
  ObservingSite site = kInitialSite;
  /// The tables of the options for today's sky, built for the window and the site (null
  /// when no option is given): every step that asks for them has them.
  const astro::ObservingConditions* sky = nullptr;
  /// What the options change, each false or fixed without them. The shortcuts leave room
  /// for each.
  bool moved_instant = false;  ///< --epochs=hjd|bjd: step 1 takes the geocentric instant
  /// Most that step 1 may move an instant, days (sky->epoch_shift_bound_days()).
  double most_shift_days = 0;
  bool sun_night = false;  ///< --sun-below: step 3 asks the Sun, not the day hours
  /// The hour of step 2 before which a JST day's hours belong to the date before.
  int morning_end_hour = astro::kFixedNightMorningEndHour;
  bool of_date = false;  ///< --of-date: step 4 takes the altitude of date
  bool moon = false;     ///< --moon-distance: step 5 asks the Moon
  /// --horizon: the skyline of step 4 (null without it; the request's, which must
  /// outlive the rule).
  const astro::HorizonProfile* horizon = nullptr;
  /// --zone: the clock of step 2 when it is not JST (astro::CivilClock::is_jst), each
  /// night on the offset in force at 18:00 of its evening; null for JST, the clock of
  /// the window's day table and of the shortcuts.
  const astro::CivilClock* clock = nullptr;
  /// --coverage and --baseline: step 6 (none without them).
  std::optional<formats::CoverageOptions> coverage;

  /// Step 2: a night date in the asked month.
  bool in_asked_month(int night_year, int night_month) const {
    return night_year == year && night_month == month;
  }
  /// The least altitude of step 4 (degrees): the lowest altitude, or the horizon when it
  /// lies lower. NaN for a lowest altitude that is not a number.
  double least_altitude_deg() const { return std::max(static_cast<double>(min_altitude_deg), 0.0); }
};

/// The rule of `request` with the sky tables `sky` built for its options (null when it
/// has none) on `clock`: a clock other than JST is kept by reference and must outlive
/// the rule.
ListingRule listing_rule(const ForecastRequest& request, const astro::ObservingConditions* sky,
                         const astro::CivilClock& clock = {});

/// Step 2's night date of an instant (jd: days, UT) on the rule's clock, with the
/// rule's morning end: night_date of the window for JST.
inline astro::LocalDate rule_night_date(const ListingRule& rule, const SearchWindow& window,
                                        double jd) {
  if (rule.clock != nullptr) {
    return rule.clock->night_date(jd, rule.morning_end_hour, [&](double day_number) {
      return window_day(window, day_number);
    });
  }
  return night_date(window, jd, rule.morning_end_hour);
}

/// What the rule needs of a star, computed once per star: its terms at the site and,
/// with the options for today's sky, its place for the ephemerides.
struct StarForRule {
  const formats::StarRecord* star = nullptr;
  astro::StarAtSite seen;
  astro::StarPlace place;
};
StarForRule star_for_rule(const formats::StarRecord& star, const ListingRule& rule);

/// The instant of a minimum, days (UT).
struct MinimumInstant {
  double mjd = 0;  ///< MJD
  double jd = 0;   ///< the same instant as a Julian Date
};

/// Step 1: the instant of the candidate at `candidate_mjd` (MJD, days; in the epochs'
/// scale with --epochs). Nothing when the sky tables do not cover a moved one: such a
/// candidate lies further from the month's nights than any light time can move it.
inline std::optional<MinimumInstant> minimum_instant(const ListingRule& rule,
                                                     const astro::StarPlace& place,
                                                     double candidate_mjd) {
  using astro::Ext;
  const double jd =
      static_cast<double>(static_cast<Ext>(candidate_mjd) + static_cast<Ext>(astro::kMjdZeroJd));
  if (!rule.moved_instant) return MinimumInstant{candidate_mjd, jd};
  if (!rule.sky->covers(jd)) return std::nullopt;
  const double geocentric_jd = rule.sky->geocentric_jd(jd, place);
  return MinimumInstant{
      static_cast<double>(static_cast<Ext>(geocentric_jd) - static_cast<Ext>(astro::kMjdZeroJd)),
      geocentric_jd};
}

/// Steps 2 and 3 on the night date of the instant (night_date with the rule's morning
/// end), the Sun aside: in the asked month and, for the fixed night, not in the day hours.
inline bool in_listed_night(const ListingRule& rule, const astro::LocalDate& night) {
  return rule.in_asked_month(night.year, night.month) &&
         (rule.sun_night || !in_day_hours(night.hour));
}

/// Step 4 on the star's altitude (degrees): at or above the horizon and the lowest
/// altitude. NaN is neither.
inline bool high_enough(const ListingRule& rule, float altitude_deg) {
  return altitude_deg >= 0 && altitude_deg >= rule.min_altitude_deg;
}

/// Step 4's skyline: true without --horizon, else when the star at the horizon
/// routines' azimuth `seen` (its altitude replaced by `altitude_deg`, the one step 4
/// tests) stands at or above the skyline.
inline bool above_skyline(const ListingRule& rule, const astro::HorizontalPosition& seen,
                          float altitude_deg) {
  if (rule.horizon == nullptr) return true;
  astro::HorizontalPosition tested = seen;
  tested.altitude = altitude_deg;
  return astro::above_horizon(*rule.horizon, tested);
}

/// The rule on the candidate of `kind` at `candidate_mjd` (MJD, days; in the epochs' scale
/// with --epochs) of the star `s` (star_for_rule): the minimum it lists, or nothing.
std::optional<ForecastMinimum> listed_minimum(const StarForRule& s, const SearchWindow& window,
                                              const ListingRule& rule, MinimumKind kind,
                                              double candidate_mjd);

}  // namespace eclfore
