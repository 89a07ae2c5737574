#include "astro/numeric.h"

#include <gtest/gtest.h>

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

}  // namespace
