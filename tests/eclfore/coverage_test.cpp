// The eclipse window of a minimum and its observable share: the extent from the line's
// duration and errors, the share found to the minute from steps of at most 5 minutes.
#include "coverage.h"

#include <gtest/gtest.h>

#include <cmath>

#include "formats/catalogue.h"
#include "worked_example.h"

namespace {

using eclfore::kCoverageResolutionDays;
using eclfore::observable_share_pct;

constexpr double kMinute = 1.0 / 1440;

TEST(EclipseExtent, DurationOfEachEclipseAndTheUncertaintyOfItsCycle) {
  formats::StarRecord star = formats::parse_star_record(eclfore_test::kExDemoLine);
  star.period = 2;
  star.epoch_mjd = 50000;
  // No duration, no errors: nothing known, the cycle still counted.
  eclfore::EclipseExtent extent =
      eclfore::eclipse_extent(star, eclfore::MinimumKind::kPrimary, 50000 + 2 * 10);
  EXPECT_FALSE(extent.half_days);
  EXPECT_FALSE(extent.uncertainty_days);
  EXPECT_EQ(extent.cycles, 10);
  star.extension.eclipse_duration_pct = 10;
  star.extension.epoch_error_days = 0.003;
  star.extension.period_error_days = 0.0004;
  extent = eclfore::eclipse_extent(star, eclfore::MinimumKind::kPrimary, 50000 + 2 * 10);
  EXPECT_DOUBLE_EQ(*extent.half_days, 0.1);           // 10 % of 2 days, halved
  EXPECT_DOUBLE_EQ(*extent.uncertainty_days, 0.005);  // sqrt(0.003^2 + (10 x 0.0004)^2)
  // The secondary takes the primary's duration until its own is given, and counts n + 0.5.
  extent = eclfore::eclipse_extent(star, eclfore::MinimumKind::kSecondary, 50000 + 2 * 10.5);
  EXPECT_DOUBLE_EQ(*extent.half_days, 0.1);
  EXPECT_EQ(extent.cycles, 10.5);
  star.extension.secondary_duration_pct = 6;
  extent = eclfore::eclipse_extent(star, eclfore::MinimumKind::kSecondary, 50000 + 2 * 10.5);
  EXPECT_DOUBLE_EQ(*extent.half_days, 0.06);
  EXPECT_DOUBLE_EQ(eclfore::judged_half_days(extent, 36), 0.06 + *extent.uncertainty_days + 0.025);
  // One error blank: the uncertainty is unknown and the window not widened.
  star.extension.period_error_days.reset();
  extent = eclfore::eclipse_extent(star, eclfore::MinimumKind::kPrimary, 50000);
  EXPECT_FALSE(extent.uncertainty_days);
  EXPECT_DOUBLE_EQ(eclfore::judged_half_days(extent, 0), 0.1);
}

TEST(ObservableShare, WholeNoneAndAChangeFoundToTheMinute) {
  const double from = 2461385.0;
  const double to = from + 0.125;  // 3 hours
  const double middle = from + 0.0625;
  int calls = 0;
  auto always = [&](double) {
    ++calls;
    return true;
  };
  EXPECT_EQ(observable_share_pct(from, middle, to, always), 100);  // exactly
  EXPECT_EQ(calls, 37);  // both ends, the minimum and 5-minute steps: 18 on each side + 1
  EXPECT_NEAR(observable_share_pct(from, middle, to, [](double) { return false; }), 0, 1e-9);
  // Observable from 40 minutes 20 seconds on (dusk): the change lies between two steps and
  // is found to the minute.
  for (const double dusk_min : {40.33, 0.5, 179.6, 90.0, 2.0}) {
    const double dusk = from + dusk_min * kMinute;
    const double share =
        observable_share_pct(from, middle, to, [&](double jd) { return jd >= dusk; });
    EXPECT_NEAR(share, 100 * (180 - dusk_min) / 180, 100 * kCoverageResolutionDays / 0.125)
        << dusk_min;
  }
  // Hidden from 50 to 120 minutes (a tree), observable on both sides.
  const double share = observable_share_pct(from, middle, to, [&](double jd) {
    return jd < from + 50 * kMinute || jd >= from + 120 * kMinute;
  });
  EXPECT_NEAR(share, 100 * 110.0 / 180, 100 * kCoverageResolutionDays / 0.125);
}

TEST(ObservableShare, AGapShorterThanAStepIsNotSeenAndAnEmptyWindowIsItsMiddle) {
  const double from = 2461385.0;
  const double middle = from + 0.0625;
  const double to = from + 0.125;
  // Steps are at most 5 minutes: a 2-minute gap between two tested instants passes unseen,
  // as the tests at the ends, the minimum and the steps promise no more.
  const double step = (middle - from) / std::ceil((middle - from) / eclfore::kCoverageStepDays);
  const double gap_from = from + step * 3 + 1.5 * kMinute;
  EXPECT_EQ(
      observable_share_pct(from, middle, to,
                           [&](double jd) { return jd < gap_from || jd > gap_from + 2 * kMinute; }),
      100);
  EXPECT_EQ(observable_share_pct(middle, middle, middle, [](double) { return true; }), 100);
  EXPECT_EQ(observable_share_pct(middle, middle, middle, [](double) { return false; }), 0);
}

}  // namespace
