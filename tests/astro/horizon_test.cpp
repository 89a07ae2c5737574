#include "astro/horizon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

namespace {

using astro::equatorial_to_horizontal;
using astro::local_sidereal_time;

constexpr double kPi = 3.141592653589793;

TEST(LocalSiderealTime, GivesExactValues) {
  EXPECT_EQ(local_sidereal_time(40000, 0), 4.217663535667984);
  EXPECT_EQ(local_sidereal_time(54009.5, 0), 3.3175101271901135);
  // With double instead of extended intermediates this would be 5.7557350389644935.
  EXPECT_EQ(local_sidereal_time(54009.5, 139.7f), 5.755735038953064);
  // Before MJD 40000 the angle stays negative.
  EXPECT_EQ(local_sidereal_time(39999, 0), -2.082724561112797);
}

float rad_deg(double degrees) { return static_cast<float>(degrees * kPi / 180); }
float rad_hours(double hours) { return static_cast<float>(hours * kPi / 12); }

std::string fixed4(float v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", v);
  return text;
}

struct HorizonCase {
  double lst, ra_hours, dec_degrees;
  const char* azimuth;
  const char* altitude;
  int horizon;
};

TEST(EquatorialToHorizontal, GivesTheQuotedPositions) {
  const HorizonCase cases[] = {
      {5.755735038953064, 21, 10, "31.8793", "61.5963", 1},
      // The four quadrants of the arctangent.
      {0, 22, 0, "45.1879", "45.1866", 1},
      {0, 2, 0, "314.8121", "45.1866", 1},
      {0, 18, 60, "144.8233", "29.7840", 1},
      {0, 6, 60, "215.1767", "29.7840", 1},
      // Near due east the altitude carries the single-precision azimuth's error
      // (exact altitude 35.5244).
      {0, 4, 20, "269.2485", "35.5248", 1},
      {0, 10, 20, "212.1710", "-28.0635", -1},
      // On the meridian: azimuth 360, not 0; the zenith through the 1e-11 stand-in.
      {0, 0, 10, "360.0000", "65.0000", 1},
      {0, 0, 80, "180.0000", "45.0000", 1},
      {0, 0, 35, "360.0000", "90.0000", 1},
  };
  for (const auto& c : cases) {
    const auto p =
        equatorial_to_horizontal(c.lst, rad_deg(35), rad_hours(c.ra_hours), rad_deg(c.dec_degrees));
    EXPECT_EQ(fixed4(p.azimuth), c.azimuth) << c.ra_hours << " " << c.dec_degrees;
    EXPECT_EQ(fixed4(p.altitude), c.altitude) << c.ra_hours << " " << c.dec_degrees;
    EXPECT_EQ(p.horizon, c.horizon);
  }
}

TEST(EquatorialToHorizontal, MeridianValuesAreExact) {
  const auto p = equatorial_to_horizontal(0, rad_deg(35), 0, rad_deg(10));
  EXPECT_EQ(p.azimuth, 360.0f);
  const auto zenith = equatorial_to_horizontal(0, rad_deg(35), 0, rad_deg(35));
  EXPECT_EQ(zenith.azimuth, 360.0f);
  EXPECT_EQ(zenith.altitude, 90.0f);
}

TEST(EquatorialToHorizontal, NeverFailsOnAbsurdInput) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const auto p = equatorial_to_horizontal(std::numeric_limits<double>::infinity(), nan, nan, nan);
  EXPECT_EQ(p.horizon, -1);
}

}  // namespace
