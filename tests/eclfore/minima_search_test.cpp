#include "minima_search.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "formats/catalogue.h"
#include "astro/constants.h"
#include "astro/dates.h"
#include "e2e.h"

namespace {

const std::string kSample =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

eclfore::ForecastRequest tokyo_october_2006(float min_altitude_deg) {
  eclfore::ForecastRequest r;
  r.year = 2006;
  r.month = 10;
  r.min_altitude_deg = min_altitude_deg;
  r.site = *eclfore::site_for_menu_number(3);
  return r;
}

/// Runs the passes for one star into a scratch data.dat; gives the lines written.
long lines_for(const formats::StarRecord& star, const eclfore::ForecastRequest& request) {
  e2e::TempDir dir;
  io::OutputFile out((dir.path() / "data.dat").string());
  const long n = eclfore::forecast_star(star, eclfore::search_window(request.year, request.month),
                                        request, out);
  out.close();
  return n;
}

TEST(SearchWindow, OctoberTwoThousandSix) {
  const eclfore::SearchWindow w = eclfore::search_window(2006, 10);
  EXPECT_EQ(w.start_mjd, 54009.5);  // 2006-10-01 21:00 JST
  EXPECT_EQ(w.end_mjd, 54041.5);
  EXPECT_EQ(w.search_from_mjd, 54008.5);
}

TEST(SearchWindow, DayTableGivesTheNightDatesOfJdToLocalDate) {
  auto same = [](const astro::LocalDate& a, const astro::LocalDate& b) {
    return a.year == b.year && a.month == b.month && a.day == b.day && a.hour == b.hour &&
           a.minute == b.minute;
  };
  // Months across year ends, a leap February, the calendar reform, a month outside
  // 1-12, and Julian Dates from well before to well after each window, with the
  // JST day boundaries (JD + 0.875 whole) and their neighbours.
  const int months[][2] = {{2006, 10}, {2006, 12}, {2007, 1},  {2008, 2}, {2008, 3},
                           {1582, 10}, {1582, 11}, {2006, 13}, {-100, 3}};
  for (const auto& [year, month] : months) {
    const eclfore::SearchWindow w = eclfore::search_window(year, month);
    const double from_jd = w.search_from_mjd + astro::kMjdZeroJd - 60;
    for (double jd = from_jd; jd < w.end_mjd + astro::kMjdZeroJd + 60; jd += 0.0173) {
      ASSERT_TRUE(same(eclfore::night_date(w, jd), astro::jd_to_local_date(jd)))
          << year << "/" << month << " JD " << jd;
    }
    for (double day = std::floor(from_jd); day < from_jd + 160; ++day) {
      for (double jd : {day + 0.125, std::nextafter(day + 0.125, 0.0),
                        std::nextafter(day + 0.125, 1e9), day + 0.375, day + 0.374999}) {
        ASSERT_TRUE(same(eclfore::night_date(w, jd), astro::jd_to_local_date(jd)))
            << year << "/" << month << " JD " << jd;
      }
    }
  }
  const eclfore::SearchWindow w = eclfore::search_window(2006, 10);
  for (double jd : {std::nan(""), 1e300, -1e300, 0.0, -0.875}) {
    EXPECT_TRUE(same(eclfore::night_date(w, jd), astro::jd_to_local_date(jd))) << jd;
  }
}

TEST(SiteTable, MenuNumbers) {
  EXPECT_EQ(eclfore::site_for_menu_number(1)->longitude_deg, 141.35f);
  EXPECT_EQ(eclfore::site_for_menu_number(3)->latitude_deg, 35.67f);
  EXPECT_EQ(eclfore::site_for_menu_number(5)->longitude_deg, 136.65f);
  EXPECT_EQ(eclfore::site_for_menu_number(11)->latitude_deg, 26.22f);
  for (int outside : {0, -1, 12, 99, -2147483647 - 1, 2147483647}) {
    EXPECT_FALSE(eclfore::site_for_menu_number(outside)) << outside;
  }
}

TEST(ForecastStar, WorkedExampleCounts) {
  const formats::StarRecord star = formats::parse_star_record(kSample);
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
  const formats::StarRecord star = formats::parse_star_record(kSample);
  const eclfore::SearchWindow w = eclfore::search_window(2006, 10);
  EXPECT_EQ(eclfore::count_candidates(star, w), 55);
  EXPECT_GT(eclfore::count_candidates(star, w), lines_for(star, tokyo_october_2006(-90)));
}

TEST(CycleProblem, NothingMayWrapOrRunOn) {
  const eclfore::SearchWindow w = eclfore::search_window(2006, 10);
  auto star = [](double epoch_mjd, double period) {
    formats::StarRecord s = formats::parse_star_record(kSample);
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
