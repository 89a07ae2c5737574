#include "coverage.h"

#include <gtest/gtest.h>

#include <limits>

#include "astro/window_share.h"
#include "chart_samples.h"
#include "plan_entry.h"

namespace nightmark {
namespace {

constexpr NightDate kDecember10{2026, 12, 10};
const PlanSite kTokyo = plan_site(astro::kBuiltInSite);

// Lines of the daily list of 2026-12-10 from the sample catalogue (forecast for Tokyo).
constexpr const char* kWUmaLine =
    "W UMa               GCVS s 24.47  EW   48    9 43    55 57   7.8  8.5    0.33363749  "
    "2445765.7385 2461385.1444";
constexpr const char* kXTriLine =
    "X Tri               GCVS s 20.83  EA   80    2  0    27 53   8.6 11.3     0.9715352   "
    "2442502.721 2461384.9934";
constexpr const char* kAiDraLine =
    "AI Dra              GCVS p 29.10  EA   25   16 56    52 42   7.0  8.1     1.1988146   "
    "2443291.627 2461385.3372";

EclipseWindow window_of(double half_hours, std::optional<double> uncertainty = std::nullopt) {
  return {half_hours, true, uncertainty};
}

// W UMa on 2026-12-10: low in the north-east at 18:00, 48 degrees up at its minimum at
// 00:28. The altitude at the start drops it; its window kept with --coverage.
TEST(JudgeCoverage, KeepsAStarLowAtTheStartButUpForItsEclipse) {
  const ListedMinimum w_uma = read_listed_minimum(kWUmaLine);
  const float start = start_time_hours(18, 0);
  EXPECT_EQ(judge_minimum(kDecember10, start, false, kTokyo, w_uma), Verdict::kLowAtStart);
  EXPECT_EQ(judge_coverage(kDecember10, start, false, kTokyo, w_uma, EclipseWindow{}, 100),
            Verdict::kKept)
      << "without a duration judged at the minimum";
  EXPECT_EQ(observable_percent(kDecember10, start, kTokyo, w_uma, window_of(1.2, 0.1)), 100);
  EXPECT_EQ(judge_coverage(kDecember10, start, false, kTokyo, w_uma, window_of(1.2), 100),
            Verdict::kKept);
  // The lead is still asked.
  EXPECT_EQ(
      judge_coverage(kDecember10, start_time_hours(24, 0), false, kTokyo, w_uma, window_of(1.2), 0),
      Verdict::kTooSoon);
  // South only: at 00:28 W UMa stands in the north-east.
  EXPECT_EQ(judge_coverage(kDecember10, start, true, kTokyo, w_uma, window_of(1.2), 100),
            Verdict::kOutsideSouth);
}

// X Tri stands high from 19:00 to 22:00: before a start at 19:30 its window counts as
// lost. The start lies on a 5-minute step; halving the step before it to 37.5 seconds,
// 19:29:22.5 to 19:30, takes the change at 19:29:41.25: 83.5 percent (linear between
// the steps, 84.7).
TEST(ObservablePercent, FromTheStartTimeOn) {
  ListedMinimum x_tri = read_listed_minimum(kXTriLine);
  x_tri.time_hours = 20.5f;
  const double percent =
      observable_percent(kDecember10, start_time_hours(19, 30), kTokyo, x_tri, window_of(1.5));
  EXPECT_NEAR(percent, (180 - 29.6875) / 180 * 100, 1e-9);
  // The uncertainty widens the window as the half eclipse does.
  EXPECT_NEAR(
      observable_percent(kDecember10, start_time_hours(19, 30), kTokyo, x_tri, window_of(1.3, 0.2)),
      percent, 1e-9);
  // Without a duration, the minimum at 20:30 alone: all or nothing.
  EXPECT_EQ(
      observable_percent(kDecember10, start_time_hours(19, 30), kTokyo, x_tri, EclipseWindow{}),
      100);
  EXPECT_EQ(
      observable_percent(kDecember10, start_time_hours(20, 31), kTokyo, x_tri, EclipseWindow{}), 0);
  EXPECT_EQ(judge_coverage(kDecember10, start_time_hours(19, 0), false, kTokyo, x_tri,
                           window_of(1.5), 85),
            Verdict::kKept);
  EXPECT_EQ(judge_coverage(kDecember10, start_time_hours(19, 30), false, kTokyo, x_tri,
                           window_of(1.5), 83.5),
            Verdict::kKept);
  EXPECT_EQ(judge_coverage(kDecember10, start_time_hours(19, 30), false, kTokyo, x_tri,
                           window_of(1.5), 84),
            Verdict::kShortCoverage);
}

// A start at 19:27, between the steps at 19:25 and 19:30, is found to the minute as
// eclfore finds a change in its window of Julian Dates: the same share.
TEST(ObservablePercent, AStartBetweenTwoStepsIsFoundToTheMinuteAsInEclfore) {
  ListedMinimum x_tri = read_listed_minimum(kXTriLine);
  x_tri.time_hours = 20.5f;
  const float start = start_time_hours(19, 27);
  const double percent = observable_percent(kDecember10, start, kTokyo, x_tri, window_of(1.5));
  // Halved to 19:26:52.5 - 19:27:30, the change taken at 19:27:11.25.
  EXPECT_NEAR(percent, (180 - 27.1875) / 180 * 100, 1e-9);
  EXPECT_NEAR(percent, (180 - 27.0) / 180 * 100, 100 * 0.5 / 180) << "within half a minute";
  const double start_jd = night_jd(kDecember10, start);
  const double days_percent = astro::observable_share_pct(
      night_jd(kDecember10, 19), night_jd(kDecember10, 20.5f), night_jd(kDecember10, 22),
      astro::kWindowInDays, [&](double jd) { return jd >= start_jd; });
  // Apart by the rounding of Julian Dates near 2.46 million days, 40 microseconds
  // (measured 2.5e-7 percent).
  EXPECT_NEAR(percent, days_percent, 2e-6);
}

// AI Dra's minimum at 05:06: a window of 2.6 hours either side starts with the star
// below 10 degrees in the north (it rises through 10 degrees about 03:00) and runs into
// the morning twilight (the Sun 6 degrees down about 06:10 in Tokyo in December).
TEST(ObservablePercent, TheMorningTwilightEndsTheNight) {
  const ListedMinimum ai_dra = read_listed_minimum(kAiDraLine);
  const float start = start_time_hours(18, 0);
  const double percent = observable_percent(kDecember10, start, kTokyo, ai_dra, window_of(2.6));
  EXPECT_GT(percent, 55);
  EXPECT_LT(percent, 70);
  EXPECT_EQ(judge_coverage(kDecember10, start, false, kTokyo, ai_dra, window_of(2.6), 100),
            Verdict::kShortCoverage);
  // A skyline higher than the star everywhere hides the whole window.
  const astro::HorizonProfile wall = astro::horizon_profile({{0, 89}});
  // Hidden time summed over the steps: 0 but for its roundings.
  EXPECT_NEAR(
      observable_percent(kDecember10, start, kTokyo, ai_dra, window_of(2.6), nullptr, &wall), 0,
      1e-9);
}

TEST(JudgeCoverage, NotANumberIsSaid) {
  ListedMinimum m = read_listed_minimum(kWUmaLine);
  m.ra_hours = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(judge_coverage(kDecember10, 18, false, kTokyo, m, window_of(1), 0),
            Verdict::kNotANumber);
}

}  // namespace
}  // namespace nightmark
