// The upper culmination, exact (ERFA's observed hour angle) and from the sky tables, the
// azimuth counted from north, and the clock's date and time to the second.
#include "astro/meridian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "astro/clock_time.h"
#include "astro/ephemeris.h"
#include "astro/horizon_profile.h"

namespace {

constexpr double kSecondDays = 1.0 / 86400;
constexpr double kSiderealDay = 0.99726957;

TEST(UpperCulmination, NearestCrossingFromEitherSideAndTheTablesAgree) {
  astro::SkyOptions options;
  options.moon_distance_deg = 0;
  options.of_date = true;
  const double first_jd = 2461375.0;  // 2026-11-30 12:00 UT
  const astro::ObservingConditions sky(options, first_jd, first_jd + 33, 139.77, 35.67);
  const double stars[][2] = {{0.5, 1.2}, {2.0, -0.3}, {4.4, 0.9}, {5.9, -1.1}};
  double worst_s = 0;
  for (const auto& radec : stars) {
    const astro::StarPlace place = sky.star(radec[0], radec[1]);
    for (double jd = first_jd + 0.3; jd < first_jd + 33; jd += 1.37) {
      const double exact = astro::upper_culmination_jd(jd, 139.77, 35.67, radec[0], radec[1]);
      // The nearest crossing: within half a sidereal day of the instant, and the
      // crossing one sidereal day on from it is the next one.
      EXPECT_LE(std::abs(exact - jd), kSiderealDay / 2 + kSecondDays);
      const double next =
          astro::upper_culmination_jd(exact + kSiderealDay, 139.77, 35.67, radec[0], radec[1]);
      EXPECT_NEAR(next - exact, kSiderealDay, 5 * kSecondDays);
      worst_s =
          std::max(worst_s, std::abs(sky.upper_culmination_jd(jd, place) - exact) / kSecondDays);
    }
  }
  EXPECT_LT(worst_s, 0.1);  // 0.1 s, as the tables promise
}

TEST(AzimuthFromNorth, TurnsTheHorizonRoutinesAzimuthHalfAround) {
  EXPECT_EQ(astro::azimuth_from_north_deg(360), 180);  // due south
  EXPECT_EQ(astro::azimuth_from_north_deg(90), 270);   // due west
  EXPECT_EQ(astro::azimuth_from_north_deg(180), 0);    // due north
  EXPECT_EQ(astro::azimuth_from_north_deg(270), 90);   // due east
  EXPECT_EQ(astro::azimuth_from_north_deg(-90), 90);
}

TEST(ClockTime, RoundsToTheSecondAcrossMidnightAndTheOffset) {
  // 2026-12-05 14:06:51 UT on JST.
  astro::ClockTime t = astro::clock_time(2461380.08809028, 9 * 3600);
  EXPECT_EQ(t.date.year, 2026);
  EXPECT_EQ(t.date.month, 12);
  EXPECT_EQ(t.date.day, 5);
  EXPECT_EQ(t.hour * 10000 + t.minute * 100 + t.second, 230651);
  // Half a second before midnight UT, on UT and 4:30 west of it.
  t = astro::clock_time(2461380.5 - 0.4 * kSecondDays, 0);
  EXPECT_EQ(t.date.day, 6);
  EXPECT_EQ(t.hour + t.minute + t.second, 0);
  t = astro::clock_time(2461380.5, -(4 * 3600 + 30 * 60));
  EXPECT_EQ(t.date.day, 5);
  EXPECT_EQ(t.hour * 100 + t.minute, 1930);
  // The calendar's reform: 1582-10-15 follows 1582-10-04.
  t = astro::clock_time(2299160.5, 0);
  EXPECT_EQ(t.date.month * 100 + t.date.day, 1015);
  t = astro::clock_time(2299160.5 - kSecondDays, 0);
  EXPECT_EQ(t.date.month * 100 + t.date.day, 1004);
}

bool same_clock_time(const astro::ClockTime& a, const astro::ClockTime& b) {
  return a.date.year == b.date.year && a.date.month == b.date.month && a.date.day == b.date.day &&
         a.hour == b.hour && a.minute == b.minute && a.second == b.second;
}

TEST(ClockTime, KeptDaysGiveTheDatesOfTheirDayNumbers) {
  // Rows of five instants as the table writes them (contacts, minimum, culmination on
  // the night's clock, the minimum on UT), some across midnight, the reform and the
  // half second that rounds into the next day, and one ClockDays kept across rows.
  std::mt19937_64 rng(2299161);
  std::uniform_real_distribution<double> jd_of(2299150.0, 2299170.0);
  std::uniform_real_distribution<double> half_window(0.0, 0.6);
  std::uniform_int_distribution<int> offset_of(-14 * 4, 14 * 4);
  astro::ClockDays across_rows;
  for (int i = 0; i < 100000; ++i) {
    astro::ClockDays days;
    const double minimum = i % 2 == 0 ? jd_of(rng) + 2461380.0 - 2299160.0 : jd_of(rng);
    const double half = half_window(rng);
    const int offset = offset_of(rng) * 900;
    const double midnight = std::floor(minimum + 0.5) - 0.5 - offset * kSecondDays;
    const std::pair<double, int> instants[] = {
        {minimum - half, offset}, {minimum, offset},
        {minimum + half, offset}, {minimum, 0},
        {minimum - 0.3, offset},  {midnight - 0.4 * kSecondDays, offset}};
    for (const auto& [jd, clock_offset] : instants) {
      const astro::ClockTime fresh = astro::clock_time(jd, clock_offset);
      ASSERT_TRUE(same_clock_time(astro::clock_time(jd, clock_offset, days), fresh))
          << std::hexfloat << jd << " at " << clock_offset;
      ASSERT_TRUE(same_clock_time(astro::clock_time(jd, clock_offset, across_rows), fresh))
          << std::hexfloat << jd << " at " << clock_offset;
    }
  }
}

}  // namespace
