#pragma once
/// The astronomy of a row of the minima's table (and so of its calendar event) from the
/// star's line in star.dat and the instant of one of its minima: the eclipse's ends,
/// the star's altitudes there and at the minimum, the Sun, the Moon and the meridian.
/// The forecast's table and a night plan's export take their rows from here.

#include <optional>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/ephemeris.h"
#include "astro/horizon.h"
#include "astro/sites.h"
#include "astro/time_scales.h"
#include "formats/catalogue.h"
#include "formats/minimum_table.h"

namespace formats {

/// The forecast's conversion of a catalogue position to radians: the double pi, the
/// reciprocal of the units per half turn first.
inline constexpr astro::RadianRule kForecastRadians{static_cast<astro::Ext>(astro::kPi),
                                                    astro::RadianOrder::kReciprocalThenPi};

/// The star's catalogue place seen from `site`, as the forecast's listing rule takes it.
astro::StarAtSite star_seen_from(const StarRecord& star, const astro::ObservingSite& site);

/// A month's forecast window, MJD (days, UT): from 21:00 on the 1st on the clock
/// `offset_days` east of UT (the one of the night of the 1st) for 32 days, its passes
/// from the day before.
struct MonthWindow {
  double start_mjd = 0;
  double end_mjd = 0;
  double search_from_mjd = 0;
};
MonthWindow month_window(int year, int month, astro::Ext offset_days);

/// The tables of a row's Sun, Moon, meridian and apparent places over a month's
/// window (from its passes' start to its end) at `site`, whatever a run's limits. The
/// rows of a minimum read the same values from the same month's tables in every program.
astro::ObservingConditions row_conditions(const MonthWindow& window,
                                          const astro::ObservingSite& site);

/// Where a row's star is seen from and with which tables.
struct RowSky {
  /// The Sun, the Moon and the meridian (row_conditions) and the star's place in them.
  const astro::ObservingConditions* tables = nullptr;
  const astro::StarPlace* place = nullptr;
  /// The star's catalogue place at the site (star_seen_from): its altitudes without
  /// `of_date`.
  astro::StarAtSite seen;
  /// With --of-date, the tables and place of the altitudes of date; null: the
  /// catalogue place's altitudes.
  const astro::ObservingConditions* of_date = nullptr;
  const astro::StarPlace* of_date_place = nullptr;
  astro::ObservingSite site;
  /// The time scale of the elements of a line that names none.
  astro::EpochScale epochs = astro::EpochScale::kJd;
};

/// Half of the eclipse of `star` of the kind `secondary`, first contact to minimum, days
/// (D x P / 200, the secondary's duration for a secondary, the primary's when blank);
/// none when the line gives no duration.
std::optional<double> eclipse_half_days(const StarRecord& star, bool secondary);

/// The instant of a minimum, UTC: the Julian Date and the MJD the search found (the MJD
/// may hold bits that the Julian Date's sum rounded away).
struct RowInstant {
  double jd = 0;
  double mjd = 0;
};

/// The row of the minimum of the kind `secondary` and cycle count `cycles` (n, or n plus
/// the secondary phase) of `star` at `minimum`: every column but the night, its clock
/// and the coverage, which the caller's rule gives.
MinimumTableRow star_minimum_row(const StarRecord& star, bool secondary, double cycles,
                                 const RowInstant& minimum, const RowSky& sky);

/// How far an event spans either side of a minimum without a duration, days (30 minutes).
inline constexpr double kEventHalfWithoutDurationDays = 30.0 / astro::kMinutesPerDay;

/// The span of a minimum's calendar event, Julian Dates (UTC).
struct EventSpan {
  double start_jd = 0;
  double end_jd = 0;
};
/// `judged_half_days` either side of the minimum at `minimum_jd`, or
/// kEventHalfWithoutDurationDays without it.
EventSpan event_span(double minimum_jd, std::optional<double> judged_half_days);

}  // namespace formats
