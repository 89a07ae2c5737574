#pragma once
/// The search of a month's minima: the window, the checks on a star's elements, and
/// the primary and secondary passes that write the ForecastLines.

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "formats/catalogue.h"
#include "astro/dates.h"
#include "astro/ephemeris.h"
#include "forecast_minimum.h"
#include "astro/horizon.h"
#include "io/output_file.h"
#include "sites.h"

namespace eclfore {

struct RunLooks;

/// What the dialogue fixed for the forecast.
struct ForecastRequest {
  int year = 0;
  int month = 0;               ///< 1 to 12; any other month lists nothing
  float min_altitude_deg = 0;  ///< lowest altitude of a listed minimum, degrees
  ObservingSite site = kInitialSite;
  /// The tables of the options for today's sky (--sun-below, --moon-distance,
  /// --epochs, --of-date), built for this window and site; null when none is given,
  /// and then the search is the fixed night's and never calls the ephemerides.
  const astro::ObservingConditions* sky = nullptr;
  /// The first looks' tables for this request (run_looks), built once for a run; when
  /// null each star builds its own. The minima are the same either way.
  const RunLooks* looks = nullptr;
};

/// JST days kept in a window's day table: the window's 33 days and a few around it.
inline constexpr int kWindowTableDays = 40;

/// The search window, MJD (days, UT).
struct SearchWindow {
  double start_mjd = 0;        ///< 21:00 JST on the 1st of the month
  double end_mjd = 0;          ///< start_mjd + 32: no candidate at or after it is tested
  double search_from_mjd = 0;  ///< start_mjd - 1: the passes start from the cycle before it
  /// The JST days (astro::jst_day) from day number first_day_number on: almost every
  /// candidate of every star falls in one of them.
  double first_day_number = 0;
  std::array<astro::JstDay, kWindowTableDays> days{};
};

/// Most candidate minima one star may have in the window (per pass).
inline constexpr long double kMaxWindowCandidates = 1000000;

/// The window of the month: 21:00 JST on the last day of the month before to
/// 21:00 JST 32 days after the 1st. No range checking of year or month.
SearchWindow search_window(int year, int month);

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

/// Why the passes cannot run for a star with usable elements (positive finite period,
/// finite epoch): the cycle count does not fit 32 bits, or the window would hold
/// more than kMaxWindowCandidates minima. Nothing when they can.
std::optional<std::string> cycle_problem(const formats::StarRecord& star, const SearchWindow& window);

/// The star as the horizon routines take it at the site: the forecast's conversions to
/// radians (the double pi), the terms of latitude and declination computed once.
astro::StarAtSite star_seen_from(const formats::StarRecord& star, const ObservingSite& site);

/// What the full accept test gives for an accepted candidate.
struct AcceptedCandidate {
  double minimum_jd = 0;   ///< Julian Date of the minimum (days, UT)
  astro::LocalDate night;  ///< its JST night date
  float altitude_deg = 0;  ///< the star's altitude, degrees
};

/// The full accept test of the candidate minimum at `minimum_mjd` (MJD, days, UT)
/// without the options for today's sky: the night date (jd_to_local_date) in the asked
/// month, its hour not 6 to 17, the star (`seen`, star_seen_from) at or above the
/// horizon and the lowest altitude. Nothing when it is rejected.
std::optional<AcceptedCandidate> test_candidate(const astro::StarAtSite& seen,
                                                const SearchWindow& window,
                                                const ForecastRequest& request, double minimum_mjd);

/// The first looks' tables for `request` in `window`: the date slots for what the
/// options for today's sky allow, the altitude cells for its lowest altitude.
RunLooks run_looks(const SearchWindow& window, const ForecastRequest& request);

/// Receives each accepted minimum, in the order of the search.
using MinimumConsumer = std::function<void(const ForecastMinimum&)>;

/// Runs the primary pass, then the secondary pass (phase 0.5), over the window and
/// hands `consumer` each minimum that falls in a night (18:00 to 05:59 JST) of the
/// asked month with the star at or above the lowest altitude: within a pass in time
/// order. With request.sky the options for today's sky decide instead: the instant
/// from the epochs' time scale, the night from the Sun's altitude (night hours 12 to
/// 35), the altitude of date, the Moon's distance. Expects a selected star without a cycle_problem;
/// for any other input it still ends, after a bounded number of candidates. Returns the number of
/// minima handed on.
long search_minima(const formats::StarRecord& star, const SearchWindow& window,
                   const ForecastRequest& request, const MinimumConsumer& consumer);

/// search_minima writing a ForecastLine to `out` for each accepted minimum.
/// Returns the number of lines written.
long forecast_star(const formats::StarRecord& star, const SearchWindow& window,
                   const ForecastRequest& request, io::OutputFile& out);

/// The number of candidate minima that forecast_star tests for the star (both passes),
/// whatever is listed; for measuring the search.
long count_candidates(const formats::StarRecord& star, const SearchWindow& window);

}  // namespace eclfore
