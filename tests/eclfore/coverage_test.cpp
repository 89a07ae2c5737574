// The eclipse window of a minimum: the extent from the line's duration and errors (its
// observable share is tested with astro's window_share).
#include "coverage.h"

#include <gtest/gtest.h>

#include "formats/catalogue.h"
#include "worked_example.h"

namespace {

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

}  // namespace
