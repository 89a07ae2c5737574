// The forecast of a star the short way (the prefilter, the night in whole numbers, the
// quick altitude, the line in place) writes byte for byte what the listing rule lists,
// written by the plain ForecastLine writer: random stars over the whole sky, sites,
// months and lowest altitudes, without and with the options for today's sky, and stars
// whose lines give a secondary phase and a time scale of their own.
#include "fast/forecast_star.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "astro/constants.h"
#include "astro/horizon_profile.h"
#include "astro/sites.h"
#include "coverage.h"
#include "e2e.h"
#include "forecast_line.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "listing_rule.h"
#include "minima_search.h"
#include "rules_by_scale.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

/// The rule and tables for a star.
struct RuleAndTables {
  const eclfore::ListingRule* rule;
  const eclfore::fast::RunTables* tables;
};

/// data.dat of `stars` written by forecast_star (quick) and from search_minima's
/// minima by write_forecast_line (exact), each star with the rule of `rule_for(star)`.
template <class RuleFor>
std::pair<std::string, std::string> both_ways_with(const std::vector<formats::StarRecord>& stars,
                                                   const eclfore::SearchWindow& window,
                                                   RuleFor&& rule_for) {
  e2e::TempDir dir;
  const std::string quick_path = (dir.path() / "quick.dat").string();
  const std::string exact_path = (dir.path() / "exact.dat").string();
  io::OutputFile quick(quick_path);
  io::OutputFile exact(exact_path);
  for (const formats::StarRecord& star : stars) {
    if (eclfore::cycle_problem(star, window)) continue;
    const RuleAndTables r = rule_for(star);
    eclfore::fast::forecast_star(star, window, *r.rule, *r.tables, quick);
    eclfore::search_minima(star, window, *r.rule, [&](const eclfore::ForecastMinimum& m) {
      eclfore::write_forecast_line(exact, m);
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

/// Both ways for `request` with the sky tables `sky` of its options (null for none).
std::pair<std::string, std::string> both_ways(const std::vector<formats::StarRecord>& stars,
                                              const eclfore::ForecastRequest& request,
                                              const astro::ObservingConditions* sky = nullptr) {
  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
  const eclfore::ListingRule rule = eclfore::listing_rule(request, sky);
  const eclfore::fast::RunTables tables = eclfore::fast::run_tables(window, rule);
  return both_ways_with(stars, window, [&](const formats::StarRecord&) {
    return RuleAndTables{&rule, &tables};
  });
}

/// Both ways, each star with the rule of its line's time scale.
std::pair<std::string, std::string> both_ways_by_scale(
    const std::vector<formats::StarRecord>& stars, const eclfore::ForecastRequest& request) {
  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
  eclfore::RulesByScale rules(request, window);
  return both_ways_with(stars, window, [&](const formats::StarRecord& star) {
    const eclfore::ScaleRule& r = rules.for_star(star);
    return RuleAndTables{&r.rule, &r.tables};
  });
}

/// Every bit of `value`, as text.
std::string exact_text(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%a", value);
  return text;
}

/// `count` stars of the whole sky, periods 0.2 to 20 days, epochs early in 2004.
std::vector<formats::StarRecord> random_stars(std::mt19937_64& rng, int count) {
  std::uniform_real_distribution<double> unit(0, 1);
  const formats::StarRecord base = formats::parse_star_record(eclfore_test::kExDemoLine);
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

TEST(ForecastStar, TheSameBytesAsTheRule) {
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
    request.site = round % 2 ? astro::kSiteTable[static_cast<std::size_t>(round % 11)].site
                             : astro::ObservingSite{static_cast<float>(unit(rng) * 360 - 180),
                                                    static_cast<float>(unit(rng) * 180 - 90)};
    const auto [quick, exact] = both_ways(stars, request);
    ASSERT_EQ(quick, exact) << "round " << round;
    lines += static_cast<long>(std::count(exact.begin(), exact.end(), '\n'));
  }
  EXPECT_GT(lines, 20000);
}

TEST(ForecastStar, WithTheOptionsForTodaysSkyTheSameBytesAsTheRule) {
  // Each option alone and all together, the leap second's month among them: forecast_star
  // (the night in whole numbers, the quick altitude, the prefilter's Sun slots and
  // altitude of date, the Moon's shortcut) against search_minima's rule.
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
    request.site = round % 3 ? astro::kSiteTable[static_cast<std::size_t>(round % 11)].site
                             : astro::ObservingSite{static_cast<float>(unit(rng) * 360 - 180),
                                                    static_cast<float>(unit(rng) * 180 - 90)};
    request.sky_options = choices[round % 6];
    const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
    const astro::ObservingConditions sky =
        eclfore::window_sky(request.sky_options, window, request.site);
    const auto [quick, exact] = both_ways(stars, request, &sky);
    ASSERT_EQ(quick, exact) << "round " << round;
    lines += static_cast<long>(std::count(exact.begin(), exact.end(), '\n'));
  }
  EXPECT_GT(lines, 3000);
}

TEST(ForecastStar, WithAHorizonTheSameBytesAsTheRule) {
  // A skyline high in the east and low elsewhere, dipping below 0 in the north: the
  // prefilter still rejects on the lowest altitude alone and the rule decides the rest,
  // without and with --of-date (whose altitude is tested against the skyline too).
  const astro::HorizonProfile skyline = astro::horizon_profile(
      {{0, -2}, {60, 15}, {90, 35}, {150, 25}, {200, 5}, {280, 12.5}, {330, 0}});
  std::mt19937_64 rng(20261209);
  std::uniform_real_distribution<double> unit(0, 1);
  astro::SkyOptions of_date;
  of_date.of_date = true;
  const float limits[] = {-3.0f, 0.0f, 20.0f, 40.0f};
  long lines = 0;
  long hidden = 0;
  for (int round = 0; round < 8; ++round) {
    const std::vector<formats::StarRecord> stars = random_stars(rng, 150);
    eclfore::ForecastRequest request;
    request.year = 2000 + round * 3;
    request.month = 1 + round * 5 % 12;
    request.min_altitude_deg = limits[round % 4];
    request.site = round % 2 ? astro::kSiteTable[static_cast<std::size_t>(round % 11)].site
                             : astro::ObservingSite{static_cast<float>(unit(rng) * 360 - 180),
                                                    static_cast<float>(unit(rng) * 180 - 90)};
    std::optional<astro::ObservingConditions> sky;
    if (round >= 4) {
      request.sky_options = of_date;
      sky.emplace(eclfore::window_sky(
          request.sky_options, eclfore::search_window(request.year, request.month), request.site));
    }
    const auto [open_quick, open_exact] = both_ways(stars, request, sky ? &*sky : nullptr);
    request.horizon = skyline;
    const auto [quick, exact] = both_ways(stars, request, sky ? &*sky : nullptr);
    ASSERT_EQ(quick, exact) << "round " << round;
    const auto count = [](const std::string& text) {
      return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
    };
    lines += count(exact);
    hidden += count(open_exact) - count(exact);
  }
  EXPECT_GT(lines, 3000);
  EXPECT_GT(hidden, 500);  // the skyline hides a good share of the minima
}

TEST(ForecastStar, LinesWithASecondaryPhaseAndATimeScaleTheSameBytesAsTheRule) {
  // Secondary phases over the whole range (or blank) and each time scale (or none), in
  // runs without options, with --epochs and with every option: the prefilter sees the
  // moved secondary candidates, the rule of each scale its own shift.
  std::mt19937_64 rng(20261209);
  std::uniform_real_distribution<double> unit(0, 1);
  const std::optional<astro::EpochScale> scales[] = {
      std::nullopt, astro::EpochScale::kJd, astro::EpochScale::kHjd, astro::EpochScale::kBjd};
  astro::SkyOptions none, hjd, all;
  hjd.epochs = astro::EpochScale::kHjd;
  all.sun_below_deg = astro::kCivilTwilightDeg;
  all.moon_distance_deg = 20;
  all.epochs = astro::EpochScale::kBjd;
  all.of_date = true;
  const astro::SkyOptions choices[] = {none, hjd, all};
  long lines = 0;
  long secondaries = 0;
  for (int round = 0; round < 6; ++round) {
    std::vector<formats::StarRecord> stars = random_stars(rng, 150);
    for (formats::StarRecord& star : stars) {
      const double phase = unit(rng);
      if (phase > 0.002 && phase < 0.998) star.extension.secondary_phase = phase;
      star.extension.time_scale = scales[static_cast<std::size_t>(unit(rng) * 4)];
    }
    eclfore::ForecastRequest request;
    request.year = 2016 + round * 2;
    request.month = 1 + (round * 5) % 12;
    request.min_altitude_deg = round % 2 ? 20.0f : 0.0f;
    request.site = astro::kSiteTable[static_cast<std::size_t>(round % 11)].site;
    request.sky_options = choices[round % 3];
    const auto [quick, exact] = both_ways_by_scale(stars, request);
    ASSERT_EQ(quick, exact) << "round " << round;
    lines += static_cast<long>(std::count(exact.begin(), exact.end(), '\n'));
    for (std::size_t at = exact.find(" s "); at != std::string::npos;
         at = exact.find(" s ", at + 1)) {
      ++secondaries;
    }
  }
  EXPECT_GT(lines, 3000);
  EXPECT_GT(secondaries, 1000);
}

TEST(ForecastStar, WithCoverageTheSameBytesAsTheRule) {
  // --coverage and --baseline on stars with and without durations and errors, without
  // options, with every option for today's sky and with a skyline: the shortcuts judge
  // the window only of what the steps before accepted, as the rule does.
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> unit(0, 1);
  astro::SkyOptions none, all;
  all.sun_below_deg = astro::kNauticalTwilightDeg;
  all.moon_distance_deg = 30;
  all.of_date = true;
  const astro::HorizonProfile wall =
      astro::horizon_profile({{0, 5}, {90, 25}, {200, 10}, {300, 40}});
  long lines = 0;
  long dropped = 0;
  for (int round = 0; round < 6; ++round) {
    std::vector<formats::StarRecord> stars = random_stars(rng, 120);
    for (formats::StarRecord& star : stars) {
      if (unit(rng) < 0.8) star.extension.eclipse_duration_pct = 2 + unit(rng) * 30;
      if (unit(rng) < 0.3) star.extension.secondary_duration_pct = 2 + unit(rng) * 30;
      if (unit(rng) < 0.5) {
        star.extension.epoch_error_days = unit(rng) * 0.01;
        star.extension.period_error_days = unit(rng) * 1e-5;
      }
    }
    eclfore::ForecastRequest request;
    request.year = 2020 + round;
    request.month = 1 + (round * 7) % 12;
    request.min_altitude_deg = round % 2 ? 25.0f : 0.0f;
    request.site = astro::kSiteTable[static_cast<std::size_t>(round % 11)].site;
    request.sky_options = round % 3 == 1 ? all : none;
    if (round % 3 == 2) request.horizon = wall;
    std::optional<astro::ObservingConditions> sky;
    if (request.sky_options.any()) {
      sky.emplace(eclfore::window_sky(
          request.sky_options, eclfore::search_window(request.year, request.month), request.site));
    }
    const astro::ObservingConditions* tables = sky ? &*sky : nullptr;
    const std::string open_exact = both_ways(stars, request, tables).second;
    request.coverage = formats::CoverageOptions{round % 2 ? 100.0 : 60.0, round * 5.0};
    const auto [quick, exact] = both_ways(stars, request, tables);
    ASSERT_EQ(quick, exact) << "round " << round;
    // The table's and the calendar's consumer gets the rule's minima from either path:
    // the same instants, kinds, candidates and nights, and the same share of the window
    // (the short way counts it with the quick observability, the table without
    // --coverage with the rule's), with and without --coverage.
    const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
    for (const bool judged : {true, false}) {
      if (!judged) request.coverage.reset();
      const eclfore::ListingRule rule = eclfore::listing_rule(request, tables);
      const eclfore::fast::RunTables run_tables = eclfore::fast::run_tables(window, rule);
      std::string handed_quick, handed_exact;
      auto record = [&](std::string& into) {
        return [&into, &rule, &window](const eclfore::ForecastMinimum& m) {
          std::optional<double> share = m.coverage_pct;
          if (!share) {
            share = eclfore::window_share_pct(
                eclfore::star_for_rule(*m.star, rule), window, rule,
                eclfore::eclipse_extent(*m.star, m.kind, m.candidate_mjd), m.minimum_jd,
                rule.coverage ? rule.coverage->baseline_min : 0);
          }
          into += std::to_string(static_cast<int>(m.kind)) + " " + std::to_string(m.minimum_jd) +
                  " " + std::to_string(m.candidate_mjd) + " " + std::to_string(m.night.day) + " " +
                  std::to_string(m.night.hour) + " " + (share ? exact_text(*share) : "-") + "\n";
        };
      };
      const eclfore::MinimumConsumer to_quick = record(handed_quick);
      e2e::TempDir dir;
      io::OutputFile ignored((dir.path() / "quick.dat").string());
      for (const formats::StarRecord& star : stars) {
        if (eclfore::cycle_problem(star, window)) continue;
        eclfore::fast::forecast_star(star, window, rule, run_tables, ignored, &to_quick);
        eclfore::search_minima(star, window, rule, record(handed_exact));
      }
      ASSERT_EQ(handed_quick, handed_exact) << "round " << round << (judged ? "" : " unjudged");
    }
    auto count = [](const std::string& text) {
      return static_cast<long>(std::count(text.begin(), text.end(), '\n'));
    };
    lines += count(exact);
    dropped += count(open_exact) - count(exact);
  }
  EXPECT_GT(lines, 1000);
  EXPECT_GT(dropped, 300);  // the coverage leaves out a good share of the minima
}

}  // namespace
