// The quick look at the altitude decides as the horizon routines do: at hour angles
// where the altitude lies within a hair of a printed tenth's boundary or of the lowest
// altitude, near due east and west, near the zenith and the horizon; and whole
// forecasts written with it are byte for byte those written from the horizon routines.
#include "quick_altitude.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "astro/angles.h"
#include "formats/catalogue.h"
#include "astro/sites.h"
#include "candidate_filter.h"
#include "e2e.h"
#include "forecast_line.h"
#include "minima_search.h"

namespace {

/// The altitude field as the line prints it from the horizon routines' altitude.
std::string printed(float altitude_deg) {
  char text[32];
  std::snprintf(text, sizeof text, "%4.1f", static_cast<double>(altitude_deg));
  return text;
}

TEST(QuickAltitude, DecidesAsTheHorizonRoutines) {
  std::mt19937_64 rng(20061002);
  std::uniform_real_distribution<double> unit(0, 1);
  const float limits[] = {-5.0f, 0.0f, 0.05f, 20.0f, 20.05f, 45.25f, 88.95f, 89.0f};
  long listed = 0;
  long below = 0;
  long unsure = 0;
  long samples = 0;
  for (const float limit : limits) {
    const eclfore::AltitudeCells cells = eclfore::altitude_cells(limit);
    ASSERT_TRUE(cells.usable);
    for (int s = 0; s < 400; ++s) {
      const auto latitude = static_cast<float>(unit(rng) * 170 - 85);
      const auto longitude = static_cast<float>(unit(rng) * 360 - 180);
      const auto ra = static_cast<float>(unit(rng) * 2 * astro::kPi);
      auto dec = static_cast<float>(std::asin(2 * unit(rng) - 1));
      if (s % 10 == 0) dec = latitude * static_cast<float>(astro::kPi / 180);  // the zenith
      const astro::StarAtSite seen =
          astro::star_at_site(longitude, static_cast<float>(latitude * astro::kPi / 180), ra, dec);
      eclfore::SearchWindow window = eclfore::search_window(2006, 10);
      eclfore::ForecastRequest request;
      request.min_altitude_deg = limit;
      const eclfore::NightSlots slots = eclfore::night_slots(window, request);
      const eclfore::CandidateFilter filter = eclfore::candidate_filter(seen, slots, request);
      if (!filter.hour_angle_known) continue;
      const astro::HorizonTerms& t = seen.terms;
      for (int i = 0; i < 250; ++i) {
        // An altitude close to a boundary of a printed tenth or to the limit, and the
        // hour angle (either side of the meridian) that gives it.
        double target = (std::floor(unit(rng) * 900) + 0.5) / 10;
        if (i % 5 == 0) target = std::max(limit, 0.0f);
        target += (unit(rng) - 0.5) * (i % 2 ? 1e-5 : 1e-3);
        const double c =
            (std::sin(target * astro::kPi / 180) - t.sin_phi_sin_delta) / t.cos_phi_cos_delta;
        if (!(std::fabs(c) <= 1)) continue;
        const double turns = (i % 4 < 2 ? 1 : -1) * std::acos(c) / (2 * astro::kPi);
        const double mjd = 54000 + (turns - eclfore::hour_angle_turns(filter, 54000)) /
                                       eclfore::kFilterSiderealRate;
        const eclfore::QuickAltitude quick =
            eclfore::quick_altitude(cells, t, eclfore::hour_angle_turns(filter, mjd));
        const astro::HorizontalPosition exact = astro::position_at(seen, mjd);
        const bool accepted = exact.horizon >= 0 && exact.altitude >= limit;
        ++samples;
        switch (quick.verdict) {
          case eclfore::QuickAltitude::Verdict::kBelow:
            ++below;
            ASSERT_FALSE(accepted) << limit << " " << exact.altitude;
            break;
          case eclfore::QuickAltitude::Verdict::kListed: {
            ++listed;
            ASSERT_TRUE(accepted) << limit << " " << exact.altitude;
            char expected[32];
            std::snprintf(expected, sizeof expected, "%2d.%d", quick.tenths / 10,
                          quick.tenths % 10);
            ASSERT_EQ(printed(exact.altitude), expected) << exact.altitude;
            break;
          }
          case eclfore::QuickAltitude::Verdict::kUnsure:
            ++unsure;
            break;
        }
      }
    }
  }
  // The samples lie within 5e-4 degrees of a decision: many are still decided, and
  // those within 5e-6 mostly are not.
  EXPECT_GT(samples, 350000);
  EXPECT_GT(listed, samples / 6);
  EXPECT_GT(below, samples / 50);
  EXPECT_GT(unsure, samples / 10);
}

TEST(QuickAltitude, LimitsBeyondItsReachLeaveEverythingToTheRoutines) {
  EXPECT_TRUE(eclfore::altitude_cells(89.0f).usable);
  EXPECT_FALSE(eclfore::altitude_cells(89.5f).usable);
  EXPECT_FALSE(eclfore::altitude_cells(std::nanf("")).usable);
  const eclfore::AltitudeCells none = eclfore::altitude_cells(95.0f);
  const astro::HorizonTerms terms = astro::horizon_terms(0.6f, 0.6f);
  EXPECT_EQ(eclfore::quick_altitude(none, terms, 0.0).verdict,
            eclfore::QuickAltitude::Verdict::kUnsure);
}

/// data.dat of `stars` written by forecast_star (quick) and from search_minima's
/// minima by the line writer (the horizon routines' altitudes).
std::pair<std::string, std::string> both_ways(const std::vector<formats::StarRecord>& stars,
                                              const eclfore::ForecastRequest& request) {
  e2e::TempDir dir;
  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
  const eclfore::RunLooks looks = eclfore::run_looks(window, request);
  eclfore::ForecastRequest with_looks = request;
  with_looks.looks = &looks;
  const std::string quick_path = (dir.path() / "quick.dat").string();
  const std::string exact_path = (dir.path() / "exact.dat").string();
  io::OutputFile quick(quick_path);
  io::OutputFile exact(exact_path);
  for (const formats::StarRecord& star : stars) {
    if (eclfore::cycle_problem(star, window)) continue;
    eclfore::forecast_star(star, window, with_looks, quick);
    const eclfore::StarLineText text = eclfore::star_line_text(star);
    eclfore::search_minima(star, window, with_looks, [&](const eclfore::ForecastMinimum& m) {
      eclfore::write_forecast_line(exact, text, m);
    });
  }
  quick.close();
  exact.close();
  auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  };
  return {read(quick_path), read(exact_path)};
}

