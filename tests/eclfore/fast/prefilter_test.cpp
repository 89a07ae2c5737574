// The prefilter never rejects what the listing rule accepts: random stars at every site of
// the table and at odd typed sites, lowest altitudes from below the horizon to beyond the
// zenith, months of many years, and candidates drawn where the decisions are closest: at
// the hour angles of the prefilter's thresholds, at the JST hour boundaries and at the
// ends of the month.
#include "fast/prefilter.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "astro/angles.h"
#include "astro/sites.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "radians.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

namespace fast = eclfore::fast;

struct Counts {
  long candidates = 0;
  long rejected = 0;        ///< by the prefilter
  long accepted = 0;        ///< by the rule
  long close_rejected = 0;  ///< rejected by the prefilter within 0.05 degrees of the limit
  long above = 0;           ///< certainly above the limit, by the prefilter
  long close_above = 0;     ///< of those, within 0.05 degrees of the limit
};

/// What the options for today's sky change in the rule, as the prefilter sees them,
/// without their tables.
struct SkyModel {
  bool moved = false;      ///< --epochs: the instant moves by up to 0.0077 days (light time)
  bool sun_night = false;  ///< --sun-below: no day hours, the night date from noon to noon
  bool of_date = false;    ///< --of-date: no altitude bound
};

eclfore::ListingRule modelled(eclfore::ListingRule rule, const SkyModel& model) {
  if (model.moved) {
    rule.moved_instant = true;
    rule.most_shift_days = 0.0077;
  }
  if (model.sun_night) {
    rule.sun_night = true;
    rule.morning_end_hour = astro::kSunNightMorningEndHour;
  }
  rule.of_date = model.of_date;
  return rule;
}

/// The rule at the instant `mjd` it takes for a candidate. Without options it is
/// listed_minimum; with a model of them its steps without what needs the sky tables:
/// the test moves the instant itself, the Sun is taken as below (the prefilter asks it
/// only with the tables) and the altitude of date as high enough (no bound for it).
bool rule_accepts(const astro::StarAtSite& seen, const eclfore::SearchWindow& window,
                  const eclfore::ListingRule& rule, double mjd) {
  if (!rule.moved_instant && !rule.sun_night && !rule.of_date) {
    const eclfore::StarForRule s{nullptr, seen, {}};
    return eclfore::listed_minimum(s, window, rule, eclfore::MinimumKind::kPrimary, mjd)
        .has_value();
  }
  eclfore::ListingRule unmoved = rule;
  unmoved.moved_instant = false;
  const eclfore::MinimumInstant instant = *eclfore::minimum_instant(unmoved, {}, mjd);
  const astro::LocalDate night = eclfore::night_date(window, instant.jd, rule.morning_end_hour);
  if (!eclfore::in_listed_night(rule, night)) return false;
  if (rule.of_date) return true;
  return eclfore::high_enough(rule, astro::position_at(seen, instant.mjd).altitude);
}

