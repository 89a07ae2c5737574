// The quick observability of an instant of an eclipse window answers as the listing
// rule's observable_at: at random instants of the month, and at the instants where a
// shortcut could err: within a hair of the lowest altitude, near due east and west
// (where the horizon routines carry the single-precision azimuth's rounding), and at
// the JST hours that open and close the fixed night.
#include "fast/quick_observable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>
#include <vector>

#include "astro/constants.h"
#include "astro/sites.h"
#include "coverage.h"
#include "listing_rule.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

namespace fast = eclfore::fast;

/// A site, a lowest altitude and the options for today's sky to try the answers under.
struct Case {
  eclfore::ObservingSite site;
  float lowest_deg;
  astro::SkyOptions sky;
};

/// `base` moved to a place drawn evenly over the sky.
formats::StarRecord anywhere_in_the_sky(formats::StarRecord base, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> unit(0, 1);
  base.ra_hours = static_cast<float>(unit(rng) * 24);
  base.dec_degrees = static_cast<float>(std::asin(2 * unit(rng) - 1) * 180 / astro::kPi);
  return base;
}

TEST(QuickObservable, AnswersAsObservableAt) {
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> unit(0, 1);
  astro::SkyOptions none, moon, all;
  moon.moon_distance_deg = 40;
  all.sun_below_deg = astro::kNauticalTwilightDeg;
  all.moon_distance_deg = 20;
  all.of_date = true;
  const std::vector<Case> cases = {
      {astro::kSiteTable[2].site, 20, none},
      {astro::kSiteTable[10].site, 0, none},
      {{103.8f, 1.3f}, 45, none},
      {{-20, 69.5f}, 10, moon},
      {{151.2f, -33.9f}, 89.5f, none},
      {astro::kSiteTable[2].site, 20, all},
      {{-70.4f, -24.6f}, 30, none},
  };
  const formats::StarRecord base = formats::parse_star_record(eclfore_test::kExDemoLine);
  long answers = 0;
  long observable = 0;
  for (const Case& c : cases) {
    eclfore::ForecastRequest request;
    request.year = 2026;
    request.month = 12;
    request.min_altitude_deg = c.lowest_deg;
    request.site = c.site;
    request.sky_options = c.sky;
    const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
    std::optional<astro::ObservingConditions> sky;
    if (c.sky.any()) sky.emplace(eclfore::window_sky(c.sky, window, c.site));
    const eclfore::ListingRule rule = eclfore::listing_rule(request, sky ? &*sky : nullptr);
    const fast::RunTables tables = fast::run_tables(window, rule);
    const double first_jd = window.start_mjd + astro::kMjdZeroJd;
    for (int star_index = 0; star_index < 60; ++star_index) {
      formats::StarRecord star = anywhere_in_the_sky(base, rng);
      if (star_index % 7 == 0) star.dec_degrees = c.site.latitude_deg;  // through the zenith
      const eclfore::StarForRule s = eclfore::star_for_rule(star, rule);
      const fast::Prefilter prefilter =
          rule.of_date ? fast::star_prefilter_of_date(s.place, tables.night_slots, rule)
                       : fast::star_prefilter(s.seen, tables.night_slots, rule);
      auto check = [&](double jd) {
        const bool exact = eclfore::observable_at(s, window, rule, jd);
        ASSERT_EQ(fast::quick_observable_at(s, prefilter, tables, window, rule, jd), exact)
            << "site " << c.site.longitude_deg << "," << c.site.latitude_deg << " lowest "
            << c.lowest_deg << " star " << star.ra_hours << " " << star.dec_degrees << " jd " << jd;
        ++answers;
        observable += exact ? 1 : 0;
      };
      std::vector<double> instants;
      for (int i = 0; i < 100; ++i) instants.push_back(first_jd + unit(rng) * 30);
      // The hour angles of the lowest altitude, of the prefilter's bound above it and
      // of due east and west, each of the month's nights, and a hair either side.
      const astro::HorizonTerms& t = s.seen.terms;
      const double limit_rad = std::max(c.lowest_deg, 0.0f) * astro::kPi / 180;
      const double at_limit = (std::sin(limit_rad) - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
      const double due_west = -t.minus_cos_phi_sin_delta / t.sin_phi_cos_delta;
      const double above_bound = std::cos(2 * astro::kPi * prefilter.above_limit_within);
      for (const double cosine : {at_limit, due_west, above_bound}) {
        if (!(std::fabs(cosine) <= 1)) continue;
        for (const double sign : {1.0, -1.0}) {
          const double turns = sign * std::acos(cosine) / (2 * astro::kPi);
          const double mjd0 = window.start_mjd;
          const double first =
              mjd0 + (turns - fast::hour_angle_turns(prefilter, mjd0)) / astro::kSiderealRate;
          for (int night = -2; night < 32; night += 3) {
            const double jd = first + night / astro::kSiderealRate + astro::kMjdZeroJd;
            for (const double hair : {-2e-6, -1e-8, 0.0, 1e-8, 2e-6}) instants.push_back(jd + hair);
          }
        }
      }
      // 18:00 and 6:00 JST (9:00 and 21:00 UT), to the last bit either side.
      for (int day = 0; day < 31; day += 5) {
        for (const double ut_hour : {9.0, 21.0}) {
          const double jd = std::floor(first_jd) + day + 0.5 + ut_hour / 24;
          instants.push_back(std::nextafter(jd, 0.0));
          instants.push_back(jd);
          instants.push_back(std::nextafter(jd, 3e6));
        }
      }
      for (const double jd : instants) check(jd);
    }
  }
  EXPECT_GT(answers, 60000);
  EXPECT_GT(observable, answers / 10);  // both answers well represented
  EXPECT_LT(observable, answers * 9 / 10);
}

}  // namespace

