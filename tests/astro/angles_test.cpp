// The shared astronomical steps: each program's radians, minutes and sign of a
// declination, the site table, and the position of a star at an instant.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/horizon.h"
#include "astro/sexagesimal.h"
#include "astro/sites.h"

namespace {

using astro::kDegreesPerHalfTurn;
using astro::kHoursPerHalfTurn;

// The rules of the three programs that convert to radians.
constexpr astro::RadianRule kForecastRadians{astro::kPi, astro::RadianOrder::kReciprocalThenPi};
constexpr astro::RadianRule kNightPlanRadians{astro::kPiFiveDecimals,
                                              astro::RadianOrder::kReciprocalThenPi};
constexpr astro::RadianRule kPhaseTableRadians{astro::kPiFiveDecimals,
                                               astro::RadianOrder::kPiThenDivide};

TEST(ToRadians, EachProgramKeepsItsOwnPi) {
  // The forecast's double pi gives pi/4 to the float; the five-decimal pi falls short.
  EXPECT_EQ(astro::to_radians(45, kDegreesPerHalfTurn, kForecastRadians), 0x1.921fb6p-1f);
  EXPECT_EQ(astro::to_radians(45, kDegreesPerHalfTurn, kNightPlanRadians), 0x1.921fap-1f);
  EXPECT_EQ(astro::to_radians(45, kDegreesPerHalfTurn, kPhaseTableRadians), 0x1.921fap-1f);
  // Tokyo's latitude as the forecast and the built-in-site programs hand it on.
  const float latitude = astro::kBuiltInSite.latitude_deg;
  EXPECT_EQ(astro::to_radians(latitude, kDegreesPerHalfTurn, kForecastRadians), 0x1.3ec00ap-1f);
  EXPECT_EQ(astro::to_radians(latitude, kDegreesPerHalfTurn, kNightPlanRadians), 0x1.3ebffap-1f);
  for (const astro::RadianRule& rule : {kForecastRadians, kNightPlanRadians, kPhaseTableRadians}) {
    EXPECT_EQ(astro::to_radians(3, kHoursPerHalfTurn, rule),
              astro::to_radians(45, kDegreesPerHalfTurn, rule));
    EXPECT_EQ(astro::to_radians(-20.25f, kDegreesPerHalfTurn, rule),
              -astro::to_radians(20.25f, kDegreesPerHalfTurn, rule));
  }
}

TEST(Sexagesimal, MinutesAndTheSignOfTheDegreeField) {
  EXPECT_EQ(astro::signed_declination_minutes("+05", 30), 30.0f);
  EXPECT_EQ(astro::signed_declination_minutes(" 00", 30), 30.0f);
  // Minus zero degrees: the minutes take the sign, so -00 30 is half a degree south.
  EXPECT_EQ(astro::signed_declination_minutes("-00", 30), -30.0f);
  EXPECT_EQ(astro::signed_declination_minutes(" -0", 30), -30.0f);
  EXPECT_EQ(astro::whole_and_minutes(-0.0f, -30), -0.5f);
  EXPECT_EQ(astro::whole_and_minutes(-20, -15), -20.25f);
  EXPECT_EQ(astro::whole_and_minutes(25, 30), 25.5f);
  // Rounded once from extended precision: float steps would give 0x1.2eeefp+0.
  EXPECT_EQ(astro::whole_and_minutes(1, 11), 0x1.2eeeeep+0f);
  EXPECT_EQ(astro::whole_and_minutes(1, 11, astro::MinuteStep::kDividedBySixty), 0x1.2eeeeep+0f);
  EXPECT_EQ(astro::hours_minutes_seconds(21, 30, 36), 21.51f);
  EXPECT_EQ(astro::hours_minutes_seconds(0, 0, 0), 0.0f);
}

TEST(PositionAt, WorkedExampleAndTheFullRoutineAgreeBitForBit) {
  // MJD 54009.5 at 139.7 E, latitude 35, RA 21 h, Dec +10 (double pi): azimuth 31.8793,
  // altitude 61.5963 to four decimals.
  const auto rule = kForecastRadians;
  const float latitude = astro::to_radians(35, kDegreesPerHalfTurn, rule);
  const float ra = astro::to_radians(21, kHoursPerHalfTurn, rule);
  const float dec = astro::to_radians(10, kDegreesPerHalfTurn, rule);
  const astro::StarAtSite star = astro::star_at_site(139.7f, latitude, ra, dec);
  const astro::HorizontalPosition p = astro::position_at(star, 54009.5);
  EXPECT_NEAR(p.azimuth, 31.8793f, 5e-5f);
  EXPECT_NEAR(p.altitude, 61.5963f, 5e-5f);
  EXPECT_EQ(p.horizon, 1);
  // The precomputed terms are the speed path of the search: the same bits as the
  // routine that computes them at every call, at any instant.
  for (double mjd = 54009.5; mjd < 54010.5; mjd += 0.0137) {
    const astro::HorizontalPosition fast = astro::position_at(star, mjd);
    const astro::HorizontalPosition full =
        astro::equatorial_to_horizontal(astro::local_sidereal_time(mjd, 139.7f), latitude, ra, dec);
    ASSERT_EQ(fast.azimuth, full.azimuth) << mjd;
    ASSERT_EQ(fast.altitude, full.altitude) << mjd;
    ASSERT_EQ(fast.horizon, full.horizon) << mjd;
  }
}

}  // namespace
