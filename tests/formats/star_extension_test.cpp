#include "formats/star_extension.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats/layouts.h"

namespace {

using astro::EpochScale;
using formats::parse_star_extension;
using formats::StarExtension;

// A line of the catalogue as it ends at the catalogue field.
const std::string kTodayLine =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

// The extension texts below follow kTodayLine from column 94: the fields at columns 95-99,
// 101-105, 107-112, 114-123, 125-136 and 138-140 are their characters 1-5, 7-11, 13-18,
// 20-29, 31-42 and 44-46.
const std::string kExtended = kTodayLine + "  12.5  13.2 0.4132    0.00012   0.00000031 HJD";

std::vector<std::string> problems_of(const std::string& extension) {
  std::vector<std::string> problems;
  parse_star_extension(kTodayLine + extension, &problems);
  return problems;
}

TEST(StarExtension, ALineOfTodayOrBlankColumnsHaveEveryFieldUnknown) {
  std::vector<std::string> problems;
  EXPECT_EQ(parse_star_extension(kTodayLine, &problems), StarExtension{});
  EXPECT_EQ(parse_star_extension(kTodayLine + std::string(60, ' '), &problems), StarExtension{});
  EXPECT_EQ(parse_star_extension(kTodayLine.substr(0, 82), &problems), StarExtension{});
  EXPECT_TRUE(problems.empty());
}

TEST(StarExtension, ReadsEveryFieldFromItsColumns) {
  ASSERT_EQ(kExtended.size(), static_cast<std::size_t>(formats::star_line::kExtendedLineChars));
  std::vector<std::string> problems;
  const StarExtension e = parse_star_extension(kExtended, &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(e.eclipse_duration_pct, 12.5);
  EXPECT_EQ(e.secondary_duration_pct, 13.2);
  EXPECT_EQ(e.secondary_phase, 0.4132);
  EXPECT_EQ(e.epoch_error_days, 0.00012);
  EXPECT_EQ(e.period_error_days, 0.00000031);
  EXPECT_EQ(e.time_scale, EpochScale::kHjd);

  // Left-aligned numbers, an exponent, a line that stops after a field.
  const StarExtension f =
      parse_star_extension(kTodayLine + " 17          0.5               3.1e-7", &problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(f.eclipse_duration_pct, 17);
  EXPECT_EQ(f.secondary_phase, 0.5);
  EXPECT_EQ(f.period_error_days, 3.1e-7);
  EXPECT_FALSE(f.secondary_duration_pct || f.epoch_error_days || f.time_scale);
}

TEST(StarExtension, EachBadFieldIsNamedAndReadsAsBlankWhileTheOthersAreKept) {
  std::vector<std::string> problems;
  const StarExtension e = parse_star_extension(
      kTodayLine + " 12.5x   101    1.0         -1        1e999 hjd", &problems);
  EXPECT_EQ(e, StarExtension{});
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "eclipse_duration \"12.5x\" is not a number above 0 and at most 100; "
                          "read as blank",
                          "secondary_duration \"101\" is not a number above 0 and at most 100; "
                          "read as blank",
                          "secondary_phase \"1.0\" is not a number strictly between 0 and 1; "
                          "read as blank",
                          "epoch_error \"-1\" is not a number of 0 or more; read as blank",
                          "period_error \"1e999\" is not a number of 0 or more; read as blank",
                          "time_scale \"hjd\" is not JD, HJD or BJD; read as blank"}));

  const StarExtension kept = parse_star_extension(kTodayLine + "  12.5     0 0.4132", &problems);
  EXPECT_EQ(kept.eclipse_duration_pct, 12.5);
  EXPECT_FALSE(kept.secondary_duration_pct);  // 0 percent is no eclipse
  EXPECT_EQ(kept.secondary_phase, 0.4132);
}

TEST(StarExtension, ABoundOfEachRange) {
  EXPECT_TRUE(problems_of("   100       0.9999          0            0 BJD").empty());
  EXPECT_EQ(problems_of("                  0").size(), 1u);             // phase 0 is the primary
  EXPECT_EQ(problems_of("                             .").size(), 1u);  // a lone point
  EXPECT_EQ(problems_of("                           1 2").size(), 1u);  // two numbers
  EXPECT_EQ(problems_of("                                       INF").size(), 1u);
}