/// `count` stars of the whole sky, periods 0.2 to 20 days, epochs early in 2004.
std::vector<formats::StarRecord> random_stars(std::mt19937_64& rng, int count) {
  std::uniform_real_distribution<double> unit(0, 1);
  const formats::StarRecord base = formats::parse_star_record(
      "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
      "C012");
  std::vector<formats::StarRecord> stars;
  for (int s = 0; s < count; ++s) {
    formats::StarRecord star = base;
    star.ra_hours = static_cast<float>(unit(rng) * 24);
    star.dec_degrees = static_cast<float>(std::asin(2 * unit(rng) - 1) * 180 / astro::kPi);
    star.period = 0.2 * std::pow(100.0, unit(rng));
    star.epoch_mjd = 53000 + unit(rng) * 100;
    stars.push_back(star);
  }
  return stars;
}

TEST(QuickAltitude, ForecastsAreTheSameByteForByte) {
  std::mt19937_64 rng(20061003);
  std::uniform_real_distribution<double> unit(0, 1);
  const float limits[] = {-3.0f, 0.0f, 20.0f, 20.05f, 60.0f, 89.0f, 89.5f};
  long lines = 0;
  for (int round = 0; round < 14; ++round) {
    const std::vector<formats::StarRecord> stars = random_stars(rng, 300);
    eclfore::ForecastRequest request;
    request.year = 1990 + round * 3;
    request.month = 1 + round % 12;
    request.min_altitude_deg = limits[round % 7];
    request.site = round % 2 ? astro::kSiteTable[static_cast<std::size_t>(round % 11)]
                             : astro::ObservingSite{static_cast<float>(unit(rng) * 360 - 180),
                                                    static_cast<float>(unit(rng) * 180 - 90)};
    const auto [quick, exact] = both_ways(stars, request);
    ASSERT_EQ(quick, exact) << "round " << round;
    lines += static_cast<long>(std::count(exact.begin(), exact.end(), '\n'));
  }
  EXPECT_GT(lines, 20000);
}

