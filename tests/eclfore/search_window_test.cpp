#include "search_window.h"

#include <gtest/gtest.h>

#include <cmath>

#include "astro/constants.h"
#include "astro/dates.h"

namespace {

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

}  // namespace
