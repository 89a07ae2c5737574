#include "minima_search.h"

#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "fast/forecast_star.h"
#include "formats/catalogue.h"
#include "io/output_file.h"
#include "listing_rule.h"
#include "search_window.h"
#include "worked_example.h"

namespace {

using eclfore_test::kExDemoLine;
using eclfore_test::tokyo_october_2006;

/// Runs the passes for one star into a scratch data.dat; gives the lines written. The
/// exact search lists as many minima.
long lines_for(const formats::StarRecord& star, const eclfore::ForecastRequest& request) {
  e2e::TempDir dir;
  io::OutputFile out((dir.path() / "data.dat").string());
  const eclfore::SearchWindow window = eclfore::search_window(request.year, request.month);
  const eclfore::ListingRule rule = eclfore::listing_rule(request, nullptr);
  const long n = eclfore::fast::forecast_star(star, window, rule,
                                              eclfore::fast::run_tables(window, rule), out);
  out.close();
  EXPECT_EQ(eclfore::search_minima(star, window, rule, [](const eclfore::ForecastMinimum&) {}), n);
  return n;
}

TEST(ForecastStar, WorkedExampleCounts) {
  const formats::StarRecord star = formats::parse_star_record(kExDemoLine);
  EXPECT_EQ(lines_for(star, tokyo_october_2006(20)), 15);
  EXPECT_EQ(lines_for(star, tokyo_october_2006(60)), 8);
  // Two more minima stand below 20 degrees (9.4 and 9.8) but above the horizon.
  EXPECT_EQ(lines_for(star, tokyo_october_2006(0)), 18);
  eclfore::ForecastRequest other_month = tokyo_october_2006(20);
  other_month.month = 13;
  EXPECT_EQ(lines_for(star, other_month), 0);
}

TEST(ForecastStar, CandidatesOfBothPasses) {
  // Cycles 817 to 843 of the primary pass (27) and 817 to 844 of the secondary pass,
  // whose epoch lies half a period earlier (28): more than are ever listed.
  const formats::StarRecord star = formats::parse_star_record(kExDemoLine);
  const eclfore::SearchWindow w = eclfore::search_window(2006, 10);
  EXPECT_EQ(eclfore::count_candidates(star, w), 55);
  EXPECT_GT(eclfore::count_candidates(star, w), lines_for(star, tokyo_october_2006(-90)));
}

TEST(CycleProblem, NothingMayWrapOrRunOn) {
  const eclfore::SearchWindow w = eclfore::search_window(2006, 10);
  auto star = [](double epoch_mjd, double period) {
    formats::StarRecord s = formats::parse_star_record(kExDemoLine);
    s.epoch_mjd = epoch_mjd;
    s.period = period;
    return s;
  };
  EXPECT_FALSE(eclfore::cycle_problem(star(52999.6234, 1.2345678), w));
  EXPECT_FALSE(eclfore::cycle_problem(star(52999.6234, 0.0001), w));  // 330000 minima
  EXPECT_TRUE(eclfore::cycle_problem(star(52999.6234, 0.00001), w));  // 3300000
  // The first cycle fits 32 bits but the last of the window would not.
  EXPECT_FALSE(eclfore::cycle_problem(star(54008.5 - 2147483600.0, 1), w));
  EXPECT_TRUE(eclfore::cycle_problem(star(54008.5 - 2147483640.0, 1), w));
  EXPECT_TRUE(eclfore::cycle_problem(star(54008.5 + 2147483700.0, 1), w));
  EXPECT_TRUE(eclfore::cycle_problem(star(1e12, 100), w));

  // Even unchecked, such stars end after a bounded number of candidates.
  for (const auto& s : {star(1e12, 100), star(52999.6234, 1e-300), star(1e300, 1e292),
                        star(54008.5 - 2147483640.0, 1)}) {
    EXPECT_GE(lines_for(s, tokyo_october_2006(0)), 0);
  }
}

}  // namespace