TEST(QuickAltitude, WithTheOptionsForTodaysSkyTheSameByteForByte) {
  // Each option alone and all together, the leap second's month among them: forecast_star
  // (the night in whole numbers, the quick altitude, the first look's Sun slots and
  // altitude of date, the Moon's shortcut) against search_minima's full tests.
  std::mt19937_64 rng(20261211);
  std::uniform_real_distribution<double> unit(0, 1);
  astro::SkyOptions sun, moon, bjd, hjd, of_date, all;
  sun.sun_below_deg = astro::kNauticalTwilightDeg;
  moon.moon_distance_deg = 40;
  bjd.epochs = astro::EpochScale::kBjd;
  hjd.epochs = astro::EpochScale::kHjd;
  of_date.of_date = true;
  all = sun;
  all.moon_distance_deg = 15;
  all.epochs = astro::EpochScale::kBjd;
  all.of_date = true;
  const astro::SkyOptions choices[] = {sun, moon, bjd, hjd, of_date, all};
  const int months[][2] = {{2006, 10}, {2016, 12}, {2030, 6}, {1999, 1}, {2026, 12}, {2012, 3}};
  const float limits[] = {-3.0f, 0.0f, 20.0f, 60.0f, 89.5f, 35.0f};
  long lines = 0;
  for (int round = 0; round < 12; ++round) {
    const std::vector<formats::StarRecord> stars = random_stars(rng, 120);
    eclfore::ForecastRequest request;
    request.year = months[round % 6][0];
    request.month = months[round % 6][1];
    request.min_altitude_deg = limits[(round / 2) % 6];
    request.site = round % 3 ? astro::kSiteTable[static_cast<std::size_t>(round % 11)]
                             : astro::ObservingSite{static_cast<float>(unit(rng) * 360 - 180),
                                                    static_cast<float>(unit(rng) * 180 - 90)};
    const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
    const astro::ObservingConditions sky =
        eclfore::window_sky(choices[round % 6], window, request.site);
    request.sky = &sky;
    const auto [quick, exact] = both_ways(stars, request);
    ASSERT_EQ(quick, exact) << "round " << round;
    lines += static_cast<long>(std::count(exact.begin(), exact.end(), '\n'));
  }
  EXPECT_GT(lines, 3000);
}

TEST(JdField, AgainstTheCLibrary) {
  std::mt19937_64 rng(20061004);
  std::uniform_real_distribution<double> unit(0, 1);
  auto expect_printf = [](double jd) {
    char expected[32];
    std::snprintf(expected, sizeof expected, "%12.4f", jd);
    ASSERT_EQ(eclfore::jd_field(jd), expected) << jd;
  };
  for (int i = 0; i < 200000; ++i) expect_printf(2097152.0 + unit(rng) * 2097152.0);
  // Ties (whole multiples of 2^-5 days end in a 5 at the fifth decimal) and the ends.
  for (int i = 0; i < 2000; ++i) expect_printf(2454000.0 + i / 32.0);
  expect_printf(2097152.0);
  expect_printf(std::nextafter(4194304.0, 0.0));
  expect_printf(2454009.99995);
  EXPECT_EQ(eclfore::jd_field(4194304.0), "");
  EXPECT_EQ(eclfore::jd_field(std::nextafter(2097152.0, 0.0)), "");
  EXPECT_EQ(eclfore::jd_field(std::nan("")), "");
}

}  // namespace