TEST(StarExtension, TextReachingTheColumnsBetweenTheFieldsBlanksTheFieldsBesideIt) {
  // "12.505" runs one column into the blank before the secondary duration.
  std::vector<std::string> problems;
  const StarExtension e =
      parse_star_extension(kTodayLine + " 12.505 13.2 0.4132  BJD/TDB", &problems);
  EXPECT_FALSE(e.eclipse_duration_pct);
  EXPECT_FALSE(e.secondary_duration_pct);
  EXPECT_EQ(e.secondary_phase, 0.4132);
  EXPECT_EQ(problems, (std::vector<std::string>{
                          "eclipse_duration \"12.505\" does not stand within columns 95-99; read "
                          "as blank",
                          "secondary_duration \"12.505 13.2\" does not stand within columns "
                          "101-105; read as blank",
                          "epoch_error \"BJD/TDB\" is not a number of 0 or more; read as blank"}));
  // Text right after the catalogue field, and after the time scale.
  EXPECT_EQ(problems_of("x 17").size(), 1u);
  EXPECT_EQ(problems_of(std::string(44, ' ') + "BJD_TDB").size(), 1u);
}

TEST(StarExtensionWriter, WritesTheColumnsAndReadsBack) {
  StarExtension e;
  e.eclipse_duration_pct = 12.5;
  e.secondary_duration_pct = 13.2;
  e.secondary_phase = 0.4132;
  e.epoch_error_days = 0.00012;
  e.period_error_days = 0.00000031;
  e.time_scale = EpochScale::kHjd;
  const std::string text = formats::format_star_extension(e);
  EXPECT_EQ(text, "  12.5  13.2 0.4132    0.00012      3.1e-07 HJD");
  std::vector<std::string> problems;
  EXPECT_EQ(parse_star_extension(kTodayLine + text, &problems), e);
  EXPECT_TRUE(problems.empty());

  // The line stops at the last known field; nothing known adds nothing.
  EXPECT_EQ(formats::format_star_extension({.eclipse_duration_pct = 17}), "    17");
  EXPECT_EQ(formats::format_star_extension({.time_scale = EpochScale::kJd}),
            std::string(44, ' ') + "JD");
  EXPECT_EQ(formats::format_star_extension({}), "");
  for (const auto scale : {EpochScale::kJd, EpochScale::kHjd, EpochScale::kBjd}) {
    const StarExtension only_scale{.time_scale = scale};
    EXPECT_EQ(
        parse_star_extension(kTodayLine + formats::format_star_extension(only_scale), nullptr),
        only_scale);
  }
}

TEST(StarExtensionWriter, RefusesValuesOutsideTheirRangeOrColumns) {
  EXPECT_THROW(formats::format_star_extension({.secondary_phase = 1}), std::invalid_argument);
  EXPECT_THROW(formats::format_star_extension({.eclipse_duration_pct = 0}), std::invalid_argument);
  EXPECT_THROW(formats::format_star_extension({.eclipse_duration_pct = 12.3456}),
               std::invalid_argument);
  EXPECT_THROW(formats::format_star_extension({.epoch_error_days = 0.000123456789}),
               std::invalid_argument);
}

}  // namespace

namespace {

TEST(MinimumUncertainty, EpochAndPeriodErrorsPropagatedOverTheCycles) {
  const StarExtension errors{.epoch_error_days = 0.0003, .period_error_days = 0.000001};
  // At the epoch the epoch's error alone; 400 cycles on (or back) 0.0004 days more in
  // quadrature: 0.0005 days.
  EXPECT_EQ(formats::minimum_uncertainty_days(errors, 0), 0.0003);
  EXPECT_NEAR(*formats::minimum_uncertainty_days(errors, 400), 0.0005, 1e-15);
  EXPECT_NEAR(*formats::minimum_uncertainty_days(errors, -400), 0.0005, 1e-15);
  // A secondary minimum half a cycle on: 400.5 x 1e-6.
  EXPECT_NEAR(*formats::minimum_uncertainty_days(errors, 400.5),
              std::sqrt(0.0003 * 0.0003 + 0.0004005 * 0.0004005), 1e-15);
  // Unknown when either error is blank.
  EXPECT_FALSE(formats::minimum_uncertainty_days({.epoch_error_days = 0.0003}, 10));
  EXPECT_FALSE(formats::minimum_uncertainty_days({.period_error_days = 1e-6}, 10));
  EXPECT_FALSE(formats::minimum_uncertainty_days({}, 0));
}

TEST(MinimumUncertainty, WidensTheWindowByAtMostAPeriod) {
  const StarExtension errors{.epoch_error_days = 0.0003, .period_error_days = 0.000001};
  EXPECT_EQ(formats::window_widening_days(errors, 0, 2.87), 0.0003);
  // A mistyped error of a million days (or of 1e300, whose square overflows): a period.
  EXPECT_EQ(formats::window_widening_days({.epoch_error_days = 1e6, .period_error_days = 0.1}, 5488,
                                          2.87),
            2.87);
  EXPECT_EQ(formats::window_widening_days({.epoch_error_days = 1e300, .period_error_days = 1e300},
                                          5488, 2.87),
            2.87);
  EXPECT_FALSE(formats::window_widening_days({.epoch_error_days = 1e6}, 5488, 2.87));
}

}  // namespace