/// Checks candidates of one star at one site for one month and limit: whatever the
/// prefilter rejects, the rule rejects at every instant within the rule's shift of the
/// candidate.
void check_star(std::mt19937_64& rng, const astro::ObservingSite& site, float limit_deg, int year,
                int month, const SkyModel& model, Counts& counts) {
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
  const eclfore::ListingRule rule = modelled(eclfore::listing_rule(request, nullptr), model);
  const eclfore::SearchWindow window = eclfore::search_window(year, month);
  const fast::NightSlots slots = fast::night_slots(window, rule);
  const fast::Prefilter prefilter = fast::star_prefilter(seen, slots, rule);

  // Hour angles (turns) where the thresholds lie, and the instants at them.
  std::vector<double> edges = {prefilter.below_limit_beyond, prefilter.band_from, prefilter.band_to,
                               prefilter.above_limit_within};
  const double from = window.search_from_mjd - 2;
  const double span = window.end_mjd + 2 - from;
  auto at_turns = [&](double turns) {
    const double k = std::floor((from - astro::kSiderealEpochMjd) * astro::kSiderealRate +
                                prefilter.turns_at_epoch - turns) +
                     std::floor(unit(rng) * 33);
    return astro::kSiderealEpochMjd + (k + turns - prefilter.turns_at_epoch) / astro::kSiderealRate;
  };
  const double shift = rule.most_shift_days;
  auto check = [&](double mjd) {
    ++counts.candidates;
    // The instant the rule takes: the candidate's, or one up to the shift away, the ends
    // most often.
    const double where = unit(rng);
    const double moved = where < 0.3   ? mjd - shift
                         : where < 0.6 ? mjd + shift
                                       : mjd + (2 * unit(rng) - 1) * shift;
    const bool found = rule_accepts(seen, window, rule, moved);
    if (found) ++counts.accepted;
    if (fast::certainly_above(prefilter, mjd)) {
      // Step 4 passes at every instant the rule may take.
      ++counts.above;
      const float altitude = astro::position_at(seen, moved).altitude;
      ASSERT_TRUE(eclfore::high_enough(rule, altitude))
          << "shift " << shift << " site " << site.longitude_deg << " " << site.latitude_deg
          << " limit " << limit_deg << " ra " << ra_hours << " dec " << dec_deg << " mjd " << mjd
          << " moved " << moved << " altitude " << altitude;
      if (std::fabs(altitude - std::max(limit_deg, 0.0f)) < 0.05f) ++counts.close_above;
    }
    if (!fast::certainly_rejected(prefilter, mjd)) return;
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
      const double step = (unit(rng) - 0.5) * (i % 2 ? 8 * fast::kHourAngleMarginTurns : 2e-4);
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
Counts check_sites(const SkyModel& model, int stars_per_case) {
  std::mt19937_64 rng(20061001);
  std::vector<astro::ObservingSite> sites;
  for (const astro::NamedSite& row : astro::kSiteTable) sites.push_back(row.site);
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
          check_star(rng, site, limit, year, month, model, counts);
          if (::testing::Test::HasFatalFailure()) return counts;
        }
      }
    }
  }
  return counts;
}

TEST(Prefilter, NeverRejectsWhatTheRuleAccepts) {
  const Counts counts = check_sites({}, 12);
  if (HasFatalFailure()) return;
  // The test is not empty: most candidates fall to the prefilter, many of them close to
  // the limit, and the rule still accepts some.
  EXPECT_GT(counts.candidates, 2000000);
  EXPECT_GT(counts.rejected, counts.candidates / 2);
  EXPECT_GT(counts.close_rejected, 1000);
  EXPECT_GT(counts.accepted, counts.candidates / 20);
  EXPECT_GT(counts.above, counts.candidates / 20);
  EXPECT_GT(counts.close_above, 1000);
}

TEST(Prefilter, WithTheOptionsForTodaysSky) {
  // A moved instant, a night from the Sun, an altitude of date, and all of them at once.
  const SkyModel moved{true, false, false};
  const SkyModel sun_night{false, true, false};
  const SkyModel all{true, true, true};
  for (const SkyModel& model : {moved, sun_night, all}) {
    const Counts counts = check_sites(model, 3);
    if (HasFatalFailure()) return;
    // Without the altitude bound only the nights of other months are left to reject.
    EXPECT_GT(counts.rejected, counts.candidates / (model.of_date ? 10 : 4));
    EXPECT_GT(counts.accepted, counts.candidates / 20);
  }
}

