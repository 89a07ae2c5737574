#include "minima_search.h"

#include <cstdint>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/horizon.h"
#include "astro/numeric.h"
#include "formats/sky_options.h"
#include "candidate_filter.h"
#include "forecast_line.h"
#include "quick_altitude.h"
#include "radians.h"

namespace eclfore {
static_assert(kSineOfDateAllowance >
                  2 * (astro::ObservingConditions::kQuickSineOfDateError + kFloatAltitudeSine),
              "the quick sine of date's verdicts need its error and the float's rounding");

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

astro::StarAtSite star_seen_from(const formats::StarRecord& star, const ObservingSite& site) {
  return astro::star_at_site(
      site.longitude_deg,
      astro::to_radians(site.latitude_deg, astro::kDegreesPerHalfTurn, kForecastRadians),
      astro::to_radians(star.ra_hours, astro::kHoursPerHalfTurn, kForecastRadians),
      astro::to_radians(star.dec_degrees, astro::kDegreesPerHalfTurn, kForecastRadians));
}

astro::ObservingConditions window_sky(const astro::SkyOptions& options, const SearchWindow& window,
                                      const ObservingSite& site) {
  return astro::ObservingConditions(options, window.search_from_mjd + astro::kMjdZeroJd,
                                    window.end_mjd + astro::kMjdZeroJd, site.longitude_deg,
                                    site.latitude_deg);
}

std::optional<std::string> cycle_problem(const formats::StarRecord& star,
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

/// Calls test(kind, minimum_mjd) for every candidate minimum of both passes that
/// keep(instants, count, kept) keeps, in the order of the search: the primary pass,
/// then the secondary pass (phase 0.5). The candidates come a chunk at a time (enough
/// that the first look runs through a chunk without waiting on its decisions): their
/// instants, then the first look at all of them, then the test of those it kept.
template <class Keep, class Test>
void for_each_candidate(const formats::StarRecord& star, const SearchWindow& window, Keep&& keep,
                        Test&& test) {
  const Ext period = star.period;
  const std::int32_t first_cycle = astro::trunc_to_int(
      (static_cast<Ext>(window.search_from_mjd) - static_cast<Ext>(star.epoch_mjd)) / period);
  // Bounds every pass, so that no arithmetic surprise can make it run on or wrap.
  const std::int32_t last_cycle = astro::trunc_to_int(
      (static_cast<Ext>(window.end_mjd) - static_cast<Ext>(star.epoch_mjd)) / period +
      kCycleMarginCycles);

  auto search_pass = [&](MinimumKind kind, double epoch_mjd) {
    // The first candidate is always tested; each next one while its cycle is within
    // last_cycle and it lies before the window's end.
    std::int32_t cycle = first_cycle;
    bool ended = false;
    bool first = true;
    while (!ended) {
      std::array<double, kChunkCandidates> chunk;
      int count = 0;
      while (count < kChunkCandidates) {
        const double minimum_mjd = minimum_at(epoch_mjd, cycle, star.period);
        if (!first && !(minimum_mjd < window.end_mjd)) {
          ended = true;
          break;
        }
        first = false;
        chunk[static_cast<std::size_t>(count++)] = minimum_mjd;
        if (cycle >= last_cycle) {
          ended = true;
          break;
        }
        ++cycle;
      }
      std::array<unsigned char, kChunkCandidates> kept;
      const int kept_count = keep(chunk.data(), count, kept.data());
      for (int i = 0; i < kept_count; ++i) {
        test(kind, chunk[kept[static_cast<std::size_t>(i)]]);
      }
    }
  };

  search_pass(MinimumKind::kPrimary, star.epoch_mjd);
  // Secondary minima at phase 0.5: the epoch moves back half a period, the cycle
  // count stays the one computed from the primary epoch.
  const double secondary_epoch_mjd =
      static_cast<double>(static_cast<Ext>(star.epoch_mjd) - period * 0.5L);
  search_pass(MinimumKind::kSecondary, secondary_epoch_mjd);
}

/// A first look that keeps every candidate.
int keep_all(const double* /*minimum_mjd*/, int count, unsigned char* kept) {
  for (int i = 0; i < count; ++i) kept[i] = static_cast<unsigned char>(i);
  return count;
}

}  // namespace

RunLooks run_looks(const SearchWindow& window, const ForecastRequest& request) {
  RunLooks looks;
  if (request.sky != nullptr) {
    // Room for what the options change: the instant moves by the epochs' offset, the
    // night comes from the Sun, the altitude of date is another one.
    const astro::SkyOptions& options = request.sky->options();
    looks.allowance.shift_days = request.sky->epoch_shift_bound_days();
    looks.allowance.day_hours = !options.sun_below_deg;
    looks.allowance.morning_end_hour =
        options.sun_below_deg ? astro::kSunNightMorningEndHour : astro::kFixedNightMorningEndHour;
    looks.allowance.altitude_bound = !options.of_date;
  }
  looks.slots = night_slots(window, request, looks.allowance);
  looks.cells = altitude_cells(request.min_altitude_deg);
  return looks;
}

namespace {

/// `search(request)` with the request's run looks: the request as it is when it has
/// them, else a copy with looks built for it.
template <class Search>
long with_looks(const SearchWindow& window, const ForecastRequest& request, Search&& search) {
  if (request.looks != nullptr) return search(request);
  const RunLooks looks = run_looks(window, request);
  ForecastRequest with = request;
  with.looks = &looks;
  return search(with);
}

/// What the full accept test needs of a star, computed once per star: its terms at the
/// site and, with the options for today's sky, its place for the ephemerides.
struct StarForTest {
  const formats::StarRecord* star = nullptr;
  astro::StarAtSite seen;
  astro::StarPlace place;
};

StarForTest star_for_test(const formats::StarRecord& star, const ForecastRequest& request) {
  StarForTest s{&star, star_seen_from(star, request.site), {}};
  if (request.sky != nullptr) {
    const formats::IcrsPosition icrs = formats::icrs_position(star);
    s.place = request.sky->star(icrs.ra_rad, icrs.dec_rad);
  }
  return s;
}

/// The first look at a star's candidates: with --of-date for the altitude of date, else
/// for the horizon routines' altitude.
CandidateFilter star_filter(const StarForTest& s, const RunLooks& looks,
                            const ForecastRequest& request) {
  if (request.sky != nullptr && request.sky->options().of_date) {
    return candidate_filter_of_date(*request.sky, s.place, looks.slots, request, looks.allowance);
  }
  return candidate_filter(s.seen, looks.slots, request, looks.allowance);
}

/// The full accept test of the candidate at `candidate_mjd` (MJD, days; in the epochs'
/// scale with --epochs): the minimum it lists, or nothing. Without the options for
/// today's sky it is test_candidate's; with them the instant is the geocentric one, the
/// night the Sun's when --sun-below is given, the altitude of date with --of-date, and
/// the Moon must stand far enough.
std::optional<ForecastMinimum> full_test(const StarForTest& s, const SearchWindow& window,
                                                const ForecastRequest& request, MinimumKind kind,
                                                double candidate_mjd) {
  if (request.sky == nullptr) {
    const std::optional<AcceptedCandidate> found =
        test_candidate(s.seen, window, request, candidate_mjd);
    if (!found) return std::nullopt;
    return ForecastMinimum{
        s.star, kind, candidate_mjd, found->minimum_jd, found->night, found->altitude_deg};
  }
  const astro::ObservingConditions& sky = *request.sky;
  const astro::SkyOptions& options = sky.options();
  double minimum_mjd = candidate_mjd;
  double minimum_jd =
      static_cast<double>(static_cast<Ext>(candidate_mjd) + static_cast<Ext>(astro::kMjdZeroJd));
  if (options.epochs != astro::EpochScale::kJd) {
    // A candidate outside the tables lies further from the month's nights than any
    // light time can move it.
    if (!sky.covers(minimum_jd)) return std::nullopt;
    minimum_jd = sky.geocentric_jd(minimum_jd, s.place);
    minimum_mjd =
        static_cast<double>(static_cast<Ext>(minimum_jd) - static_cast<Ext>(astro::kMjdZeroJd));
  }
  const int morning_end_hour =
      options.sun_below_deg ? astro::kSunNightMorningEndHour : astro::kFixedNightMorningEndHour;
  const astro::LocalDate night = night_date(window, minimum_jd, morning_end_hour);
  if (night.year != request.year || night.month != request.month) return std::nullopt;
  if (options.sun_below_deg) {
    if (!sky.sun_ok(minimum_jd)) return std::nullopt;
  } else if (night.hour >= kFirstDayHour && night.hour <= kLastDayHour) {
    return std::nullopt;
  }
  float altitude_deg = 0;
  if (options.of_date) {
    altitude_deg = sky.altitude_of_date(minimum_jd, s.place);
    if (!(altitude_deg >= 0)) return std::nullopt;
  } else {
    const astro::HorizontalPosition position = astro::position_at(s.seen, minimum_mjd);
    if (position.horizon < 0) return std::nullopt;
    altitude_deg = position.altitude;
  }
  if (!(altitude_deg >= request.min_altitude_deg)) return std::nullopt;
  if (!sky.moon_ok(minimum_jd, s.place)) return std::nullopt;
  return ForecastMinimum{s.star, kind, minimum_mjd, minimum_jd, night, altitude_deg};
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

long search_minima(const formats::StarRecord& star, const SearchWindow& window,
                   const ForecastRequest& request, const MinimumConsumer& consumer) {
  if (request.looks == nullptr) {
    return with_looks(window, request, [&](const ForecastRequest& with) {
      return search_minima(star, window, with, consumer);
    });
  }
  const RunLooks& looks = *request.looks;
  const StarForTest s = star_for_test(star, request);
  const CandidateFilter filter = star_filter(s, looks, request);
  auto keep = [&](const double* instants, int count, unsigned char* kept) {
    return keep_candidates(filter, instants, count, kept);
  };
  long accepted = 0;
  for_each_candidate(star, window, keep, [&](MinimumKind kind, double candidate_mjd) {
    const std::optional<ForecastMinimum> minimum =
        full_test(s, window, request, kind, candidate_mjd);
    if (!minimum) return;
    consumer(*minimum);
    ++accepted;
  });
  return accepted;
}

long forecast_star(const formats::StarRecord& star, const SearchWindow& window,
                   const ForecastRequest& request, io::OutputFile& out) {
  if (request.looks == nullptr) {
    return with_looks(window, request, [&](const ForecastRequest& with) {
      return forecast_star(star, window, with, out);
    });
  }
  const RunLooks& looks = *request.looks;
  // The star's fixed line texts, built for its first line: a star that is never listed
  // (in an October month from Tokyo at 20 degrees, 38 % of a uniform sky) needs none.
  std::optional<StarLineText> built_text;
  auto text = [&]() -> const StarLineText& {
    if (!built_text) built_text = star_line_text(star);
    return *built_text;
  };
  const StarForTest s = star_for_test(star, request);
  const CandidateFilter filter = star_filter(s, looks, request);
  const astro::ObservingConditions* sky = request.sky;
  const bool of_date = sky != nullptr && sky->options().of_date;
  if (!filter.hour_angle_known && !of_date) {
    return search_minima(star, window, request, [&](const ForecastMinimum& minimum) {
      write_forecast_line(out, text(), minimum);
    });
  }
  // full_test, each step with the same answer in fewer operations: the night date from
  // the exact JST day in whole numbers, the altitude field from the quick look where it
  // is certain (the horizon routines elsewhere).
  const bool moved = sky != nullptr && sky->options().epochs != astro::EpochScale::kJd;
  const bool sun_night = sky != nullptr && sky->options().sun_below_deg.has_value();
  const bool moon = sky != nullptr && sky->options().moon_distance_deg.has_value();
  const int morning_end_hour = looks.allowance.morning_end_hour;
  const AltitudeCells& cells = looks.cells;
  auto keep = [&](const double* instants, int count, unsigned char* kept) {
    return keep_candidates(filter, instants, count, kept);
  };
  long accepted = 0;
  for_each_candidate(star, window, keep, [&](MinimumKind kind, double candidate_mjd) {
    double minimum_mjd = candidate_mjd;
    if (moved) {
      const double epoch_jd = static_cast<double>(static_cast<Ext>(candidate_mjd) +
                                                  static_cast<Ext>(astro::kMjdZeroJd));
      if (!sky->covers(epoch_jd)) return;
      minimum_mjd = static_cast<double>(static_cast<Ext>(sky->geocentric_jd(epoch_jd, s.place)) -
                                        static_cast<Ext>(astro::kMjdZeroJd));
    }
    if (!(minimum_mjd >= kFilterFromMjd && minimum_mjd < kFilterBeforeMjd)) {
      const std::optional<ForecastMinimum> minimum =
          full_test(s, window, request, kind, candidate_mjd);
      if (!minimum) return;
      write_forecast_line(out, text(), *minimum);
      ++accepted;
      return;
    }
    // In this range the Julian Date and the JST day's sum are exact (see jst_day_sum):
    // a moved instant's Julian Date is a whole number of 2^-31 days, so its MJD above
    // is exact and gives it back.
    const double minimum_jd = minimum_mjd + astro::kMjdZeroJd;
    const double j = jst_day_sum(minimum_mjd);
    const double day_number = static_cast<double>(static_cast<std::int32_t>(j));
    const double offset = day_number - window.first_day_number;
    const astro::JstDay day = offset >= 0 && offset < static_cast<double>(window.days.size())
                                  ? window.days[static_cast<std::size_t>(offset)]
                                  : astro::jst_day(day_number);
    const astro::LocalDate night =
        astro::local_date_in_day_whole(day, j - day_number, morning_end_hour);
    if (night.year != request.year || night.month != request.month) return;
    if (sun_night) {
      if (!sky->sun_ok(minimum_jd)) return;
    } else if (night.hour >= kFirstDayHour && night.hour <= kLastDayHour) {
      return;
    }
    ForecastMinimum minimum{&star, kind, minimum_mjd, minimum_jd, night, 0.0f};
    std::optional<int> quick_tenths;
    std::optional<astro::SiteVectors> site;  // shared by the altitude of date and the Moon
    if (of_date) {
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
        if (!(minimum.altitude_deg >= 0) || !(minimum.altitude_deg >= request.min_altitude_deg)) {
          return;
        }
      }
    } else {
      const QuickAltitude quick =
          quick_altitude(cells, s.seen.terms, hour_angle_turns(filter, minimum_mjd));
      if (quick.verdict == QuickAltitude::Verdict::kBelow) return;
      if (quick.verdict == QuickAltitude::Verdict::kListed) {
        quick_tenths = quick.tenths;
      } else {
        const astro::HorizontalPosition position = astro::position_at(s.seen, minimum_mjd);
        if (position.horizon < 0 || !(position.altitude >= request.min_altitude_deg)) return;
        minimum.altitude_deg = position.altitude;
      }
    }
    if (moon &&
        !(site ? sky->moon_ok(minimum_jd, s.place, *site) : sky->moon_ok(minimum_jd, s.place))) {
      return;
    }
    if (quick_tenths) {
      write_forecast_line(out, text(), minimum, *quick_tenths);
    } else {
      write_forecast_line(out, text(), minimum);
    }
    ++accepted;
  });
  return accepted;
}

long count_candidates(const formats::StarRecord& star, const SearchWindow& window) {
  long candidates = 0;
  for_each_candidate(star, window, keep_all, [&](MinimumKind, double) { ++candidates; });
  return candidates;
}

}  // namespace eclfore
