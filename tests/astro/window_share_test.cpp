// The observable share of a window: the instants tested, the share found to the minute
// from steps of at most 5 minutes, the early stop, and the same share whether the caller
// counts in days (eclfore's Julian Dates) or in hours (nightmark's hours of the night).
#include "astro/window_share.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using astro::kWindowInDays;
using astro::kWindowInHours;
using astro::observable_share_pct;

constexpr double kMinute = 1.0 / 1440;  // days

TEST(ObservableShare, TestsTheEndsTheMiddleAndStepsOfAtMostFiveMinutes) {
  // W UMa's minimum at 24.47 hours of the night, the window 1.5 hours either side.
  std::vector<double> at;
  const double share =
      observable_share_pct(24.47 - 1.5, 24.47, 24.47 + 1.5, kWindowInHours, [&](double hours) {
        at.push_back(hours);
        return true;
      });
  EXPECT_EQ(share, 100);  // exactly
  ASSERT_EQ(at.size(), 37u) << "18 steps of 5 minutes either side, and the last end";
  EXPECT_EQ(at.front(), 24.47 - 1.5);
  EXPECT_EQ(at[18], 24.47) << "the minimum itself";
  EXPECT_EQ(at.back(), 24.47 + 1.5);
  for (std::size_t i = 1; i < at.size(); ++i) {
    EXPECT_GT(at[i], at[i - 1]) << i;
    EXPECT_LE(at[i] - at[i - 1], 5.0 / 60 * (1 + 1e-12)) << i;
  }
  // A minimum off the middle: each side gets its own equal steps.
  at.clear();
  EXPECT_EQ(observable_share_pct(20.0, 20.3, 21.0, kWindowInHours,
                                 [&](double hours) {
                                   at.push_back(hours);
                                   return true;
                                 }),
            100);
  ASSERT_EQ(at.size(), 1u + 4 + 9);  // 0.3 hour in 4 steps, 0.7 hour in 9
  EXPECT_EQ(at[4], 20.3);
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
  EXPECT_EQ(observable_share_pct(from, middle, to, kWindowInDays, always), 100);  // exactly
  EXPECT_EQ(calls, 37);  // both ends, the minimum and 5-minute steps: 18 on each side + 1
  EXPECT_NEAR(observable_share_pct(from, middle, to, kWindowInDays, [](double) { return false; }),
              0, 1e-9);
  // Observable from 40 minutes 20 seconds on (dusk): the change lies between two steps and
  // is found to the minute.
  for (const double dusk_min : {40.33, 0.5, 179.6, 90.0, 2.0}) {
    const double dusk = from + dusk_min * kMinute;
    const double share = observable_share_pct(from, middle, to, kWindowInDays,
                                              [&](double jd) { return jd >= dusk; });
    EXPECT_NEAR(share, 100 * (180 - dusk_min) / 180, 100 * kWindowInDays.resolution / 0.125)
        << dusk_min;
  }
  // Hidden from 50 to 120 minutes (a tree), observable on both sides.
  const double share = observable_share_pct(from, middle, to, kWindowInDays, [&](double jd) {
    return jd < from + 50 * kMinute || jd >= from + 120 * kMinute;
  });
  EXPECT_NEAR(share, 100 * 110.0 / 180, 100 * kWindowInDays.resolution / 0.125);
}

TEST(ObservableShare, AGapShorterThanAStepIsNotSeenAndAnEmptyWindowIsItsMiddle) {
  const double from = 2461385.0;
  const double middle = from + 0.0625;
  const double to = from + 0.125;
  // Steps are at most 5 minutes: a 2-minute gap between two tested instants passes unseen,
  // as the tests at the ends, the minimum and the steps promise no more.
  const double step = (middle - from) / std::ceil((middle - from) / kWindowInDays.step);
  const double gap_from = from + step * 3 + 1.5 * kMinute;
  EXPECT_EQ(
      observable_share_pct(from, middle, to, kWindowInDays,
                           [&](double jd) { return jd < gap_from || jd > gap_from + 2 * kMinute; }),
      100);
  EXPECT_EQ(
      observable_share_pct(middle, middle, middle, kWindowInDays, [](double) { return true; }),
      100);
  EXPECT_EQ(
      observable_share_pct(middle, middle, middle, kWindowInDays, [](double) { return false; }), 0);
}

