// The listing rule at its edges: the night's first and last minutes, the night date
// across the month's ends, the horizon and the lowest altitude, and what the options for
// today's sky change.
#include "listing_rule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "formats/catalogue.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

/// A star near the celestial pole: 34 to 37 degrees high all night at Tokyo.
formats::StarRecord polar_star() {
  formats::StarRecord star = formats::parse_star_record(eclfore_test::kExDemoLine);
  star.dec_degrees = 89;
  return star;
}

using eclfore_test::tokyo_october_2006;
using eclfore_test::tokyo_october_2006_rule;

/// The night date (year, month, day, hour) of what the rule lists at `mjd`, or "-".
std::string listed_at(const eclfore::ListingRule& rule, double mjd) {
  const formats::StarRecord star = polar_star();
  const eclfore::StarForRule s = eclfore::star_for_rule(star, rule);
  const std::optional<eclfore::ForecastMinimum> m = eclfore::listed_minimum(
      s, eclfore::search_window(2006, 10), rule, eclfore::MinimumKind::kPrimary, mjd);
  if (!m) return "-";
  return std::to_string(m->night.year) + "/" + std::to_string(m->night.month) + "/" +
         std::to_string(m->night.day) + " " + std::to_string(m->night.hour);
}

TEST(ListingRule, TheNightsOfTheAskedMonth) {
  const eclfore::ListingRule rule = tokyo_october_2006_rule(20);
  const double a_minute = 1.0 / 1440;
  // MJD 54023 is 2006-10-15 0:00 UT, 9:00 JST; the night runs from 18:00 to 05:59 JST.
  EXPECT_EQ(listed_at(rule, 54023.375 - a_minute), "-");  // 17:59
  EXPECT_EQ(listed_at(rule, 54023.375), "2006/10/15 18");
  EXPECT_EQ(listed_at(rule, 54023.875 - a_minute), "2006/10/15 29");  // 05:59 on the 16th
  EXPECT_EQ(listed_at(rule, 54023.875), "-");                         // 06:00
  // 02:00 JST on 1 November is the night of 31 October; 18:00 that day is November's.
  EXPECT_EQ(listed_at(rule, 54039 + 17.0 / 24), "2006/10/31 26");
  EXPECT_EQ(listed_at(rule, 54040.375), "-");
  // 02:00 JST on 1 October is the night of 30 September.
  EXPECT_EQ(listed_at(rule, 54008 + 17.0 / 24), "-");
  EXPECT_EQ(listed_at(rule, 54009.375), "2006/10/1 18");
}

TEST(ListingRule, HighEnoughIsAboveTheHorizonAndTheLowestAltitude) {
  const eclfore::ListingRule at_20 = tokyo_october_2006_rule(20);
  EXPECT_TRUE(eclfore::high_enough(at_20, 20.0f));
  EXPECT_FALSE(eclfore::high_enough(at_20, std::nextafter(20.0f, 0.0f)));
  EXPECT_FALSE(eclfore::high_enough(at_20, std::nanf("")));
  // A lowest altitude below the horizon still asks for the horizon.
  const eclfore::ListingRule below = tokyo_october_2006_rule(-5);
  EXPECT_TRUE(eclfore::high_enough(below, -0.0f));
  EXPECT_FALSE(eclfore::high_enough(below, -0.1f));
  EXPECT_EQ(below.least_altitude_deg(), 0);
  EXPECT_FALSE(eclfore::high_enough(tokyo_october_2006_rule(std::nanf("")), 45.0f));
  // The polar star stands 34 to 37 degrees high: listed at 30, not at 40.
  EXPECT_NE(listed_at(tokyo_october_2006_rule(30), 54023.5), "-");
  EXPECT_EQ(listed_at(tokyo_october_2006_rule(40), 54023.5), "-");
}

TEST(ListingRule, WhatTheOptionsChange) {
  const eclfore::ListingRule plain = tokyo_october_2006_rule(20);
  EXPECT_EQ(plain.sky, nullptr);
  EXPECT_FALSE(plain.moved_instant || plain.sun_night || plain.of_date || plain.moon);
  EXPECT_EQ(plain.most_shift_days, 0);
  EXPECT_EQ(plain.morning_end_hour, astro::kFixedNightMorningEndHour);

  eclfore::ForecastRequest request = tokyo_october_2006(20);
  request.sky_options.sun_below_deg = astro::kNauticalTwilightDeg;
  request.sky_options.epochs = astro::EpochScale::kHjd;
  const astro::ObservingConditions sky =
      eclfore::window_sky(request.sky_options, eclfore::search_window(2006, 10), request.site);
  const eclfore::ListingRule rule = eclfore::listing_rule(request, &sky);
  EXPECT_EQ(rule.sky, &sky);
  EXPECT_TRUE(rule.moved_instant && rule.sun_night);
  EXPECT_FALSE(rule.of_date || rule.moon);
  EXPECT_EQ(rule.morning_end_hour, astro::kSunNightMorningEndHour);
  // The light time across the Earth's orbit: 8.3 minutes at most, with room.
  EXPECT_GT(rule.most_shift_days, 0.0057);
  EXPECT_LT(rule.most_shift_days, 0.01);
  // With the Sun's night the day hours are left to the Sun: noon is the night date's
  // hour 12, where the Sun rejects what the fixed night rejects by the hour.
  EXPECT_TRUE(eclfore::in_day_hours(12));
  EXPECT_FALSE(eclfore::in_listed_night(plain, {2006, 10, 15, 12, 0}));
  EXPECT_TRUE(eclfore::in_listed_night(rule, {2006, 10, 15, 12, 0}));
  EXPECT_EQ(listed_at(rule, 54023.125), "-");
}

}  // namespace
