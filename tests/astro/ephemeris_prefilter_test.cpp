// The shortcuts that let a prefilter decide without the site's rotation or the
// arctangent: each must give the answer of the exact test wherever it answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

#include "astro/ephemeris.h"
#include "astro/horizon.h"

namespace {

using astro::ObservingConditions;
using astro::SkyOptions;

/// Windows of 34 days from these UTC Julian Dates: 2006 October, 2016 December (it ends
/// with a leap second), 2030 June (short nights), 1999 December.
constexpr double kFirstJds[] = {2454009.0, 2457723.5, 2462652.5, 2451512.5};
constexpr double kWindowDays = 34;
constexpr double kMjdZeroJd = 2400000.5;

/// The tables of `options` for the window from `first` at a random site (latitudes
/// from pole to pole).
ObservingConditions at_random_site(const SkyOptions& options, double first, std::mt19937_64& rng) {
  std::uniform_real_distribution<double> unit(0, 1);
  const double longitude_deg = unit(rng) * 360 - 180;
  const double latitude_deg = std::asin(2 * unit(rng) - 1) * 180 / M_PI;
  return ObservingConditions(options, first, first + kWindowDays, longitude_deg, latitude_deg);
}

TEST(LowAltitudeOfDate, BeyondTheBoundTheAltitudeOfDateIsBelow) {
  // The caller's rate and reference (those of eclfore's prefilter); instants on both
  // sides of each threshold crossing and at random, stars of the whole sky, limits from
  // below the horizon to near the zenith.
  constexpr double kRate = astro::kSiderealRate;
  constexpr double kReference = 40000;
  std::mt19937_64 rng(20261208);
  std::uniform_real_distribution<double> unit(0, 1);
  const double limits[] = {-5, 0, 0.3, 20, 45, 80, 89.9};
  long checked = 0, bounded = 0;
  double closest = 1e9;  // smallest room under the limit seen beyond the bound, degrees
  for (const double first : kFirstJds) {
    SkyOptions options;
    options.of_date = true;
    for (int s = 0; s < 4; ++s) {
      const ObservingConditions c = at_random_site(options, first, rng);
      for (int k = 0; k < 60; ++k) {
        const astro::StarPlace place = c.star(unit(rng) * 2 * M_PI, std::asin(2 * unit(rng) - 1));
        const double limit = limits[static_cast<std::size_t>(k) % std::size(limits)];
        const astro::LowAltitudeOfDate bound =
            c.low_altitude_of_date(place, std::max(limit, 0.0), kRate, kReference);
        if (bound.beyond_turns >= 0.5) continue;
        ++bounded;
        auto check = [&](double jd) {
          if (!c.covers(jd)) return;
          const double h = kRate * ((jd - kMjdZeroJd) - kReference) + bound.turns_at_reference;
          if (!(std::fabs(h - std::nearbyint(h)) > bound.beyond_turns)) return;
          const float altitude = c.altitude_of_date(jd, place);
          ASSERT_LT(altitude, std::max(limit, 0.0)) << jd << " limit " << limit;
          closest = std::min(closest, std::max(limit, 0.0) - altitude);
          ++checked;
        };
        // The crossings of +-beyond_turns, a hair outside them, each day of the tables.
        const double t0 = first - 1 - kMjdZeroJd;
        const double h0 = kRate * (t0 - kReference) + bound.turns_at_reference;
        for (double n = std::floor(h0) - 1; n < h0 + kWindowDays + 3; n += 1) {
          for (const double side : {-1.0, 1.0}) {
            const double h = n + side * (bound.beyond_turns + 1e-9);
            check((h - bound.turns_at_reference) / kRate + kReference + kMjdZeroJd);
          }
        }
        for (int i = 0; i < 40; ++i) check(first - 1 + unit(rng) * (kWindowDays + 2));
        if (HasFatalFailure()) return;
      }
    }
  }
  EXPECT_GT(bounded, 600);
  EXPECT_GT(checked, 50000);
  // The bound is sharp: some instants lie within a few hundredths of a degree of it.
  EXPECT_LT(closest, 0.05);
}

TEST(LowAltitudeOfDate, NoBoundWithoutTheApparentPlace) {
  SkyOptions options;
  options.sun_below_deg = -12;  // no apparent place is computed for this option alone
  const ObservingConditions c(options, kFirstJds[0], kFirstJds[0] + kWindowDays, 139.77, 35.67);
  EXPECT_EQ(c.low_altitude_of_date(c.star(1, 0.5), 20, 1.0027, 40000).beyond_turns, 1);
  SkyOptions of_date;
  of_date.of_date = true;
  const ObservingConditions d(of_date, kFirstJds[0], kFirstJds[0] + kWindowDays, 139.77, 35.67);
  EXPECT_EQ(d.low_altitude_of_date(d.star(1, 0.5), std::nan(""), 1.0027, 40000).beyond_turns, 1);
}

TEST(QuickSineOfDate, WithinItsErrorOfTheAltitudeOfDate) {
  // Stars of the whole sky at random sites and instants of each window: the quick sine
  // against the sine of the altitude of date, whose rounding to float degrees (at most
  // 2^-24 of 90 degrees, 9.4e-8 in the sine) is allowed for on top of the bound.
  std::mt19937_64 rng(20261209);
  std::uniform_real_distribution<double> unit(0, 1);
  SkyOptions options;
  options.of_date = true;
  long compared = 0, leap_day = 0;
  double largest = 0;  // of |quick - sin(altitude)| - the float's own rounding, bounded below
  for (const double first : kFirstJds) {
    for (int s = 0; s < 4; ++s) {
      const ObservingConditions c = at_random_site(options, first, rng);
      for (int k = 0; k < 40; ++k) {
        const astro::StarPlace place = c.star(unit(rng) * 2 * M_PI, std::asin(2 * unit(rng) - 1));
        for (int t = 0; t < 50; ++t) {
          const double jd = first + unit(rng) * kWindowDays;
          const double quick = c.quick_sine_of_date(jd, place);
          if (std::isnan(quick)) {
            ++leap_day;
            continue;
          }
          const float altitude = c.altitude_of_date(jd, place);
          const double sine = std::sin(static_cast<double>(altitude) * M_PI / 180);
          const double rounding =
              std::ldexp(std::fabs(static_cast<double>(altitude)), -24) * M_PI / 180;
          const double off = std::fabs(quick - sine) - rounding;
          ASSERT_LE(off, ObservingConditions::kQuickSineOfDateError) << jd << " " << altitude;
          largest = std::max(largest, off);
          ++compared;
        }
      }
    }
  }
  // Every window but the leap second's answers at almost every instant; the instants of
  // the leap second's day, and those beyond the tables, are left to the exact routine.
  EXPECT_GT(compared, 30000);
  EXPECT_GT(leap_day, 0);
  EXPECT_LT(largest, 1e-9);  // measured: 7.8e-12 at most beyond the float's rounding
  SkyOptions plain;
  const ObservingConditions none = at_random_site(plain, kFirstJds[0], rng);
  EXPECT_TRUE(std::isnan(none.quick_sine_of_date(kFirstJds[0] + 10, none.star(1.0, 0.5))))
      << "no apparent place without --of-date";
}

TEST(SunUpThroughout, SunOkIsFalseThroughEverySpanItNames) {
  std::mt19937_64 rng(20261209);
  std::uniform_real_distribution<double> unit(0, 1);
  long spans = 0, up = 0;
  for (const double first : kFirstJds) {
    for (const double limit : {-18.0, -6.0, 0.0, 30.0}) {
      SkyOptions options;
      options.sun_below_deg = limit;
      const ObservingConditions c = at_random_site(options, first, rng);
      for (int i = 0; i < 400; ++i) {
        const double from = first - 1.5 + unit(rng) * (kWindowDays + 3);
        const double to = from + unit(rng) * 0.02;
        ++spans;
        if (!c.sun_up_throughout(from, to)) continue;
        ++up;
        for (int j = 0; j <= 20; ++j) {
          ASSERT_FALSE(c.sun_ok(from + (to - from) * j / 20)) << from << " " << to;
        }
      }
    }
  }
  EXPECT_GT(up, spans / 5);
  SkyOptions none;
  none.of_date = true;
  const ObservingConditions c(none, kFirstJds[0], kFirstJds[0] + kWindowDays, 139.77, 35.67);
  EXPECT_FALSE(c.sun_up_throughout(kFirstJds[0] + 0.2, kFirstJds[0] + 0.21));
}

TEST(MoonOk, TheGeocentricShortcutDecidesAsTheSiteDoes) {
  // Limits from a Moon's width to beyond a right angle, so that many stars fall near
  // the limit, and sites from pole to pole (the largest parallax is at the equator).
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> unit(0, 1);
  long compared = 0, too_close = 0;
  for (const double first : kFirstJds) {
    for (const double limit : {0.5, 2.0, 10.0, 60.0, 120.0}) {
      SkyOptions options;
      options.moon_distance_deg = limit;
      const ObservingConditions c = at_random_site(options, first, rng);
      for (int i = 0; i < 1500; ++i) {
        const astro::StarPlace place = c.star(unit(rng) * 2 * M_PI, std::asin(2 * unit(rng) - 1));
        const double jd = first - 1 + unit(rng) * (kWindowDays + 2);
        const bool exact = c.moon_ok(jd, place, c.site_at_utc(jd));
        ASSERT_EQ(c.moon_ok(jd, place), exact) << jd << " limit " << limit;
        too_close += exact ? 0 : 1;
        ++compared;
      }
    }
  }
  EXPECT_GT(too_close, compared / 40);
}

}  // namespace
