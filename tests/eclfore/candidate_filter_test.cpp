// The first look at a candidate never rejects what the full accept test accepts: random
// stars at every site of the table and at odd typed sites, lowest altitudes from below
// the horizon to beyond the zenith, months of many years, and candidates drawn where the
// decisions are closest: at the hour angles of the filter's thresholds, at the JST hour
// boundaries and at the ends of the month.
#include "candidate_filter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "astro/angles.h"
#include "astro/sites.h"
#include "minima_search.h"
#include "radians.h"

namespace {

struct Counts {
  long candidates = 0;
  long rejected = 0;        ///< by the first look
  long accepted = 0;        ///< by the full test
  long close_rejected = 0;  ///< rejected by the first look within 0.05 degrees of the limit
};

/// The full test for a first look with `allowance`: the horizon routines' altitude,
/// the night date with the allowance's morning end, the day hours when they count.
bool full_test_accepts(const astro::StarAtSite& seen, const eclfore::SearchWindow& window,
                       const eclfore::ForecastRequest& request,
                       const eclfore::LookAllowance& allowance, double mjd) {
  if (allowance.shift_days == 0 && allowance.day_hours &&
      allowance.morning_end_hour == astro::kFixedNightMorningEndHour) {
    return eclfore::test_candidate(seen, window, request, mjd).has_value();
  }
  const double jd = static_cast<double>(static_cast<long double>(mjd) + astro::kMjdZeroJd);
  const astro::LocalDate night = eclfore::night_date(window, jd, allowance.morning_end_hour);
  if (night.year != request.year || night.month != request.month) return false;
  if (allowance.day_hours && night.hour >= 6 && night.hour <= 17) return false;
  if (!allowance.altitude_bound) return true;
  const astro::HorizontalPosition position = astro::position_at(seen, mjd);
  return position.horizon >= 0 && position.altitude >= request.min_altitude_deg;
}

/// Checks candidates of one star at one site for one month and limit: whatever the
/// first look rejects, the full test rejects at every instant within the allowance's
/// shift of the candidate.
void check_star(std::mt19937_64& rng, const astro::ObservingSite& site, float limit_deg, int year,
                int month, const eclfore::LookAllowance& allowance, Counts& counts) {
  std::uniform_real_distribution<double> unit(0, 1);
  const float ra_hours = static_cast<float>(unit(rng) * 24);
  // Poles, the equator and the zenith of the site now and then.
  const double pick = unit(rng);
  float dec_deg = static_cast<float>(std::asin(2 * unit(rng) - 1) * 180 / astro::kPi);
  if (pick < 0.03)
    dec_deg = 90;
  else if (pick < 0.06)
    dec_deg = -90;
  else if (pick < 0.09)
    dec_deg = 0;
  else if (pick < 0.12)
    dec_deg = site.latitude_deg;
  const astro::StarAtSite seen = astro::star_at_site(
      site.longitude_deg,
      astro::to_radians(site.latitude_deg, astro::kDegreesPerHalfTurn, eclfore::kForecastRadians),
      astro::to_radians(ra_hours, astro::kHoursPerHalfTurn, eclfore::kForecastRadians),
      astro::to_radians(dec_deg, astro::kDegreesPerHalfTurn, eclfore::kForecastRadians));
  eclfore::ForecastRequest request;
  request.year = year;
  request.month = month;
  request.min_altitude_deg = limit_deg;
  request.site = site;
  const eclfore::SearchWindow window = eclfore::search_window(year, month);
  const eclfore::NightSlots slots = eclfore::night_slots(window, request, allowance);
  const eclfore::CandidateFilter filter =
      eclfore::candidate_filter(seen, slots, request, allowance);

  // Hour angles (turns) where the thresholds lie, and the instants at them.
  std::vector<double> edges = {filter.below_limit_beyond, filter.band_from, filter.band_to};
  const double from = window.search_from_mjd - 2;
  const double span = window.end_mjd + 2 - from;
  auto at_turns = [&](double turns) {
    const double k =
        std::floor((from - 40000) * eclfore::kFilterSiderealRate + filter.turns_at_epoch - turns) +
        std::floor(unit(rng) * 33);
    return 40000 + (k + turns - filter.turns_at_epoch) / eclfore::kFilterSiderealRate;
  };
  const double shift = allowance.shift_days;
  auto check = [&](double mjd) {
    ++counts.candidates;
    // The instant the full test takes: the candidate's, or one up to the shift away,
    // the ends most often.
    const double pick = unit(rng);
    const double moved = pick < 0.3   ? mjd - shift
                         : pick < 0.6 ? mjd + shift
                                      : mjd + (2 * unit(rng) - 1) * shift;
    const bool found = full_test_accepts(seen, window, request, allowance, moved);
    if (found) ++counts.accepted;
    if (!eclfore::certainly_rejected(filter, mjd)) return;
    ++counts.rejected;
    ASSERT_FALSE(found) << "shift " << shift << " site " << site.longitude_deg << " "
                        << site.latitude_deg << " limit " << limit_deg << " " << year << "/"
                        << month << " ra " << ra_hours << " dec " << dec_deg << " mjd " << mjd
                        << " moved " << moved;
    const astro::HorizontalPosition position = astro::position_at(seen, mjd);
    if (std::fabs(position.altitude - std::max(limit_deg, 0.0f)) < 0.05f) ++counts.close_rejected;
  };
  for (int i = 0; i < 100; ++i) check(from + unit(rng) * span);
  for (const double edge : edges) {
    if (!(edge >= 0 && edge <= 0.5)) continue;
    for (int i = 0; i < 100; ++i) {
      // Within a few margins of the threshold, on both sides, either side of the meridian;
      // and up to 1e-4 turns (0.036 degrees of hour angle) inside it.
      const double step = (unit(rng) - 0.5) * (i % 2 ? 8 * eclfore::kHourAngleMarginTurns : 2e-4);
      const double turns = (i % 4 < 2 ? 1 : -1) * (edge + step);
      check(at_turns(turns));
    }
  }
  // The JST hour boundaries 6:00 and 18:00 (fractions 0.25 and 0.75) and the day
  // boundary, to the last bits of the Julian Date.
  for (int i = 0; i < 60; ++i) {
    const double day = std::floor(window.search_from_mjd + unit(rng) * 34);
    const double fraction = (i % 3) * 0.25 + 0.25;  // 0.25, 0.5 (no boundary), 0.75
    double mjd = day + fraction - 0.375;            // the JST day starts at 15:00 UT
    for (int k = 0; k < (i % 5); ++k) mjd = std::nextafter(mjd, i % 2 ? 1e9 : -1e9);
    check(mjd);
  }
}

/// Random stars at every site of the table and at odd typed sites, limits and months.
Counts check_sites(const eclfore::LookAllowance& allowance, int stars_per_case) {
  std::mt19937_64 rng(20061001);
  std::vector<astro::ObservingSite> sites(astro::kSiteTable.begin(), astro::kSiteTable.end());
  // Typed sites: the equator, the south, the far north, a western longitude, a pole.
  sites.push_back({0.0f, 0.0f});
  sites.push_back({-70.4f, -24.6f});
  sites.push_back({25.0f, 69.0f});
  sites.push_back({-155.5f, 19.8f});
  sites.push_back({139.77f, 90.0f});
  const float limits[] = {-10.0f, -0.0f, 0.0f, 0.004f, 20.0f, 45.5f, 80.0f, 89.995f, 90.0f, 95.0f};
  std::uniform_int_distribution<int> year_of(1871, 2200);
  std::uniform_int_distribution<int> month_of(1, 12);
  Counts counts;
  for (const astro::ObservingSite& site : sites) {
    for (const float limit : limits) {
      for (int m = 0; m < 4; ++m) {
        const int year = year_of(rng);
        const int month = month_of(rng);
        for (int s = 0; s < stars_per_case; ++s) {
          check_star(rng, site, limit, year, month, allowance, counts);
          if (::testing::Test::HasFatalFailure()) return counts;
        }
      }
    }
  }
  return counts;
}

TEST(CandidateFilter, NeverRejectsWhatTheFullTestAccepts) {
  const Counts counts = check_sites({}, 12);
  if (HasFatalFailure()) return;
  // The test is not empty: most candidates fall to the first look, many of them close
  // to the limit, and the full test still accepts some.
  EXPECT_GT(counts.candidates, 2000000);
  EXPECT_GT(counts.rejected, counts.candidates / 2);
  EXPECT_GT(counts.close_rejected, 1000);
  EXPECT_GT(counts.accepted, counts.candidates / 20);
}

TEST(CandidateFilter, WithTheOptionsForTodaysSky) {
  // A moved instant (the light time of --epochs, 0.0077 days at most), a night from the
  // Sun (no day hours, the night date from noon to noon), an altitude of date (no
  // altitude bound), and all of them at once.
  eclfore::LookAllowance moved;
  moved.shift_days = 0.0077;
  eclfore::LookAllowance sun_night;
  sun_night.day_hours = false;
  sun_night.morning_end_hour = astro::kSunNightMorningEndHour;
  eclfore::LookAllowance all = sun_night;
  all.shift_days = 0.0077;
  all.altitude_bound = false;
  for (const eclfore::LookAllowance& allowance : {moved, sun_night, all}) {
    const Counts counts = check_sites(allowance, 3);
    if (HasFatalFailure()) return;
    // Without the altitude bound only the nights of other months are left to reject.
    EXPECT_GT(counts.rejected, counts.candidates / (allowance.altitude_bound ? 4 : 10));
    EXPECT_GT(counts.accepted, counts.candidates / 20);
  }
}

/// The request of October 2006 at the built-in site with a lowest altitude (degrees).
eclfore::ForecastRequest october_2006(float lowest_deg) {
  eclfore::ForecastRequest request;
  request.year = 2006;
  request.month = 10;
  request.min_altitude_deg = lowest_deg;
  return request;
}

TEST(CandidateFilter, OutsideItsRangeItLeavesEverythingToTheFullTest) {
  const astro::ObservingSite site = astro::kBuiltInSite;
  const astro::StarAtSite seen = astro::star_at_site(site.longitude_deg, 0.6f, 1.0f, -1.2f);
  eclfore::ForecastRequest request = october_2006(89.0f);
  const eclfore::NightSlots slots = eclfore::night_slots(eclfore::search_window(2006, 10), request);
  const eclfore::CandidateFilter filter = eclfore::candidate_filter(seen, slots, request);
  // In the range, a daytime candidate (12:00 JST) is rejected; the same hours far
  // before 1870 or after 4729, or not a number, are not looked at.
  EXPECT_TRUE(eclfore::certainly_rejected(filter, 54010.125));
  EXPECT_FALSE(eclfore::certainly_rejected(filter, 54010.125 - 20000 * 365.25));
  EXPECT_FALSE(eclfore::certainly_rejected(filter, 2e6 + 0.125));
  EXPECT_FALSE(eclfore::certainly_rejected(filter, std::nan("")));
  // A lowest altitude that is not a number leaves the altitude to the full test.
  request.min_altitude_deg = std::nanf("");
  EXPECT_EQ(eclfore::candidate_filter(seen, slots, request).below_limit_beyond, 1);
}

// A chunk gives the answers of the look at each of its candidates, whether it lies
// inside the range and the table (the shorter steps), runs across one of their ends,
// goes back in time (the passes of unusable elements) or holds no number.
TEST(CandidateFilter, AChunkKeepsWhatEachLookKeeps) {
  std::mt19937_64 rng(20061010);
  std::uniform_real_distribution<double> unit(0, 1);
  const eclfore::ForecastRequest request = october_2006(20);
  const eclfore::SearchWindow window = eclfore::search_window(2006, 10);
  const eclfore::NightSlots slots = eclfore::night_slots(window, request);
  const double table_first = slots.first_day_number - astro::kMjdZeroJd - astro::kJdToJstDays;
  const double table_days = static_cast<double>(slots.rejected.size()) / eclfore::kSlotsPerDay;
  // Where the chunks start: in the month, across the table's two ends and the range's.
  const double starts[] = {window.start_mjd, table_first - 1, table_first + table_days - 1,
                           eclfore::kFilterFromMjd - 1, eclfore::kFilterBeforeMjd - 1};
  long inside = 0;
  long kept_in_all = 0;
  for (int s = 0; s < 2000; ++s) {
    const astro::StarAtSite seen = astro::star_at_site(
        astro::kBuiltInSite.longitude_deg, 0.6f, static_cast<float>(unit(rng) * 6.28),
        static_cast<float>(std::asin(2 * unit(rng) - 1)));
    const eclfore::CandidateFilter filter = eclfore::candidate_filter(seen, slots, request);
    const double period = 0.01 + unit(rng) * (s % 2 ? 0.1 : 0.8);
    const double start = starts[s % 5] + unit(rng) * 2 - (s % 10 == 9 ? 0 : 0.5);
    const int count = 1 + static_cast<int>(unit(rng) * eclfore::kChunkCandidates);
    std::array<double, eclfore::kChunkCandidates> chunk{};
    for (int i = 0; i < count; ++i) {
      chunk[static_cast<std::size_t>(i)] = start + (s % 7 == 6 ? -i : i) * period;
    }
    if (s % 50 == 49) chunk[static_cast<std::size_t>(count - 1)] = std::nan("");
    std::array<unsigned char, eclfore::kChunkCandidates> kept{};
    const int kept_count = eclfore::keep_candidates(filter, chunk.data(), count, kept.data());
    std::vector<int> expected;
    for (int i = 0; i < count; ++i) {
      if (!eclfore::certainly_rejected(filter, chunk[static_cast<std::size_t>(i)])) {
        expected.push_back(i);
      }
    }
    ASSERT_EQ(std::vector<int>(kept.begin(), kept.begin() + kept_count), expected) << s;
    if (eclfore::inside_table(filter, chunk[0]) &&
        eclfore::inside_table(filter, chunk[static_cast<std::size_t>(count - 1)])) {
      ++inside;
    }
    kept_in_all += kept_count;
  }
  // Both ways are taken, and they keep some and reject some.
  EXPECT_GT(inside, 300);
  EXPECT_LT(inside, 1700);
  EXPECT_GT(kept_in_all, 2000);
}

}  // namespace
