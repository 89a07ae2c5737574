// The quick altitude decides as the horizon routines do: at hour angles
// where the altitude lies within a hair of a printed tenth's boundary or of the lowest
// altitude, near due east and west, near the zenith and the horizon.
#include "fast/quick_altitude.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "astro/constants.h"
#include "fast/prefilter.h"
#include "listing_rule.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

namespace fast = eclfore::fast;

/// The altitude field as the line prints it from the horizon routines' altitude.
std::string printed(float altitude_deg) {
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", static_cast<double>(altitude_deg));
  return text;
}

TEST(QuickAltitude, DecidesAsTheHorizonRoutines) {
  std::mt19937_64 rng(20061002);
  std::uniform_real_distribution<double> unit(0, 1);
  const float limits[] = {-5.0f, 0.0f, 0.05f, 20.0f, 20.05f, 45.25f, 88.95f, 89.0f};
  long listed = 0;
  long below = 0;
  long unsure = 0;
  long samples = 0;
  for (const float limit : limits) {
    const eclfore::ListingRule rule = eclfore_test::tokyo_october_2006_rule(limit);
    const fast::AltitudeCells cells = fast::altitude_cells(rule);
    ASSERT_TRUE(cells.usable);
    for (int s = 0; s < 400; ++s) {
      const auto latitude = static_cast<float>(unit(rng) * 170 - 85);
      const auto longitude = static_cast<float>(unit(rng) * 360 - 180);
      const auto ra = static_cast<float>(unit(rng) * 2 * astro::kPi);
      auto dec = static_cast<float>(std::asin(2 * unit(rng) - 1));
      if (s % 10 == 0) dec = latitude * static_cast<float>(astro::kPi / 180);  // the zenith
      const astro::StarAtSite seen =
          astro::star_at_site(longitude, static_cast<float>(latitude * astro::kPi / 180), ra, dec);
      const eclfore::SearchWindow window = eclfore::search_window(2006, 10);
      const fast::NightSlots slots = fast::night_slots(window, rule);
      const fast::Prefilter prefilter = fast::star_prefilter(seen, slots, rule);
      if (!prefilter.hour_angle_known) continue;
      const astro::HorizonTerms& t = seen.terms;
      for (int i = 0; i < 250; ++i) {
        // An altitude close to a boundary of a printed tenth or to the limit, and the
        // hour angle (either side of the meridian) that gives it.
        double target = (std::floor(unit(rng) * 900) + 0.5) / 10;
        if (i % 5 == 0) target = std::max(limit, 0.0f);
        target += (unit(rng) - 0.5) * (i % 2 ? 1e-5 : 1e-3);
        const double c =
            (std::sin(target * astro::kPi / 180) - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
        if (!(std::fabs(c) <= 1)) continue;
        const double turns = (i % 4 < 2 ? 1 : -1) * std::acos(c) / (2 * astro::kPi);
        const double mjd =
            54000 + (turns - fast::hour_angle_turns(prefilter, 54000)) / astro::kSiderealRate;
        const fast::QuickAltitude quick =
            fast::quick_altitude(cells, t, fast::hour_angle_turns(prefilter, mjd));
        const astro::HorizontalPosition exact = astro::position_at(seen, mjd);
        const bool accepted = eclfore::high_enough(rule, exact.altitude);
        ++samples;
        switch (quick.verdict) {
          case fast::QuickAltitude::Verdict::kBelow:
            ++below;
            ASSERT_FALSE(accepted) << limit << " " << exact.altitude;
            break;
          case fast::QuickAltitude::Verdict::kListed: {
            ++listed;
            ASSERT_TRUE(accepted) << limit << " " << exact.altitude;
            char expected[32];
            std::snprintf(expected, sizeof expected, "%2d.%d", quick.tenths / 10,
                          quick.tenths % 10);
            ASSERT_EQ(printed(exact.altitude), expected) << exact.altitude;
            break;
          }
          case fast::QuickAltitude::Verdict::kUnsure:
            ++unsure;
            break;
        }
      }
    }
  }
  // The samples lie within 5e-4 degrees of a decision: many are still decided, and
  // those within 5e-6 mostly are not.
  EXPECT_GT(samples, 350000);
  EXPECT_GT(listed, samples / 6);
  EXPECT_GT(below, samples / 50);
  EXPECT_GT(unsure, samples / 10);
}

TEST(QuickAltitude, LimitsBeyondItsReachLeaveEverythingToTheRoutines) {
  EXPECT_TRUE(fast::altitude_cells(eclfore_test::tokyo_october_2006_rule(89.0f)).usable);
  EXPECT_FALSE(fast::altitude_cells(eclfore_test::tokyo_october_2006_rule(89.5f)).usable);
  EXPECT_FALSE(fast::altitude_cells(eclfore_test::tokyo_october_2006_rule(std::nanf(""))).usable);
  const fast::AltitudeCells none =
      fast::altitude_cells(eclfore_test::tokyo_october_2006_rule(95.0f));
  const astro::HorizonTerms terms = astro::horizon_terms(0.6f, 0.6f);
  EXPECT_EQ(fast::quick_altitude(none, terms, 0.0).verdict, fast::QuickAltitude::Verdict::kUnsure);
}

}  // namespace
