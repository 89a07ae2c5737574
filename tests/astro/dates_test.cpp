#include "astro/dates.h"

#include <erfa.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <set>

namespace {

using astro::calendar_to_mjd;
using astro::jd_to_local_date;
using astro::LocalDate;

struct MjdCase {
  float year, month, day, hour;
  double mjd;
};

// Regression: the bits of today's results, frozen. The whole hours are exact MJDs; the
// fractions are the single-precision day fraction's, which the forecast lines carry.
TEST(CalendarToMjdRegression, TodaysBitsFrozen) {
  const MjdCase cases[] = {
      {2006, 10, 1, 21, 54009.5},
      // Single-precision day fraction: not 54009.520833333333.
      {2006, 10, 1, 21.5f, 54009.520833313465},
      // January is month 13 of the previous year; 0:00 JST is 15:00 UT the day before.
      {2006, 1, 15, 0, 53749.625},
      {2000, 2, 29, 12, 51603.125},
      {1858, 11, 17, 9, 0.0},
      // After midnight runs on into the next day; the two day fractions differ.
      {2006, 10, 1, 26.5f, 54009.72916662693},
      {2006, 10, 2, 2.5f, 54009.72916666418},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(calendar_to_mjd(c.year, c.month, c.day, c.hour), c.mjd)
        << c.year << "-" << c.month << "-" << c.day << " " << c.hour;
  }
}

TEST(CalendarToMjd, SwitchesCalendarAtTheReform) {
  EXPECT_EQ(calendar_to_mjd(1582, 10, 4, 9), -100841.0);   // Julian
  EXPECT_EQ(calendar_to_mjd(1582, 10, 15, 9), -100840.0);  // Gregorian, the next day
  EXPECT_EQ(calendar_to_mjd(1582, 10, 10, 9), -100835.0);  // last Julian-branch day
  EXPECT_EQ(calendar_to_mjd(1582, 10, 11, 9), -100844.0);  // first Gregorian-branch day
}

TEST(CalendarToMjd, NegativeYearsFollowTheProlepticJulianCalendar) {
  EXPECT_EQ(calendar_to_mjd(-101, 3, 1, 9), -715774.0);
  // Year -100 is a Julian leap year: one day after -101-03-01 plus 365 days.
  EXPECT_EQ(calendar_to_mjd(-100, 3, 1, 9), -715408.0);
  EXPECT_EQ(calendar_to_mjd(-100, 3, 1, 9) - calendar_to_mjd(-101, 3, 1, 9), 366.0);
  EXPECT_EQ(calendar_to_mjd(0, 1, 1, 9), -678943.0);
  EXPECT_EQ(calendar_to_mjd(-4, 3, 1, 9) - calendar_to_mjd(-4, 2, 28, 9), 2.0);
  EXPECT_EQ(calendar_to_mjd(-3, 3, 1, 9) - calendar_to_mjd(-3, 2, 28, 9), 1.0);
}

// Correctness: ERFA's eraCal2jd (the IAU SOFA calendar routine) gives the MJD of 0h UT,
// which is 9:00 JST. Tolerance 0: measured no difference from 1583 to 2500.
TEST(CalendarToMjd, GregorianDatesAsErfa) {
  for (int year = 1583; year <= 2500; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day : {1, 15, 28}) {
        double mjd_zero = 0, mjd = 0;
        ASSERT_EQ(eraCal2jd(year, month, day, &mjd_zero, &mjd), 0);
        ASSERT_EQ(calendar_to_mjd(static_cast<float>(year), static_cast<float>(month),
                                  static_cast<float>(day), 9),
                  mjd)
            << year << "-" << month << "-" << day;
      }
    }
  }
}

TEST(CalendarToMjd, OutOfRangeValuesSaturateInsteadOfWrapping) {
  const float inf = std::numeric_limits<float>::infinity();
  const double today = calendar_to_mjd(2006, 10, 1, 21);
  // A year or month far beyond the calendar stays finite and on its side of today: a
  // wrapped day count would turn the far future into the past.
  for (float far : {1e6f, 2147483647.0f, 1e30f, inf}) {
    for (const double mjd :
         {calendar_to_mjd(far, 10, 1, 21), calendar_to_mjd(-far, 10, 1, 21),
          calendar_to_mjd(2006, far, 1, 21), calendar_to_mjd(2006, -far, 1, 21)}) {
      EXPECT_TRUE(std::isfinite(mjd)) << far;
    }
    EXPECT_GT(calendar_to_mjd(far, 10, 1, 21), today) << far;
    EXPECT_LT(calendar_to_mjd(-far, 10, 1, 21), today) << far;
    EXPECT_GT(calendar_to_mjd(2006, far, 1, 21), today) << far;
    EXPECT_LT(calendar_to_mjd(2006, -far, 1, 21), today) << far;
  }
  // An unknown day or hour makes no date.
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isnan(calendar_to_mjd(2006, 10, nan, 21)));
  EXPECT_TRUE(std::isnan(calendar_to_mjd(2006, 10, 1, nan)));
}

