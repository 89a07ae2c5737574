#pragma once
/// The month's search window: its instants, the JST days it spans, the night date of an
/// instant and the sky tables of the options for today's sky over it.

#include <array>

#include "astro/civil_clock.h"
#include "astro/dates.h"
#include "astro/ephemeris.h"
#include "sites.h"

namespace eclfore {

/// JST days kept in a window's day table: the window's 33 days and a few around it.
inline constexpr int kWindowTableDays = 40;

/// The search window, MJD (days, UT).
struct SearchWindow {
  double start_mjd = 0;        ///< 21:00 on the 1st of the month, JST or the zone's clock
  double end_mjd = 0;          ///< start_mjd + 32: no candidate at or after it is tested
  double search_from_mjd = 0;  ///< start_mjd - 1: the passes start from the cycle before it
  /// The JST days (astro::jst_day) from day number first_day_number on: almost every
  /// candidate of every star falls in one of them.
  double first_day_number = 0;
  std::array<astro::JstDay, kWindowTableDays> days{};
};

/// The window of the month: 21:00 JST on the last day of the month before to
/// 21:00 JST 32 days after the 1st; on another clock 21:00 on the clock of the night of
/// the 1st (astro::CivilClock::night). No range checking of year or month.
SearchWindow search_window(int year, int month, const astro::CivilClock& clock = {});

/// astro::jst_day of a whole day number, from the window's day table when the day is in
/// it.
astro::JstDay window_day(const SearchWindow& window, double day_number);

/// The JST night date of a Julian Date (days, UT): jd_to_local_date(jd), with the
/// calendar part taken from the window's day table when the day is in it.
astro::LocalDate night_date(const SearchWindow& window, double jd);
/// The same with the early hours before `morning_end_hour` (astro::kSunNightMorningEndHour
/// with --sun-below) belonging to the date before.
astro::LocalDate night_date(const SearchWindow& window, double jd, int morning_end_hour);

/// The sky tables eclfore needs for a window at a site and the options: instants from
/// the window's start to its end (Julian Dates, UTC), site in degrees.
astro::ObservingConditions window_sky(const astro::SkyOptions& options, const SearchWindow& window,
                                      const ObservingSite& site);

}  // namespace eclfore
