// The chart and the exports write their numbers with {fmt} where the C library's printf
// wrote them before: the same bytes for every value, ties and signs included.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "exports.h"

namespace {

std::string printf_text(const char* format, double value) {
  char text[400];
  const int n = std::snprintf(text, sizeof text, format, value);
  return std::string(text, static_cast<std::size_t>(n));
}

/// Values whose decimals are exact ties at one or five decimals, around zero, and at
/// random over the page and the sky.
std::vector<double> test_values() {
  std::vector<double> values = {0.0,   -0.0,   0.05,  -0.05,      0.25,  -0.25, 0.04,
                                -0.04, 1e-300, -1e-7, 359.999995, 1e300, -1e300};
  for (int i = -80000; i <= 80000; ++i) values.push_back(i / 64.0);
  for (int i = -4000; i <= 4000; ++i) values.push_back(i / 65536.0 * 45);
  std::mt19937_64 rng(28);
  std::uniform_real_distribution<double> page(-1000, 1000);
  for (int i = 0; i < 200000; ++i) values.push_back(page(rng));
  values.push_back(std::numeric_limits<double>::quiet_NaN());
  values.push_back(-std::numeric_limits<double>::infinity());
  return values;
}

TEST(PrintfBytes, ChartCoordinatesToATenth) {
  for (const double value : test_values()) {
    ASSERT_EQ(fmt::format("{:.1f}", value), printf_text("%.1f", value)) << value;
  }
}

TEST(PrintfBytes, SkychartDegreesLeftAlignedInTheirColumn) {
  for (const double value : test_values()) {
    ASSERT_EQ(fmt::format("{:<10.5f}", value), printf_text("%-10.5f", value)) << value;
  }
}

TEST(PrintfBytes, IsoDateOfAnyTitleDate) {
  constexpr int kNumbers[] = {0, 1, -1, 9, 10, -10, 99, 100, 999, 2006, 10000, INT_MAX, INT_MIN};
  for (const int year : kNumbers) {
    for (const int month : kNumbers) {
      char want[64];
      std::snprintf(want, sizeof want, "%04d-%02d-%02d", year, month, month);
      EXPECT_EQ(nightmark::iso_date({year, month, month}), want);
    }
  }
}

}  // namespace
