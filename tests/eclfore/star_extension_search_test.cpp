// What a star.dat line's extension changes in the search: the secondary phase moves the
// secondary minima, the line's time scale picks the rule of that scale over --epochs.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "e2e.h"
#include "forecast_line.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "minima_search.h"
#include "rules_by_scale.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

using eclfore_test::kExDemoLine;
using eclfore_test::tokyo_october_2006;

/// The instants of the secondary pass's candidates, MJD.
std::vector<double> secondary_candidates(const formats::StarRecord& star) {
  std::vector<double> instants;
  eclfore::for_each_candidate(star, eclfore::search_window(2006, 10), eclfore::keep_all,
                              [&](eclfore::MinimumKind kind, double mjd) {
                                if (kind == eclfore::MinimumKind::kSecondary) {
                                  instants.push_back(mjd);
                                }
                              });
  return instants;
}

TEST(SecondaryPhase, AtHalfAPeriodTheInstantsOfTodayElsewhereTheirOwnPhase) {
  const formats::StarRecord blank = formats::parse_star_record(kExDemoLine);
  formats::StarRecord half = blank;
  half.extension.secondary_phase = 0.5;
  EXPECT_EQ(secondary_candidates(half), secondary_candidates(blank));  // bit for bit

  formats::StarRecord eccentric = blank;
  eccentric.extension.secondary_phase = 0.4132;
  const std::vector<double> moved = secondary_candidates(eccentric);
  const std::vector<double> today = secondary_candidates(blank);
  ASSERT_EQ(moved.size(), today.size());
  for (std::size_t i = 0; i < moved.size(); ++i) {
    // 0.0868 of 1.2345678 days earlier; the phase from the epoch is 0.4132 (MJD doubles
    // near 54000 hold 1e-11 days).
    EXPECT_NEAR(today[i] - moved[i], 0.0868 * 1.2345678, 1e-9);
    const double cycles = (moved[i] - blank.epoch_mjd) / blank.period;
    EXPECT_NEAR(cycles - std::floor(cycles), 0.4132, 1e-9);
  }
}

/// data.dat of `stars` forecast with the rule of each star's time scale.
std::string forecast_by_scale(const std::vector<formats::StarRecord>& stars,
                              const eclfore::ForecastRequest& request) {
  e2e::TempDir dir;
  const std::string path = (dir.path() / "data.dat").string();
  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
  eclfore::RulesByScale rules(request, window);
  io::OutputFile out(path);
  for (const formats::StarRecord& star : stars) {
    const eclfore::ScaleRule& r = rules.for_star(star);
    eclfore::fast::forecast_star(star, window, r.rule, r.tables, out);
  }
  out.close();
  std::ifstream in(path, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

TEST(RulesByScale, ALinesTimeScaleHoldsOverEpochsAndTheOthersTakeEpochs) {
  const formats::StarRecord plain = formats::parse_star_record(kExDemoLine);
  formats::StarRecord hjd = plain;
  hjd.extension.time_scale = astro::EpochScale::kHjd;
  formats::StarRecord jd = plain;
  jd.extension.time_scale = astro::EpochScale::kJd;

  eclfore::ForecastRequest no_option = tokyo_october_2006(0);
  eclfore::ForecastRequest epochs_hjd = no_option;
  epochs_hjd.sky_options.epochs = astro::EpochScale::kHjd;

  const std::string today = forecast_by_scale({plain}, no_option);
  const std::string heliocentric = forecast_by_scale({plain}, epochs_hjd);
  ASSERT_NE(today, heliocentric);
  EXPECT_EQ(forecast_by_scale({hjd}, no_option), heliocentric);
  EXPECT_EQ(forecast_by_scale({jd}, epochs_hjd), today);
  EXPECT_EQ(forecast_by_scale({jd, hjd, plain}, epochs_hjd), today + heliocentric + heliocentric);
  EXPECT_EQ(forecast_by_scale({hjd, jd, plain}, no_option), heliocentric + today + today);

  // A run whose lines name no other scale builds no sky tables.
  const eclfore::SearchWindow window = eclfore::search_window(2006, 10);
  eclfore::RulesByScale rules(no_option, window);
  EXPECT_FALSE(rules.for_star(plain).sky);
  EXPECT_FALSE(rules.for_star(jd).sky);
  EXPECT_TRUE(rules.for_star(hjd).sky);
  EXPECT_TRUE(rules.for_star(hjd).rule.moved_instant);
}

}  // namespace

namespace {

TEST(CycleCount, WholeForAPrimaryAndOnByTheSecondaryPhaseForASecondary) {
  formats::StarRecord star = formats::parse_star_record(kExDemoLine);
  star.extension.secondary_phase = 0.4132;
  // Every candidate of the worked example's month: cycles 817 to 844.
  std::vector<double> primaries, secondaries;
  eclfore::for_each_candidate(
      star, eclfore::search_window(2006, 10), eclfore::keep_all,
      [&](eclfore::MinimumKind kind, double mjd) {
        const double e = eclfore::cycle_count(star, kind, mjd);
        (kind == eclfore::MinimumKind::kPrimary ? primaries : secondaries).push_back(e);
      });
  ASSERT_EQ(primaries.size(), 27u);
  ASSERT_EQ(secondaries.size(), 28u);
  for (std::size_t i = 0; i < primaries.size(); ++i) EXPECT_EQ(primaries[i], 817.0 + i);
  for (std::size_t i = 0; i < secondaries.size(); ++i) {
    EXPECT_EQ(secondaries[i], 816.0 + i + 0.4132);
  }
  // Before the epoch the count is negative; at phase 0.5 by default.
  formats::StarRecord plain = formats::parse_star_record(kExDemoLine);
  EXPECT_EQ(eclfore::cycle_count(plain, eclfore::MinimumKind::kSecondary,
                                 plain.epoch_mjd - 9.5 * plain.period),
            -9.5);
  EXPECT_EQ(eclfore::cycle_count(plain, eclfore::MinimumKind::kPrimary,
                                 plain.epoch_mjd - 3 * plain.period + 0.01),
            -3.0);
}

}  // namespace
