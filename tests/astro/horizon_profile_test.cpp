// The observer's skyline: its altitude between the points, round past north, and the
// turn from the horizon routines' azimuth (from the south through the west) to the
// file's (from the north through the east).
#include "astro/horizon_profile.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using astro::horizon_altitude_deg;
using astro::horizon_profile;

TEST(HorizonProfile, OnePointIsTheSameAltitudeAllRound) {
  const astro::HorizonProfile glow = horizon_profile({{123, 7.5}});
  for (const double azimuth : {0.0, 90.0, 123.0, 200.0, 359.99, 360.0, -45.0, 725.0}) {
    EXPECT_EQ(horizon_altitude_deg(glow, azimuth), 7.5) << azimuth;
  }
}

TEST(HorizonProfile, LinearInAzimuthBetweenNeighbours) {
  // Given out of order: the profile sorts them.
  const astro::HorizonProfile trees = horizon_profile({{180, 30}, {90, 10}, {270, 10}});
  EXPECT_EQ(horizon_altitude_deg(trees, 90), 10);
  EXPECT_EQ(horizon_altitude_deg(trees, 135), 20);
  EXPECT_EQ(horizon_altitude_deg(trees, 180), 30);
  EXPECT_EQ(horizon_altitude_deg(trees, 247.5), 15);
  // From the last point (270) round past north to the first (90): 180 degrees from 10 to 10.
  EXPECT_EQ(horizon_altitude_deg(trees, 0), 10);
  EXPECT_EQ(horizon_altitude_deg(trees, 45), 10);
}

TEST(HorizonProfile, WrapsAtNorth) {
  // 360 is north, 0: the points (350, 10), (0, 40) and (10, 30).
  const astro::HorizonProfile roof = horizon_profile({{10, 30}, {350, 10}, {360, 40}});
  ASSERT_EQ(roof.points.size(), 3U);
  EXPECT_EQ(roof.points.front().azimuth_deg, 0);
  EXPECT_EQ(horizon_altitude_deg(roof, 355), 25);
  EXPECT_EQ(horizon_altitude_deg(roof, -5), 25);
  EXPECT_EQ(horizon_altitude_deg(roof, 360), 40);
  EXPECT_EQ(horizon_altitude_deg(roof, 5), 35);
  EXPECT_EQ(horizon_altitude_deg(roof, 180), 20);  // halfway from (10, 30) to (350, 10)
  // Two points across north: 20 degrees of arc through north, 340 the other way round.
  const astro::HorizonProfile pair = horizon_profile({{350, 0}, {10, 20}});
  EXPECT_EQ(horizon_altitude_deg(pair, 0), 10);
  EXPECT_EQ(horizon_altitude_deg(pair, 180), 10);
  EXPECT_NEAR(horizon_altitude_deg(pair, 95), 20 - 20 * 85.0 / 340, 1e-12);
}

TEST(HorizonProfile, AStepKeepsTheOrderGiven) {
  // A wall's edge: two points at 90 degrees, 0 before it and 40 from it on.
  const astro::HorizonProfile wall = horizon_profile({{90, 0}, {90, 40}, {180, 40}});
  EXPECT_NEAR(horizon_altitude_deg(wall, 89.999), 0, 1e-3);
  EXPECT_EQ(horizon_altitude_deg(wall, 90), 40);
  EXPECT_EQ(horizon_altitude_deg(wall, 120), 40);
}

TEST(HorizonProfile, AzimuthFromNorthThroughEast) {
  // The horizon routines count from the south through the west, in (0, 360].
  EXPECT_EQ(astro::azimuth_from_north_deg(360.0f), 180);  // south
  EXPECT_EQ(astro::azimuth_from_north_deg(90.0f), 270);   // west
  EXPECT_EQ(astro::azimuth_from_north_deg(180.0f), 0);    // north
  EXPECT_EQ(astro::azimuth_from_north_deg(270.0f), 90);   // east
  EXPECT_EQ(astro::azimuth_from_north_deg(45.0f), 225);   // south-west
}

TEST(HorizonProfile, AboveAtOrOverTheSkyline) {
  // A house in the east, 40 degrees high from north-east to south-east.
  const astro::HorizonProfile house = horizon_profile({{0, 0}, {45, 40}, {135, 40}, {180, 0}});
  astro::HorizontalPosition east;  // the horizon routines' east: 270 from the south
  east.azimuth = 270;
  east.altitude = 39.9f;
  EXPECT_FALSE(astro::above_horizon(house, east));
  east.altitude = 40;
  EXPECT_TRUE(astro::above_horizon(house, east));
  astro::HorizontalPosition west = east;
  west.azimuth = 90;
  west.altitude = 0.5f;
  EXPECT_TRUE(astro::above_horizon(house, west));
  west.altitude = -0.5f;
  EXPECT_FALSE(astro::above_horizon(house, west));
  // What is not a number is never above.
  west.altitude = std::numeric_limits<float>::quiet_NaN();
  EXPECT_FALSE(astro::above_horizon(house, west));
  east.azimuth = std::numeric_limits<float>::quiet_NaN();
  east.altitude = 80;
  EXPECT_FALSE(astro::above_horizon(house, east));
  EXPECT_TRUE(std::isnan(horizon_altitude_deg(house, std::numeric_limits<double>::infinity())));
}

}  // namespace