void expect_date(const LocalDate& d, int year, int month, int day, int hour, int minute) {
  EXPECT_EQ(d.year, year);
  EXPECT_EQ(d.month, month);
  EXPECT_EQ(d.day, day);
  EXPECT_EQ(d.hour, hour);
  EXPECT_EQ(d.minute, minute);
}

double jst_jd(float year, float month, float day, float hour) {
  return calendar_to_mjd(year, month, day, hour) + 2400000.5;
}

TEST(JdToLocalDate, AppliesTheAfterMidnightConvention) {
  expect_date(jd_to_local_date(2454009.5), 2006, 10, 1, 9, 0);
  // 2006-10-01 0:00 JST belongs to the night of 30 September.
  expect_date(jd_to_local_date(2454009.125), 2006, 9, 30, 24, 0);
  expect_date(jd_to_local_date(jst_jd(2006, 3, 1, 2)), 2006, 2, 28, 26, 0);
  expect_date(jd_to_local_date(jst_jd(2008, 3, 1, 2)), 2008, 2, 29, 26, 0);
  expect_date(jd_to_local_date(jst_jd(2000, 3, 1, 2)), 2000, 2, 29, 26, 0);
  // 2100 is no leap year in the Gregorian calendar.
  expect_date(jd_to_local_date(jst_jd(2100, 3, 1, 2)), 2100, 2, 28, 26, 0);
  expect_date(jd_to_local_date(jst_jd(2007, 1, 1, 3)), 2006, 12, 31, 27, 0);
  expect_date(jd_to_local_date(jst_jd(2006, 10, 1, 26.5f)), 2006, 10, 1, 26, 30);
}

TEST(JdToLocalDate, SixOClockIsTheBoundary) {
  expect_date(jd_to_local_date(jst_jd(2006, 10, 2, 6)), 2006, 10, 2, 6, 0);
  const LocalDate d = jd_to_local_date(jst_jd(2006, 10, 2, 5 + 59.0f / 60));
  EXPECT_EQ(d.day, 1);
  EXPECT_EQ(d.hour, 29);
  EXPECT_EQ(d.minute, 59);
}

TEST(JdToLocalDate, RoundsTheMinuteWithoutCarry) {
  expect_date(jd_to_local_date(2454010.12472), 2006, 10, 1, 23, 60);
  expect_date(jd_to_local_date(2454009.37479), 2006, 9, 30, 29, 60);
  expect_date(jd_to_local_date(jst_jd(2006, 10, 1, 23)), 2006, 10, 1, 22, 60);
}

TEST(JdToLocalDate, WholeHoursComeBackAsWrittenOrAsMinuteSixty) {
  // Over 1990-2039 the single-precision day fraction turns exactly these whole
  // hours into the previous hour with minute 60.
  const std::set<int> sixty = {7, 10, 14, 17, 20, 23};
  static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  for (int year = 1990; year <= 2039; ++year) {
    for (int month = 1; month <= 12; ++month) {
      int days = kDays[month - 1];
      if (month == 2 && year % 4 == 0) days = 29;
      for (int day = 1; day <= days; ++day) {
        for (int hour = 6; hour <= 23; ++hour) {
          const LocalDate d = jd_to_local_date(jst_jd(year, month, day, hour));
          ASSERT_EQ(d.year, year);
          ASSERT_EQ(d.month, month);
          ASSERT_EQ(d.day, day);
          if (sixty.count(hour)) {
            ASSERT_EQ(d.hour, hour - 1) << year << "-" << month << "-" << day;
            ASSERT_EQ(d.minute, 60);
          } else {
            ASSERT_EQ(d.hour, hour) << year << "-" << month << "-" << day;
            ASSERT_EQ(d.minute, 0);
          }
        }
      }
    }
  }
}

