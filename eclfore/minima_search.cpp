#include "minima_search.h"

#include <cstdint>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/horizon.h"
#include "astro/numeric.h"
#include "astro/sky_options.h"
#include "candidate_filter.h"
#include "forecast_line.h"

namespace eclfore {
namespace {

using astro::Ext;

/// Local time that starts the window on the 1st, JST hours.
constexpr float kWindowStartHourJst = 21.0f;
/// Length of the window after that start, days.
constexpr Ext kWindowDays = 32;
/// The passes start from the cycle before this many days ahead of the start.
constexpr Ext kLeadDays = 1;
/// Cycles past the window's end up to which a pass may run (never reached with
/// sound arithmetic: the secondary pass needs at most 2).
constexpr Ext kCycleMarginCycles = 3;

/// Days of the day table before the day of search_from_mjd: the first candidate of a
/// pass lies up to one and a half periods before search_from_mjd, so the first
/// candidates of periods up to two days fall in the table; the rest take the full
/// conversion.
constexpr double kTableDaysBefore = 4;

/// The day hours (JST) in which no minimum is listed.
constexpr int kFirstDayHour = 6;
constexpr int kLastDayHour = 17;

/// MJD (days, UT) of the minimum `cycle` periods after `epoch_mjd`.
double minimum_at(double epoch_mjd, std::int32_t cycle, double period) {
  return static_cast<double>(static_cast<Ext>(epoch_mjd) +
                             static_cast<Ext>(cycle) * static_cast<Ext>(period));
}

}  // namespace

SearchWindow search_window(int year, int month) {
  SearchWindow w;
  w.start_mjd = astro::calendar_to_mjd(static_cast<float>(year), static_cast<float>(month), 1.0f,
                                       kWindowStartHourJst);
  w.end_mjd = static_cast<double>(static_cast<Ext>(w.start_mjd) + kWindowDays);
  w.search_from_mjd = static_cast<double>(static_cast<Ext>(w.start_mjd) - kLeadDays);
  const double search_from_jd = static_cast<double>(static_cast<Ext>(w.search_from_mjd) +
                                                    static_cast<Ext>(astro::kMjdZeroJd));
  // Whole numbers of well under 2^53: the sums below are exact.
  w.first_day_number = astro::jst_day_position(search_from_jd).day_number - kTableDaysBefore;
  for (std::size_t k = 0; k < w.days.size(); ++k) {
    w.days[k] = astro::jst_day(w.first_day_number + static_cast<double>(k));
  }
  return w;
}

astro::LocalDate night_date(const SearchWindow& window, double jd) {
  return night_date(window, jd, astro::kFixedNightMorningEndHour);
}

astro::LocalDate night_date(const SearchWindow& window, double jd, int morning_end_hour) {
  const astro::JstDayPosition position = astro::jst_day_position(jd);
  const double offset = position.day_number - window.first_day_number;
  if (offset >= 0 && offset < static_cast<double>(window.days.size())) {
    return astro::local_date_in_day(window.days[static_cast<std::size_t>(offset)],
                                    position.fraction, morning_end_hour);
  }
  return astro::local_date_in_day(astro::jst_day(position.day_number), position.fraction,
                                  morning_end_hour);
}

astro::StarAtSite star_seen_from(const astro::StarRecord& star, const ObservingSite& site) {
  return astro::star_at_site(
      site.longitude_deg,
      astro::to_radians(site.latitude_deg, astro::kDegreesPerHalfTurn, astro::kForecastRadians),
      astro::to_radians(star.ra_hours, astro::kHoursPerHalfTurn, astro::kForecastRadians),
      astro::to_radians(star.dec_degrees, astro::kDegreesPerHalfTurn, astro::kForecastRadians));
}

astro::ObservingConditions window_sky(const astro::SkyOptions& options, const SearchWindow& window,
                                      const ObservingSite& site) {
  return astro::ObservingConditions(options, window.search_from_mjd + astro::kMjdZeroJd,
                                    window.end_mjd + astro::kMjdZeroJd, site.longitude_deg,
                                    site.latitude_deg);
}

std::optional<std::string> cycle_problem(const astro::StarRecord& star,
                                         const SearchWindow& window) {
  const Ext period = star.period;
  const Ext epoch = star.epoch_mjd;
  if ((static_cast<Ext>(window.end_mjd) - static_cast<Ext>(window.search_from_mjd)) / period >
      kMaxWindowCandidates) {
    return "period too short: more than 1000000 minima in the window";
  }
  const Ext first = (static_cast<Ext>(window.search_from_mjd) - epoch) / period;
  const Ext last = (static_cast<Ext>(window.end_mjd) - epoch) / period + kCycleMarginCycles;
  if (!astro::fits_int32(first) || !astro::fits_int32(last)) {
    return "cycle count since the epoch does not fit 32 bits";
  }
  return std::nullopt;
}

namespace {

/// Calls test(kind, minimum_mjd) for every candidate minimum of both passes, in the
/// order of the search: the primary pass, then the secondary pass (phase 0.5).
template <class Test>
void for_each_candidate(const astro::StarRecord& star, const SearchWindow& window, Test&& test) {
  const Ext period = star.period;
  const std::int32_t first_cycle = astro::trunc_to_int(
      (static_cast<Ext>(window.search_from_mjd) - static_cast<Ext>(star.epoch_mjd)) / period);
  // Bounds every pass, so that no arithmetic surprise can make it run on or wrap.
  const std::int32_t last_cycle = astro::trunc_to_int(
      (static_cast<Ext>(window.end_mjd) - static_cast<Ext>(star.epoch_mjd)) / period +
      kCycleMarginCycles);

  auto search_pass = [&](MinimumKind kind, double epoch_mjd) {
    std::int32_t cycle = first_cycle;
    double minimum_mjd = minimum_at(epoch_mjd, cycle, star.period);
    while (true) {
      test(kind, minimum_mjd);
      if (cycle >= last_cycle) break;
      ++cycle;
      minimum_mjd = minimum_at(epoch_mjd, cycle, star.period);
      if (!(minimum_mjd < window.end_mjd)) break;
    }
  };

  search_pass(MinimumKind::kPrimary, star.epoch_mjd);
  // Secondary minima at phase 0.5: the epoch moves back half a period, the cycle
  // count stays the one computed from the primary epoch.
  const double secondary_epoch_mjd =
      static_cast<double>(static_cast<Ext>(star.epoch_mjd) - period * 0.5L);
  search_pass(MinimumKind::kSecondary, secondary_epoch_mjd);
}

}  // namespace

namespace {

/// search_minima with the options for today's sky.
long search_minima_in_sky(const astro::StarRecord& star, const SearchWindow& window,
                          const ForecastRequest& request, const astro::ObservingConditions& sky,
                          const MinimumConsumer& consumer) {
  const astro::SkyOptions& options = sky.options();
  const astro::StarAtSite seen = star_seen_from(star, request.site);
  const astro::IcrsPosition icrs = astro::icrs_position(star);
  const astro::StarPlace place = sky.star(icrs.ra_rad, icrs.dec_rad);
  const int morning_end_hour =
      options.sun_below_deg ? astro::kSunNightMorningEndHour : astro::kFixedNightMorningEndHour;

  long accepted = 0;
  for_each_candidate(star, window, [&](MinimumKind kind, double epoch_mjd) {
    double minimum_mjd = epoch_mjd;
    double minimum_jd =
        static_cast<double>(static_cast<Ext>(epoch_mjd) + static_cast<Ext>(astro::kMjdZeroJd));
    if (options.epochs != astro::EpochScale::kJd) {
      // A candidate outside the tables lies further from the month's nights than any
      // light time can move it.
      if (!sky.covers(minimum_jd)) return;
      minimum_jd = sky.geocentric_jd(minimum_jd, place);
      minimum_mjd =
          static_cast<double>(static_cast<Ext>(minimum_jd) - static_cast<Ext>(astro::kMjdZeroJd));
    }
    const astro::LocalDate night = night_date(window, minimum_jd, morning_end_hour);
    if (night.year != request.year || night.month != request.month) return;
    if (options.sun_below_deg) {
      if (!sky.sun_ok(minimum_jd)) return;
    } else if (night.hour >= kFirstDayHour && night.hour <= kLastDayHour) {
      return;
    }
    float altitude_deg = 0;
    if (options.of_date) {
      altitude_deg = sky.altitude_of_date(minimum_jd, place);
      if (!(altitude_deg >= 0)) return;
    } else {
      const astro::HorizontalPosition position = astro::position_at(seen, minimum_mjd);
      if (position.horizon < 0) return;
      altitude_deg = position.altitude;
    }
    if (!(altitude_deg >= request.min_altitude_deg)) return;
    if (!sky.moon_ok(minimum_jd, place)) return;
    consumer({&star, kind, minimum_mjd, minimum_jd, night, altitude_deg});
    ++accepted;
  });
  return accepted;
}

}  // namespace

std::optional<AcceptedCandidate> test_candidate(const astro::StarAtSite& seen,
                                                const SearchWindow& window,
                                                const ForecastRequest& request,
                                                double minimum_mjd) {
  // The accept test: a night of the asked month, not day time, the star above the
  // horizon and at least the lowest altitude.
  const double minimum_jd =
      static_cast<double>(static_cast<Ext>(minimum_mjd) + static_cast<Ext>(astro::kMjdZeroJd));
  const astro::LocalDate night = night_date(window, minimum_jd);
  if (night.year != request.year || night.month != request.month) return std::nullopt;
  if (night.hour >= kFirstDayHour && night.hour <= kLastDayHour) return std::nullopt;
  const astro::HorizontalPosition position = astro::position_at(seen, minimum_mjd);
  if (position.horizon < 0 || !(position.altitude >= request.min_altitude_deg)) {
    return std::nullopt;
  }
  return AcceptedCandidate{minimum_jd, night, position.altitude};
}

long search_minima(const astro::StarRecord& star, const SearchWindow& window,
                   const ForecastRequest& request, const MinimumConsumer& consumer) {
  if (request.sky != nullptr) {
    return search_minima_in_sky(star, window, request, *request.sky, consumer);
  }
  const astro::StarAtSite seen = star_seen_from(star, request.site);
  const CandidateFilter filter = candidate_filter(seen, window, request);
  long accepted = 0;
  for_each_candidate(star, window, [&](MinimumKind kind, double minimum_mjd) {
    // The first look rejects most candidates; the full test decides the rest.
    if (certainly_rejected(filter, minimum_mjd)) return;
    const std::optional<AcceptedCandidate> found =
        test_candidate(seen, window, request, minimum_mjd);
    if (!found) return;
    consumer({&star, kind, minimum_mjd, found->minimum_jd, found->night, found->altitude_deg});
    ++accepted;
  });
  return accepted;
}

long forecast_star(const astro::StarRecord& star, const SearchWindow& window,
                   const ForecastRequest& request, astro::OutputFile& out) {
  const StarLineText text = star_line_text(star);
  return search_minima(star, window, request, [&](const astro::ForecastMinimum& minimum) {
    write_forecast_line(out, text, minimum);
  });
}

long count_candidates(const astro::StarRecord& star, const SearchWindow& window) {
  long candidates = 0;
  for_each_candidate(star, window, [&](MinimumKind, double) { ++candidates; });
  return candidates;
}

}  // namespace eclfore
