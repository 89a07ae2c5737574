#include "coverage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

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

TEST(CoverageInstants, EndsMinimumAndStepsOfAtMostFiveMinutes) {
  const std::vector<double> at = coverage_instants(24.47, window_of(1.3, 0.2));
  ASSERT_GE(at.size(), 3u);
  EXPECT_DOUBLE_EQ(at.front(), 24.47 - 1.5) << "widened by the uncertainty";
  EXPECT_DOUBLE_EQ(at.back(), 24.47 + 1.5);
  EXPECT_NE(std::find(at.begin(), at.end(), 24.47), at.end());
  for (std::size_t i = 1; i < at.size(); ++i) {
    EXPECT_GT(at[i], at[i - 1]);
    EXPECT_LE(at[i] - at[i - 1], kCoverageStepHours * (1 + 1e-12)) << i;
  }
  EXPECT_EQ(at.size(), 37u) << "18 steps of 5 minutes either side, and the last end";
  // Without a duration: the minimum alone.
  EXPECT_EQ(coverage_instants(24.47, EclipseWindow{}), std::vector<double>{24.47});
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
// lost, the 5-minute step from 19:25 to 19:30 half: 84.7 percent.
TEST(ObservablePercent, FromTheStartTimeOn) {
  ListedMinimum x_tri = read_listed_minimum(kXTriLine);
  x_tri.time_hours = 20.5f;
  const double percent =
      observable_percent(kDecember10, start_time_hours(19, 30), kTokyo, x_tri, window_of(1.5));
  EXPECT_NEAR(percent, (3 - 0.5 + 1.0 / 24) / 3 * 100, 1e-9);
  EXPECT_EQ(judge_coverage(kDecember10, start_time_hours(19, 0), false, kTokyo, x_tri,
                           window_of(1.5), 85),
            Verdict::kKept);
  EXPECT_EQ(judge_coverage(kDecember10, start_time_hours(19, 30), false, kTokyo, x_tri,
                           window_of(1.5), 85),
            Verdict::kShortCoverage);
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
  EXPECT_EQ(observable_percent(kDecember10, start, kTokyo, ai_dra, window_of(2.6), nullptr, &wall),
            0);
}

TEST(JudgeCoverage, NotANumberIsSaid) {
  ListedMinimum m = read_listed_minimum(kWUmaLine);
  m.ra_hours = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(judge_coverage(kDecember10, 18, false, kTokyo, m, window_of(1), 0),
            Verdict::kNotANumber);
}

}  // namespace
}  // namespace nightmark
