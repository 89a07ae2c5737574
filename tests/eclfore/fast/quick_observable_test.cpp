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
      formats::StarRecord star = base;
      star.ra_hours = static_cast<float>(unit(rng) * 24);
      star.dec_degrees = static_cast<float>(std::asin(2 * unit(rng) - 1) * 180 / astro::kPi);
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
      // The hour angles of the lowest altitude and of due east and west, each of the
      // month's nights, and a hair either side.
      const astro::HorizonTerms& t = s.seen.terms;
      const double limit_rad = std::max(c.lowest_deg, 0.0f) * astro::kPi / 180;
      const double at_limit = (std::sin(limit_rad) - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
      const double due_west = -t.minus_cos_phi_sin_delta / t.sin_phi_cos_delta;
      for (const double cosine : {at_limit, due_west}) {
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