namespace {

TEST(QuickObservable, DayHoursAsTheNightDateSaysToTheLastBit) {
  // 6:00 and 18:00 JST are 21:00 and 9:00 UT: the instants a few bits either side of
  // each, and random instants of the month.
  const eclfore::SearchWindow window = eclfore::search_window(2026, 12);
  std::mt19937_64 rng(6);
  std::uniform_real_distribution<double> unit(0, 1);
  std::vector<double> instants;
  for (int day = -2; day < 34; ++day) {
    for (const double ut_hour : {9.0, 21.0}) {
      double jd = std::floor(window.start_mjd + astro::kMjdZeroJd) + day + 0.5 + ut_hour / 24;
      for (int bit = 0; bit < 4; ++bit) jd = std::nextafter(jd, 0.0);
      for (int bit = 0; bit < 8; ++bit, jd = std::nextafter(jd, 3e6)) instants.push_back(jd);
    }
  }
  for (int i = 0; i < 20000; ++i) {
    instants.push_back(window.start_mjd + astro::kMjdZeroJd + unit(rng) * 33);
  }
  for (const double jd : instants) {
    ASSERT_EQ(fast::in_jst_day_hours(jd - astro::kMjdZeroJd),
              eclfore::in_day_hours(eclfore::night_date(window, jd).hour))
        << std::hexfloat << jd;
  }
}

}  // namespace

// A stretch judged observable throughout is observable at every instant of it: random
// stretches of up to 12 hours, many starting or ending near 6:00 and 18:00 JST, near
// the hour angles of the prefilter's bound above the lowest altitude and of due east
// and west; each judged one tested every 20 seconds and at its ends.
TEST(QuickObservable, ObservableThroughoutOnlyWhereEveryInstantIs) {
  std::mt19937_64 rng(20261211);
  std::uniform_real_distribution<double> unit(0, 1);
  const formats::StarRecord base = formats::parse_star_record(eclfore_test::kExDemoLine);
  long judged = 0;
  long close = 0;  // judged stretches that end within 2 minutes of a bound's instant
  const std::vector<std::pair<eclfore::ObservingSite, float>> cases = {
      {astro::kSiteTable[2].site, 20}, {{-70.4f, -24.6f}, 0}, {{25, 69.5f}, 45}, {{0, 0}, 80}};
  for (const auto& [site, lowest] : cases) {
    eclfore::ForecastRequest request;
    request.year = 2026;
    request.month = 3;
    request.min_altitude_deg = lowest;
    request.site = site;
    const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
    const eclfore::ListingRule rule = eclfore::listing_rule(request, nullptr);
    const fast::RunTables tables = fast::run_tables(window, rule);
    const double first_jd = window.start_mjd + astro::kMjdZeroJd;
    for (int star_index = 0; star_index < 300; ++star_index) {
      const formats::StarRecord star = anywhere_in_the_sky(base, rng);
      const eclfore::StarForRule s = eclfore::star_for_rule(star, rule);
      const fast::Prefilter prefilter = fast::star_prefilter(s.seen, tables.night_slots, rule);
      // Instants where a bound lies: the hour angles of the bound above the limit and
      // of the band's ends (either side of the meridian), and 6:00 and 18:00 JST.
      std::vector<double> bounds;
      for (const double edge :
           {prefilter.above_limit_within, prefilter.band_from, prefilter.band_to}) {
        if (!(edge > 0 && edge < 0.5)) continue;
        for (const double sign : {1.0, -1.0}) {
          const double behind = sign * edge - fast::hour_angle_turns(prefilter, window.start_mjd);
          const double first =
              window.start_mjd + (behind - std::floor(behind)) / astro::kSiderealRate;
          for (int night = 0; night < 30; night += 4) {
            bounds.push_back(first + night / astro::kSiderealRate + astro::kMjdZeroJd);
          }
        }
      }
      for (int day = 0; day < 30; day += 4) {
        for (const double ut_hour : {9.0, 21.0}) {
          bounds.push_back(std::floor(first_jd) + day + 0.5 + ut_hour / 24);
        }
      }
      for (int i = 0; i < 80; ++i) {
        const double length = unit(rng) * unit(rng) * 0.6;  // up to 14.4 hours
        double from = first_jd + unit(rng) * 28;
        const bool near_bound = i % 2 == 1 && !bounds.empty();
        if (near_bound) {
          // A stretch that starts or ends a hair to 2 minutes from a bound.
          const double bound =
              bounds[static_cast<std::size_t>(unit(rng) * static_cast<double>(bounds.size()))];
          const double hair = (unit(rng) - 0.5) * 2.0 / 720;
          from = i % 4 == 1 ? bound + hair : bound + hair - length;
        }
        const double to = from + length;
        if (!fast::observable_throughout(prefilter, rule, from, to)) continue;
        ++judged;
        close += near_bound ? 1 : 0;
        const int steps = static_cast<int>(length * 24 * 180) + 1;
        for (int k = 0; k <= steps; ++k) {
          const double jd = k == steps ? to : from + length * k / steps;
          ASSERT_TRUE(eclfore::observable_at(s, window, rule, jd))
              << "site " << site.longitude_deg << "," << site.latitude_deg << " lowest " << lowest
              << " star " << star.ra_hours << " " << star.dec_degrees << " from " << from << " to "
              << to << " jd " << jd;
        }
      }
    }
  }
  EXPECT_GT(judged, 3000);
  EXPECT_GT(close, 500);
}