TEST(JdToLocalDate, ReturnsJulianDatesBeforeTheReform) {
  expect_date(jd_to_local_date(jst_jd(1582, 10, 4, 12)), 1582, 10, 4, 12, 0);
  expect_date(jd_to_local_date(jst_jd(1582, 10, 15, 12)), 1582, 10, 15, 12, 0);
  expect_date(jd_to_local_date(jst_jd(1000, 6, 10, 12)), 1000, 6, 10, 12, 0);
  // 1500 is a Julian leap year: the February roll-back gives the 29th.
  expect_date(jd_to_local_date(jst_jd(1500, 3, 1, 2)), 1500, 2, 29, 26, 0);
}

TEST(JdToLocalDate, TheEarlyHoursOfTheFirstGregorianDayBelongToTheLastJulianDate) {
  // 1582-10-15 followed 1582-10-04: no night was dated 5 to 14 October.
  expect_date(jd_to_local_date(jst_jd(1582, 10, 15, 2)), 1582, 10, 4, 26, 0);
  expect_date(jd_to_local_date(jst_jd(1582, 10, 15, 9), astro::kSunNightMorningEndHour), 1582, 10,
              4, 33, 0);
  expect_date(jd_to_local_date(jst_jd(1582, 10, 16, 2)), 1582, 10, 15, 26, 0);
  expect_date(jd_to_local_date(jst_jd(1582, 10, 4, 2)), 1582, 10, 3, 26, 0);
}

TEST(JdToLocalDateFromNoon, EarlyHoursUpToNoonBelongToTheEveningBefore) {
  constexpr int kNoon = astro::kSunNightMorningEndHour;
  // Hours 12:00 to 23:59 stay; 0:00 to 11:59 count on from 24 on the date before.
  expect_date(jd_to_local_date(jst_jd(2026, 6, 10, 12), kNoon), 2026, 6, 10, 12, 0);
  expect_date(jd_to_local_date(jst_jd(2026, 6, 10, 19.5f), kNoon), 2026, 6, 10, 19, 30);
  expect_date(jd_to_local_date(jst_jd(2026, 6, 11, 3.25f), kNoon), 2026, 6, 10, 27, 15);
  expect_date(jd_to_local_date(jst_jd(2026, 6, 11, 11.5f), kNoon), 2026, 6, 10, 35, 30);
  // 11:59:42 rounds to minute 60 of hour 35: 36.00 in a forecast line.
  expect_date(jd_to_local_date(jst_jd(2026, 6, 11, 11 + 59.7f / 60), kNoon), 2026, 6, 10, 35, 60);
  // The roll-backs over a month's end and into February are the fixed night's.
  expect_date(jd_to_local_date(jst_jd(2026, 7, 1, 9), kNoon), 2026, 6, 30, 33, 0);
  expect_date(jd_to_local_date(jst_jd(2027, 1, 1, 8), kNoon), 2026, 12, 31, 32, 0);
  expect_date(jd_to_local_date(jst_jd(2028, 3, 1, 10.5f), kNoon), 2028, 2, 29, 34, 30);
  expect_date(jd_to_local_date(jst_jd(2100, 3, 1, 10.5f), kNoon), 2100, 2, 28, 34, 30);
  // With the fixed night's hour the two forms agree bit for bit.
  for (double jd = 2461191.0; jd < 2461192.0; jd += 0.0123) {
    const LocalDate a = jd_to_local_date(jd);
    const LocalDate b = jd_to_local_date(jd, astro::kFixedNightMorningEndHour);
    EXPECT_EQ(a.hour * 100 + a.minute, b.hour * 100 + b.minute);
    EXPECT_EQ(a.day, b.day);
  }
}

TEST(LocalDateInDayWhole, SameDateHourAndMinuteAsTheExtendedSteps) {
  // Random Julian Dates of the whole-number range, the minute's rounding ties (an odd
  // multiple of 30 s) and the hour boundaries, with both morning ends; fractions that
  // are not whole numbers of 2^-31 days take the extended steps.
  std::mt19937_64 rng(20261208);
  std::uniform_real_distribution<double> unit(0, 1);
  long compared = 0;
  auto expect_same = [&](double jd, int morning_end) {
    const astro::JstDayPosition at = astro::jst_day_position(jd);
    const astro::JstDay day = astro::jst_day(at.day_number);
    const LocalDate a = astro::local_date_in_day(day, at.fraction, morning_end);
    const LocalDate b = astro::local_date_in_day_whole(day, at.fraction, morning_end);
    ASSERT_EQ((a.year * 100 + a.month) * 100 + a.day, (b.year * 100 + b.month) * 100 + b.day);
    ASSERT_EQ(a.hour * 100 + a.minute, b.hour * 100 + b.minute) << jd;
    ++compared;
  };
  for (int morning_end : {astro::kFixedNightMorningEndHour, astro::kSunNightMorningEndHour}) {
    for (int i = 0; i < 200000; ++i) expect_same(2097152.0 + unit(rng) * 2097152.0, morning_end);
    for (int i = 0; i < 2880; ++i) {
      const double tie = 2454000.125 + (2 * i + 1) / 2880.0;
      expect_same(tie, morning_end);
      expect_same(std::nextafter(tie, 0.0), morning_end);
      expect_same(std::nextafter(tie, 1e9), morning_end);
    }
  }
  const astro::JstDay day = astro::jst_day(2454000);
  for (double odd : {0.1, 1.0 / 3, 0.999999999999}) {
    const LocalDate a = astro::local_date_in_day(day, odd, astro::kFixedNightMorningEndHour);
    const LocalDate b = astro::local_date_in_day_whole(day, odd, astro::kFixedNightMorningEndHour);
    EXPECT_EQ(a.hour * 100 + a.minute, b.hour * 100 + b.minute) << odd;
  }
  EXPECT_GT(compared, 400000);
}

