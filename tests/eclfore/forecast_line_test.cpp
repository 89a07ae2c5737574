// The hour field written from whole hours and minutes against the C library's " %5.2f"
// of the value the slow path computes.
#include "forecast_line.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(HourText, AllHoursAndMinutes) {
  for (int hour = 0; hour <= 98; ++hour) {
    for (int minute = 0; minute <= 60; ++minute) {
      const double value = static_cast<double>(static_cast<long double>(hour) +
                                               static_cast<long double>(minute) * (1.0L / 60));
      char expected[16];
      std::snprintf(expected, sizeof expected, " %5.2f", value);
      ASSERT_EQ(eclfore::hour_field(hour, minute), expected) << hour << ":" << minute;
    }
  }
  EXPECT_EQ(eclfore::hour_field(99, 0), "") << "outside the field's range";
  EXPECT_EQ(eclfore::hour_field(12, 61), "");
  EXPECT_EQ(eclfore::hour_field(-1, 0), "");
}

}  // namespace