// Rules the hour angles alone cannot decide are never judged at once.
TEST(QuickObservable, ObservableThroughoutNeedsTheFixedNightAndNothingElse) {
  eclfore::ForecastRequest request;
  request.year = 2026;
  request.month = 12;
  request.min_altitude_deg = 10;
  request.site = astro::kSiteTable[2].site;
  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
  formats::StarRecord star = formats::parse_star_record(eclfore_test::kExDemoLine);
  star.ra_hours = 3;  // near the meridian at midnight in December, 35 degrees up
  star.dec_degrees = 0;
  // 23:00 to 1:00 JST on 15 December (14:00 to 16:00 UT).
  const double from = std::floor(window.start_mjd + astro::kMjdZeroJd) + 14.5 + 14.0 / 24;
  const double to = from + 2.0 / 24;
  auto judged = [&](const eclfore::ListingRule& rule) {
    const fast::RunTables tables = fast::run_tables(window, rule);
    const eclfore::StarForRule s = eclfore::star_for_rule(star, rule);
    return fast::observable_throughout(fast::star_prefilter(s.seen, tables.night_slots, rule), rule,
                                       from, to);
  };
  const eclfore::ListingRule plain = eclfore::listing_rule(request, nullptr);
  ASSERT_TRUE(judged(plain));
  EXPECT_FALSE(fast::observable_throughout(
      fast::star_prefilter(eclfore::star_for_rule(star, plain).seen,
                           fast::run_tables(window, plain).night_slots, plain),
      plain, from, from + 12.0 / 24));  // into the day
  // A star that never sets, from 5:50 to 18:10 JST: both ends in the night, the day
  // between them, the star just past its lower culmination at the start.
  eclfore::ForecastRequest north = request;
  north.site = {25, 69.5f};
  const eclfore::ListingRule far_north = eclfore::listing_rule(north, nullptr);
  const fast::RunTables far_north_tables = fast::run_tables(window, far_north);
  const double morning = std::floor(window.start_mjd + astro::kMjdZeroJd) + 14.5 + 20.0 / 24 +
                         50.0 / astro::kMinutesPerDay;
  formats::StarRecord polar = star;
  polar.dec_degrees = 80;
  polar.ra_hours = 0;
  auto prefilter_of = [&](const formats::StarRecord& st) {
    return fast::star_prefilter(eclfore::star_for_rule(st, far_north).seen,
                                far_north_tables.night_slots, far_north);
  };
  const double turns_of_ra0 =
      fast::hour_angle_turns(prefilter_of(polar), morning - astro::kMjdZeroJd) + 0.45;
  polar.ra_hours = static_cast<float>((turns_of_ra0 - std::floor(turns_of_ra0)) * 24);
  const fast::Prefilter polar_prefilter = prefilter_of(polar);
  EXPECT_TRUE(fast::observable_throughout(polar_prefilter, far_north, morning - 1.0 / 24,
                                          morning));  // 4:50 to 5:50
  EXPECT_FALSE(fast::observable_throughout(polar_prefilter, far_north, morning,
                                           morning + (12 * 60 + 20.0) / astro::kMinutesPerDay));
  astro::SkyOptions moon;
  moon.moon_distance_deg = 5;
  request.sky_options = moon;
  const astro::ObservingConditions sky = eclfore::window_sky(moon, window, request.site);
  EXPECT_FALSE(judged(eclfore::listing_rule(request, &sky)));
}