// Correctness: ERFA's eraJd2cal (the IAU SOFA calendar routine) gives the Gregorian
// date of the JST clock time jd + 9 h; the hours before 6:00 belong to the date before.
// Tolerance 0 for the date and the hour, away from the minute's rounding at the hour.
TEST(JdToLocalDate, GregorianDatesAsErfa) {
  std::mt19937_64 rng(20061001);
  std::uniform_real_distribution<double> jds(2299161.0, 2634166.0);  // 1582-10-15 to 2500
  for (int i = 0; i < 100000; ++i) {
    const double jd = jds(rng);
    double jst_day_fraction = 0;
    int year = 0, month = 0, day = 0;
    ASSERT_EQ(eraJd2cal(jd, 0.375, &year, &month, &day, &jst_day_fraction), 0);
    const double hours = jst_day_fraction * 24;
    if (std::abs(hours - std::nearbyint(hours)) < 1.0 / 60) continue;
    int hour = static_cast<int>(hours);
    if (hour < 6) {
      ASSERT_EQ(eraJd2cal(jd, 0.375 - 1, &year, &month, &day, &jst_day_fraction), 0);
      hour += 24;
    }
    const LocalDate d = jd_to_local_date(jd);
    ASSERT_EQ((d.year * 100 + d.month) * 100 + d.day, (year * 100 + month) * 100 + day) << jd;
    ASSERT_EQ(d.hour, hour) << jd;
  }
}

// The date, hour and minute stay in their ranges (month 1 to 12, day 1 to 31, hour from
// the morning's end to 23 hours later, minute 0 to 60) for every Julian Date from the
// start of JST day 0 to year 5,874,775, where the day count nears 2^31.
TEST(JdToLocalDate, FieldsStayInTheirRanges) {
  std::mt19937_64 rng(4713);
  std::uniform_real_distribution<double> jds(-0.875, 2147438000.0);
  for (int morning_end : {astro::kFixedNightMorningEndHour, astro::kSunNightMorningEndHour}) {
    for (int i = 0; i < 200000; ++i) {
      const double jd = i == 0 ? -0.875 : i == 1 ? 2147438000.0 : jds(rng);
      const LocalDate d = jd_to_local_date(jd, morning_end);
      ASSERT_TRUE(d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31) << jd;
      ASSERT_TRUE(d.hour >= morning_end && d.hour <= morning_end + 23) << jd;
      ASSERT_TRUE(d.minute >= 0 && d.minute <= 60) << jd;
    }
  }
}

TEST(JdToLocalDate, AbsurdJulianDatesSaturateInsteadOfWrapping) {
  const double inf = std::numeric_limits<double>::infinity();
  // Beyond the 32-bit day count the date is that of its last or first day: the far
  // future never reads as the past.
  for (double far : {1e300, inf}) {
    EXPECT_EQ(jd_to_local_date(far).year, jd_to_local_date(2147483647.0).year);
    EXPECT_GT(jd_to_local_date(far).year, 5000000);
    EXPECT_EQ(jd_to_local_date(-far).year, jd_to_local_date(-2147483648.0).year);
    EXPECT_LT(jd_to_local_date(-far).year, -5000000);
  }
  // NaN is day number 0 and 0:00 JST by the float-to-integer rule (NaN gives 0): hour 24
  // of 31 December 4714 BC, a night no forecast window holds.
  expect_date(jd_to_local_date(std::numeric_limits<double>::quiet_NaN()), -4713, 12, 31, 24, 0);
}

}  // namespace
