#include "astro/numeric.h"

#include "astro/turns.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

namespace {

using astro::trunc_to_int;

TEST(TruncToInt, TruncatesTowardZeroExactly) {
  EXPECT_EQ(trunc_to_int(2.9L), 2);
  EXPECT_EQ(trunc_to_int(-2.9L), -2);
  EXPECT_EQ(trunc_to_int(-0.0L), 0);
  // Just below a whole number, where a rounding to double would reach it.
  EXPECT_EQ(trunc_to_int(5.0L - 0x1p-60L), 4);
  EXPECT_EQ(trunc_to_int(-5.0L + 0x1p-60L), -4);
  EXPECT_EQ(trunc_to_int(2147483647.0L - 0x1p-30L), 2147483646);
  EXPECT_EQ(trunc_to_int(2147483647.5L), 2147483647);
  EXPECT_EQ(trunc_to_int(-2147483648.5L), std::numeric_limits<std::int32_t>::min());
}

TEST(TruncToInt, AgreesWithTheHardwareConversionInRange) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 200000; ++i) {
    const long double whole = static_cast<long double>(static_cast<std::int32_t>(rng()));
    const long double nudge =
        std::ldexp(static_cast<long double>(rng() % 1000) - 500, -static_cast<int>(rng() % 64));
    const long double x = whole + nudge;
    if (x >= 2147483647.0L || x <= -2147483648.0L) continue;
    ASSERT_EQ(trunc_to_int(x), static_cast<std::int32_t>(x)) << static_cast<double>(x);
  }
}

TEST(TruncToInt, SaturatesInsteadOfOverflowing) {
  EXPECT_EQ(trunc_to_int(1e300L), std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(trunc_to_int(-1e300L), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(trunc_to_int(std::numeric_limits<long double>::infinity()),
            std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(trunc_to_int(std::numeric_limits<long double>::quiet_NaN()), 0);
  EXPECT_FALSE(astro::fits_int32(2147483648.0L));
  EXPECT_TRUE(astro::fits_int32(2147483647.9L));
  EXPECT_FALSE(astro::fits_int32(std::numeric_limits<long double>::quiet_NaN()));
}

TEST(TruncToInt, DoubleFormAgreesWithTheExtendedForm) {
  // Every double, including NaN, infinities and the ends of the range with their
  // neighbours, truncates the same through both forms.
  std::vector<double> values = {0.0,
                                -0.0,
                                0.5,
                                -0.5,
                                2147483646.5,
                                2147483647.0,
                                2147483647.5,
                                2147483648.0,
                                -2147483648.0,
                                -2147483648.5,
                                -2147483649.0,
                                1e300,
                                -1e300,
                                std::numeric_limits<double>::infinity(),
                                -std::numeric_limits<double>::infinity(),
                                std::numeric_limits<double>::quiet_NaN(),
                                std::numeric_limits<double>::denorm_min()};
  for (double end : {2147483647.0, 2147483648.0, -2147483648.0, -2147483649.0}) {
    values.push_back(std::nextafter(end, 0.0));
    values.push_back(std::nextafter(end, 2 * end));
  }
  std::mt19937_64 rng(9);
  for (int i = 0; i < 100000; ++i) {
    values.push_back(std::bit_cast<double>(rng()));
    values.push_back(std::ldexp(static_cast<double>(static_cast<std::int64_t>(rng())), -32));
  }
  for (double x : values) {
    ASSERT_EQ(trunc_to_int(x), trunc_to_int(static_cast<long double>(x))) << x;
  }
}

// The quick cosine and sine: within 3e-10 of the C library's at every quarter, in
// either sense and far from zero, where the whole turns are taken away exactly; and
// no large or NaN angle reaches a conversion to an integer.
TEST(CosSinOfTurns, WithinItsBoundAtEveryMagnitude) {
  std::mt19937_64 rng(20061009);
  std::uniform_real_distribution<double> unit(-1, 1);
  double worst = 0;
  for (const double scale : {1.0, 3.0, 1e3, 6e4, 1.1e6, 1073741824.0}) {
    for (int i = 0; i < 20000; ++i) {
      const double turns = unit(rng) * scale;
      // The rest of the turn, exact: the C library's angle carries no reduction error.
      const double angle = 2 * astro::kPi * (turns - astro::nearest_whole(turns));
      const astro::CosSin h = astro::cos_sin_of_turns(turns);
      worst =
          std::max({worst, std::fabs(h.cos - std::cos(angle)), std::fabs(h.sin - std::sin(angle))});
    }
  }
  // The series' truncation is below 2e-10; measured 1.15e-10 here.
  EXPECT_LT(worst, 3e-10);
  for (const double quarter : {0.0, 0.25, 0.5, 0.75, -0.25, -0.5, -0.75, 1e6 + 0.25}) {
    // At a whole quarter the rest is 0: the series give 1 and 0 exactly.
    const astro::CosSin h = astro::cos_sin_of_turns(quarter);
    const double angle = 2 * astro::kPi * (quarter - astro::nearest_whole(quarter));
    EXPECT_EQ(h.cos, std::round(std::cos(angle))) << quarter;
    EXPECT_EQ(h.sin, std::round(std::sin(angle))) << quarter;
  }
  for (const double wild : {std::numeric_limits<double>::quiet_NaN(), 1e300, -1e300,
                            std::numeric_limits<double>::infinity()}) {
    (void)astro::cos_sin_of_turns(wild);  // defined, if meaningless: no trap under UBSan
  }
}

}  // namespace