TEST(ObservableShare, StopsOnceTheLeastAskedIsOutOfReach) {
  const double from = 2461385.0;
  const double middle = from + 0.0625;
  const double to = from + 0.125;
  // Hidden for the first 60 minutes: 66.7 percent.
  int calls = 0;
  auto after_an_hour = [&](double jd) {
    ++calls;
    return jd >= from + 60.4 * kMinute;
  };
  const double whole = observable_share_pct(from, middle, to, kWindowInDays, after_an_hour);
  const int all_calls = calls;
  // Reachable: the same share, counted to the end.
  calls = 0;
  EXPECT_EQ(observable_share_pct(from, middle, to, kWindowInDays, after_an_hour, whole), whole);
  EXPECT_EQ(calls, all_calls);
  // Out of reach: a share below the least asked, found before the window's end.
  calls = 0;
  const double stopped = observable_share_pct(from, middle, to, kWindowInDays, after_an_hour, 90);
  EXPECT_LT(stopped, 90);
  EXPECT_GE(stopped, whole);
  EXPECT_EQ(calls, 5);  // the first end and 4 steps: 20 minutes hidden leave below 90
}

// eclfore counts a window in Julian Dates, nightmark in hours of the night; the same
// window with the same changes of visibility, each between two 5-minute steps, gives
// the same share in both, each change found to the minute.
TEST(ObservableShare, DaysAndHoursGiveTheSameShare) {
  const double night_zero_jd = 2461384.875;  // 0 hours of the night
  const double from_hours = 22.97;
  const double minimum_hours = 24.47;
  const double to_hours = 25.97;
  auto to_jd = [&](double hours) { return night_zero_jd + hours / 24; };
  // Hidden behind a roof from 23:13:20 to 23:51:40, and after 25:41:10 (dawn).
  const double roof_from = 23 + 13.0 / 60 + 20.0 / 3600;
  const double roof_to = 23 + 51.0 / 60 + 40.0 / 3600;
  const double dawn = 25 + 41.0 / 60 + 10.0 / 3600;
  auto in_hours = [&](double hours) {
    return (hours < roof_from || hours >= roof_to) && hours < dawn;
  };
  auto in_days = [&](double jd) {
    return (jd < to_jd(roof_from) || jd >= to_jd(roof_to)) && jd < to_jd(dawn);
  };
  const double hours_share =
      observable_share_pct(from_hours, minimum_hours, to_hours, kWindowInHours, in_hours);
  const double days_share = observable_share_pct(to_jd(from_hours), to_jd(minimum_hours),
                                                 to_jd(to_hours), kWindowInDays, in_days);
  // Both halve the same steps to the same last stretch; they differ only by the rounding
  // of Julian Dates near 2.46 million days, 40 microseconds (measured 5.0e-7 percent).
  EXPECT_NEAR(hours_share, days_share, 2e-6);
  // Hidden 38 min 20 s and 16 min 50 s of the 180 minutes: 69.4 percent, each change
  // within half a minute.
  const double true_share = 100 * (180 - (38 + 20.0 / 60) - (16 + 50.0 / 60)) / 180;
  EXPECT_NEAR(hours_share, true_share, 100 * 3 * 0.5 / 180);
}

TEST(ObservableShare, AWindowOfCenturiesIsTestedInBoundedSteps) {
  // The window of a mistyped line, 2 million days either side, observable from its
  // first 30 percent on: its 1.15 billion 5-minute steps are 400,000 equal steps of 10
  // days (some milliseconds of tests, not hours), the change found to a fifth of one.
  const double middle = 2461385.25;
  const double from = middle - 2e6;
  const double change = from + 0.3 * 4e6;
  long tests = 0;
  auto late = [&](double jd) {
    ++tests;
    return jd >= change;
  };
  const double share = observable_share_pct(from, middle, middle + 2e6, kWindowInDays, late);
  EXPECT_NEAR(share, 70, 100 * 1.0 / 4e6);  // half of a fifth of a step
  EXPECT_LT(tests, 400001 + 5);

  // A period typed as 1e300 days, the star's observability changing within every step:
  // a few halvings a change, not a thousand.
  const double step = 1e300 / 200000;
  tests = 0;
  auto flickering = [&](double t) {
    ++tests;
    return std::fmod(std::floor(t / (0.7 * step)), 2) == 0;
  };
  const double flickering_share = observable_share_pct(-1e300, 0, 1e300, kWindowInDays, flickering);
  EXPECT_NEAR(flickering_share, 50, 10);  // about half: steps of 0.7 flickers alias
  EXPECT_LT(tests, 400001 * 5);
}

}  // namespace