TEST(Prefilter, OutsideItsRangeItLeavesEverythingToTheRule) {
  const astro::ObservingSite site = astro::kBuiltInSite;
  const astro::StarAtSite seen = astro::star_at_site(site.longitude_deg, 0.6f, 1.0f, -1.2f);
  eclfore::ListingRule rule = eclfore_test::tokyo_october_2006_rule(89.0f);
  const fast::NightSlots slots = fast::night_slots(eclfore::search_window(2006, 10), rule);
  const fast::Prefilter prefilter = fast::star_prefilter(seen, slots, rule);
  // In the range, a daytime candidate (12:00 JST) is rejected; the same hours far
  // before 1870 or after 4729, or not a number, are not looked at.
  EXPECT_TRUE(fast::certainly_rejected(prefilter, 54010.125));
  EXPECT_FALSE(fast::certainly_rejected(prefilter, 54010.125 - 20000 * 365.25));
  EXPECT_FALSE(fast::certainly_rejected(prefilter, 2e6 + 0.125));
  EXPECT_FALSE(fast::certainly_rejected(prefilter, std::nan("")));
  // A lowest altitude that is not a number leaves the altitude to the rule.
  rule.min_altitude_deg = std::nanf("");
  EXPECT_EQ(fast::star_prefilter(seen, slots, rule).below_limit_beyond, 1);
  EXPECT_LT(fast::star_prefilter(seen, slots, rule).above_limit_within, 0);
}

// A chunk gives the answers of the prefilter of each of its candidates, whether it lies
// inside the range and the table (the shorter steps), runs across one of their ends,
// goes back in time (the passes of unusable elements) or holds no number.
TEST(Prefilter, AChunkKeepsWhatEachCandidateKeeps) {
  std::mt19937_64 rng(20061010);
  std::uniform_real_distribution<double> unit(0, 1);
  const eclfore::ListingRule rule = eclfore_test::tokyo_october_2006_rule(20);
  const eclfore::SearchWindow window = eclfore::search_window(2006, 10);
  const fast::NightSlots slots = fast::night_slots(window, rule);
  const double table_first = slots.first_day_number - astro::kMjdZeroJd - astro::kJdToJstDays;
  const double table_days = static_cast<double>(slots.rejected.size()) / fast::kSlotsPerDay;
  // Where the chunks start: in the month, across the table's two ends and the range's.
  const double starts[] = {window.start_mjd, table_first - 1, table_first + table_days - 1,
                           fast::kPrefilterFromMjd - 1, fast::kPrefilterBeforeMjd - 1};
  long inside = 0;
  long kept_in_all = 0;
  for (int s = 0; s < 2000; ++s) {
    const astro::StarAtSite seen = astro::star_at_site(
        astro::kBuiltInSite.longitude_deg, 0.6f, static_cast<float>(unit(rng) * 6.28),
        static_cast<float>(std::asin(2 * unit(rng) - 1)));
    const fast::Prefilter prefilter = fast::star_prefilter(seen, slots, rule);
    const double period = 0.01 + unit(rng) * (s % 2 ? 0.1 : 0.8);
    const double start = starts[s % 5] + unit(rng) * 2 - (s % 10 == 9 ? 0 : 0.5);
    const int count = 1 + static_cast<int>(unit(rng) * eclfore::kChunkCandidates);
    std::array<double, eclfore::kChunkCandidates> chunk{};
    for (int i = 0; i < count; ++i) {
      chunk[static_cast<std::size_t>(i)] = start + (s % 7 == 6 ? -i : i) * period;
    }
    if (s % 50 == 49) chunk[static_cast<std::size_t>(count - 1)] = std::nan("");
    std::array<unsigned char, eclfore::kChunkCandidates> kept{};
    const int kept_count = fast::keep_candidates(prefilter, chunk.data(), count, kept.data());
    std::vector<int> expected;
    for (int i = 0; i < count; ++i) {
      if (!fast::certainly_rejected(prefilter, chunk[static_cast<std::size_t>(i)])) {
        expected.push_back(i);
      }
    }
    ASSERT_EQ(std::vector<int>(kept.begin(), kept.begin() + kept_count), expected) << s;
    if (fast::inside_table(prefilter, chunk[0]) &&
        fast::inside_table(prefilter, chunk[static_cast<std::size_t>(count - 1)])) {
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
