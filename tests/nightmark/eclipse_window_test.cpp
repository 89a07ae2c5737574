#include "eclipse_window.h"

#include <gtest/gtest.h>

#include <cmath>

#include "e2e.h"

namespace nightmark {
namespace {

constexpr double kPeriod = 1.1952503;
constexpr double kEpochJd = 2456529.766;

StarElements rz_cas(formats::StarExtension extension) { return {kEpochJd, kPeriod, extension}; }

TEST(EclipseWindow, DurationInPercentOfThePeriodEitherSide) {
  formats::StarExtension ext;
  ext.eclipse_duration_pct = 17;
  const StarElements star = rz_cas(ext);
  const EclipseWindow primary = eclipse_window(&star, 'p', 0);
  EXPECT_TRUE(primary.from_duration);
  EXPECT_DOUBLE_EQ(primary.half_hours, 17 * kPeriod / 200 * 24);  // 2.438 h
  EXPECT_FALSE(primary.uncertainty_hours) << "no errors, no minimum instant";
  // The secondary takes the primary's duration unless it has its own.
  EXPECT_DOUBLE_EQ(eclipse_window(&star, 's', 0).half_hours, primary.half_hours);
  ext.secondary_duration_pct = 12.5;
  const StarElements own = rz_cas(ext);
  EXPECT_DOUBLE_EQ(eclipse_window(&own, 's', 0).half_hours, 12.5 * kPeriod / 200 * 24);
  EXPECT_DOUBLE_EQ(eclipse_window(&own, 'p', 0).half_hours, primary.half_hours);
}

TEST(EclipseWindow, OneHourEitherSideWithoutADuration) {
  for (const EclipseWindow& w :
       {eclipse_window(nullptr, 'p', 2461385.0), eclipse_window(nullptr, 's', 0)}) {
    EXPECT_FALSE(w.from_duration);
    EXPECT_EQ(w.half_hours, 1);
    EXPECT_FALSE(w.uncertainty_hours);
  }
  formats::StarExtension ext;
  ext.eclipse_duration_pct = 17;
  const StarElements no_period{kEpochJd, 0, ext};
  EXPECT_FALSE(eclipse_window(&no_period, 'p', 2461385.0).from_duration);
}

// sqrt(epoch_error^2 + (E x period_error)^2) with E the cycle of the minimum nearest the
// plan's instant: n for a primary, n + the secondary phase for a secondary.
TEST(EclipseWindow, UncertaintyAtTheMinimumsCycle) {
  formats::StarExtension ext;
  ext.epoch_error_days = 0.0002;
  ext.period_error_days = 3e-7;
  ext.secondary_phase = 0.4;
  const StarElements star = rz_cas(ext);
  // A few minutes off the predicted instant, as a light-time corrected list may be.
  const double primary_jd = kEpochJd + 3000 * kPeriod + 0.003;
  const auto primary = eclipse_window(&star, 'p', primary_jd).uncertainty_hours;
  ASSERT_TRUE(primary);
  EXPECT_DOUBLE_EQ(*primary, std::sqrt(0.0002 * 0.0002 + std::pow(3000 * 3e-7, 2)) * 24);
  const double secondary_jd = kEpochJd + 3000.4 * kPeriod - 0.003;
  const auto secondary = eclipse_window(&star, 's', secondary_jd).uncertainty_hours;
  ASSERT_TRUE(secondary);
  EXPECT_DOUBLE_EQ(*secondary, std::sqrt(0.0002 * 0.0002 + std::pow(3000.4 * 3e-7, 2)) * 24);
  // Either error blank: unknown.
  ext.period_error_days.reset();
  const StarElements half_known = rz_cas(ext);
  EXPECT_FALSE(eclipse_window(&half_known, 'p', primary_jd).uncertainty_hours);
  // A mistyped error of a million days widens the window by one period only.
  ext.epoch_error_days = 1e6;
  ext.period_error_days = 0;
  const StarElements mistyped = rz_cas(ext);
  EXPECT_EQ(eclipse_window(&mistyped, 'p', primary_jd).uncertainty_hours, kPeriod * 24);
}

TEST(CatalogueElements, FirstLineOfANameWithItsExtension) {
  const e2e::TempDir dir;
  const std::string rz =
      "RZ Cas                2456529.766    1.1952503 02 48 55  +69 38       EA  6.2  7.7      6 "
      "GCVS";
  formats::StarExtension ext;
  ext.eclipse_duration_pct = 17;
  ext.epoch_error_days = 0.0002;
  dir.write("star.dat", rz + formats::format_star_extension(ext) + "\r\n" + rz +
                            " 99\r\n"
                            "short line\r\n");
  const auto stars = catalogue_elements((dir.path() / "star.dat").string());
  ASSERT_EQ(stars.size(), 1u);
  const StarElements& star = stars.at("RZ Cas");
  EXPECT_EQ(star.period_days, kPeriod);
  EXPECT_NEAR(star.epoch_jd, kEpochJd, 1e-6);
  EXPECT_EQ(star.extension, ext);
  EXPECT_TRUE(catalogue_elements((dir.path() / "none.dat").string()).empty());
}

}  // namespace
}  // namespace nightmark
