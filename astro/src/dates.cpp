#include "astro/dates.h"

#include <array>
#include <cmath>
#include <cstdint>

#include "astro/constants.h"
#include "astro/numeric.h"
#include "astro/precision.h"

namespace astro {
namespace {

constexpr std::array<int, 12> kMonthLength = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Both directions follow J. Meeus, "Astronomical Algorithms" (2nd ed., 1998), ch. 7,
// with January and February counted as months 13 and 14 of the year before.
//
// Calendar date -> Julian Day (calendar_to_mjd):
//   JD = INT(365.25 (Y + 4716)) + INT(30.6001 (M + 1)) + D + B - 1524.5,
//   B = 2 - A + INT(A / 4) with A = INT(Y / 100) in the Gregorian calendar, 0 in the
//   Julian; INT(A / 4) is INT(Y / 400).
// Here it is counted from MJD 0 (JD 2400000.5) and from the year 0: 365.25 x 4716 is
// the whole number 1722519, and for the months 3 to 14 INT(30.59 (M - 2)) equals
// INT(30.6001 (M + 1)) - 92 (30, 61, 91, ..., 367), so
//   MJD = INT(365.25 Y) + INT(30.59 (M - 2)) + D + B - 678914,
// which is 678912 with B's constant 2 taken in (Gregorian) and 678914 (Julian). For a
// negative year the first term is INT(365.25 (Y + 4716)) - 1722519, the floor of
// 365.25 Y: the truncation of 365.25 |Y| negated, less one day unless the product is
// whole (678915).
//
// Julian Day -> calendar date (jst_day), with Z the whole day number (Meeus's
// INT(JD + 0.5); here the JST day, INT(JD + 0.875), of jst_day_position):
//   Gregorian (Z >= 2299161): alpha = INT((Z - 1867216.25) / 36524.25),
//     A = Z + 1 + alpha - INT(alpha / 4); Julian: A = Z;
//   B = A + 1524, C = INT((B - 122.1) / 365.25), D = INT(365.25 C),
//   E = INT((B - D) / 30.6001), day = B - D - INT(30.6001 E),
//   month = E - 1 (E < 14) or E - 13, year = C - 4716 (month > 2) or C - 4715.
// Meeus writes 30.6001 rather than 30.6 so that a product such as 30.6 x 5, which
// binary arithmetic gives as 152.99999..., is not truncated a day short.

/// Decimal year (double) from which the Gregorian calendar counts: the decimal year
/// Y + (M - 1) / 12 + D / 365.25 of 1582-10-04, the last Julian date, is 1582.761,
/// that of 1582-10-15, the first Gregorian date, 1582.791.
constexpr double kGregorianFromYear = 1582.78;
/// Month factor of the day count: INT(30.59 (M - 2)) stands for Meeus's
/// INT(30.6001 (M + 1)) - 92 (see above). The double just below 30.59.
constexpr double kMonthDays = 30.59;
/// Julian Date of 0:00 UT, the start of a UT day, days past a whole Julian Date.
constexpr Ext kJdDayStart = 0.5L;
static_assert(kJdDayStart + kJstOffsetDays == kJdToJstDays,
              "a JST day starts where jst_day_position has always split the days");
/// Day-count offsets to MJD of the three branches (see above).
constexpr int kGregorianOffset = 678912;
constexpr int kJulianOffset = 678914;
constexpr int kJulianNegativeOffset = 678915;

/// The last date of the Julian calendar, the day before the first Gregorian date.
constexpr CalendarDate kLastJulianDate{1582, 10, 4};
/// First Julian Day Number of the Gregorian calendar (1582-10-15).
constexpr double kGregorianFirstDayNumber = 2299161.0;
/// Meeus's constants of the Julian Day -> calendar date algorithm (see above).
constexpr double kAlphaEpoch = 1867216.25;
constexpr double kYearShift = 122.1;
constexpr double kMonthFactor = 30.6001;
double trunc_as_double(Ext x) { return static_cast<double>(trunc_to_int(x)); }

}  // namespace

bool is_leap_year(int year, bool gregorian) {
  if (!gregorian) return year % 4 == 0;
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

double calendar_to_mjd(float year, float month, float day, float hour) {
  return calendar_to_mjd(year, month, day, hour, kJstOffsetDays);
}

double calendar_to_mjd(float year, float month, float day, float hour, Ext utc_offset_days) {
  // The day fraction is single precision on purpose: whole hours such as 23 come
  // back from jd_to_local_date as the previous hour with minute 60.
  const float h = static_cast<float>(static_cast<Ext>(hour) * (1.0L / 24));

  const double y_dec = static_cast<double>(
      ((static_cast<Ext>(month) - 1.0L) * (1.0L / 12) + static_cast<Ext>(year)) +
      static_cast<Ext>(day) * (1.0L / 365.25));

  if (month <= 2.0f) {
    month = static_cast<float>(static_cast<Ext>(month) + 12.0L);
    year = static_cast<float>(static_cast<Ext>(year) - 1.0L);
  }

  const int month_days =
      trunc_to_int((static_cast<Ext>(month) - 2.0L) * static_cast<Ext>(kMonthDays));
  double base = 0;
  if (y_dec >= kGregorianFromYear) {
    const Ext y = year;
    const long long n = static_cast<long long>(trunc_to_int(365.25L * y)) +
                        trunc_to_int(0.0025L * y) - trunc_to_int(0.01L * y) + month_days;
    base = static_cast<double>(n - kGregorianOffset);
  } else if (year >= 0.0f) {
    const long long n = static_cast<long long>(trunc_to_int(365.25L * static_cast<Ext>(year))) +
                        month_days - kJulianOffset;
    base = static_cast<double>(n);
  } else {
    year = static_cast<float>(std::abs(trunc_to_int(year) * 1.0L));
    const Ext days = 365.25L * static_cast<Ext>(year);
    const int whole = trunc_to_int(days);
    // floor(365.25 * year) for the negative year: one day less than the truncation
    // unless the product is whole (a leap year), as the proleptic Julian calendar has it.
    const int offset = (static_cast<Ext>(whole) == days) ? kJulianOffset : kJulianNegativeOffset;
    base = static_cast<double>(static_cast<Ext>(month_days) - static_cast<Ext>(whole) - offset);
  }

  return static_cast<double>(
      ((static_cast<Ext>(base) + static_cast<Ext>(day)) + static_cast<Ext>(h)) - utc_offset_days);
}

JstDayPosition jst_day_position(double jd) { return jst_day_position(jd, kJstOffsetDays); }

JstDayPosition jst_day_position(double jd, Ext utc_offset_days) {
  // For JST 0.5 + 0.375 is kJdToJstDays exactly.
  const double j = static_cast<double>(static_cast<Ext>(jd) + (kJdDayStart + utc_offset_days));
  const double z = static_cast<double>(trunc_to_int(j));
  return {z, static_cast<double>(static_cast<Ext>(j) - z)};
}

JstDay jst_day(double day_number) {
  const double z = day_number;
  const bool gregorian = z >= kGregorianFirstDayNumber;
  double a = z;
  if (gregorian) {
    const double alpha =
        trunc_as_double((static_cast<Ext>(z) - static_cast<Ext>(kAlphaEpoch)) * (1.0L / 36524.25));
    a = trunc_as_double((static_cast<Ext>(z) + 1.0L + alpha) -
                        trunc_to_int(static_cast<Ext>(alpha) * 0.25L));
  }
  const double b = static_cast<double>(static_cast<Ext>(a) + 1524.0L);
  const double c =
      trunc_as_double((static_cast<Ext>(b) - static_cast<Ext>(kYearShift)) * (1.0L / 365.25));
  const double d = trunc_as_double(365.25L * static_cast<Ext>(c));
  const double e =
      trunc_as_double((static_cast<Ext>(b) - d) * (1.0L / static_cast<Ext>(kMonthFactor)));

  JstDay out;
  CalendarDate& date = out.date;
  date.day =
      trunc_to_int((static_cast<Ext>(b) - d) - trunc_to_int(static_cast<Ext>(kMonthFactor) * e));
  date.month = (e < 13.5) ? trunc_to_int(static_cast<Ext>(e) - 1.0L)
                          : trunc_to_int(static_cast<Ext>(e) - 13.0L);
  date.year = (date.month > 2.5) ? trunc_to_int(static_cast<Ext>(c) - 4716.0L)
                                 : trunc_to_int(static_cast<Ext>(c) - 4715.0L);

  CalendarDate& previous = out.previous;
  if (z == kGregorianFirstDayNumber) {
    // The reform dropped ten dates: the day before the Gregorian 1582-10-15 is the
    // Julian 1582-10-04, not a 14 October that never was.
    previous = kLastJulianDate;
    return out;
  }
  previous = date;
  previous.day -= 1;
  if (previous.day == 0) {
    previous.month -= 1;
    if (previous.month == 0) {
      previous.year -= 1;
      previous.month = 12;
      previous.day = 31;
    } else if (previous.month >= 1 && previous.month <= 12) {
      previous.day = kMonthLength[static_cast<std::size_t>(previous.month - 1)];
      if (previous.month == 2 && is_leap_year(previous.year, gregorian)) previous.day = 29;
    }
  }
  return out;
}

LocalDate local_date_in_day(const JstDay& day, double fraction) {
  return local_date_in_day(day, fraction, kFixedNightMorningEndHour);
}

namespace {

/// The night date of the clock time hour:minute of a JST day: the hours before
/// morning_end_hour go back to the date before and count on from 24.
LocalDate dated_in_day(const JstDay& day, int hour, int minute, int morning_end_hour) {
  LocalDate out;
  out.hour = hour;
  out.minute = minute;
  const bool morning = out.hour < morning_end_hour;
  const CalendarDate& date = morning ? day.previous : day.date;
  if (morning) out.hour += 24;
  out.year = date.year;
  out.month = date.month;
  out.day = date.day;
  return out;
}

/// 2^31: the fractions of local_date_in_day_whole are whole numbers of 2^-31 days.
constexpr double kWholeFractionScale = 2147483648.0;
constexpr int kWholeFractionBits = 31;

}  // namespace

LocalDate local_date_in_day(const JstDay& day, double fraction, int morning_end_hour) {
  const Ext hours = static_cast<Ext>(fraction) * 24.0L;
  const int hour = trunc_to_int(hours);
  return dated_in_day(day, hour, trunc_to_int((hours - hour) * 60.0L + 0.5L), morning_end_hour);
}

// With the fraction F / 2^31 days (0 <= F < 2^31), 24 F and 60 x the rest of the hour are
// exact in 64 bits, as they are in extended precision: the hour trunc(24 fraction) and
// the minute trunc(60 x (hours - hour) + 0.5) are these integer divisions.
LocalDate local_date_in_day_whole(const JstDay& day, double fraction, int morning_end_hour) {
  const double scaled = fraction * kWholeFractionScale;  // exact: a power of two
  if (!(scaled >= 0 && scaled < kWholeFractionScale) || scaled != std::floor(scaled)) {
    return local_date_in_day(day, fraction, morning_end_hour);
  }
  const std::uint64_t hours_scaled = 24 * static_cast<std::uint64_t>(scaled);
  const std::uint64_t rest = hours_scaled & ((std::uint64_t{1} << kWholeFractionBits) - 1);
  const std::uint64_t half = std::uint64_t{1} << (kWholeFractionBits - 1);
  return dated_in_day(day, static_cast<int>(hours_scaled >> kWholeFractionBits),
                      static_cast<int>((60 * rest + half) >> kWholeFractionBits), morning_end_hour);
}

LocalDate jd_to_local_date(double jd) { return jd_to_local_date(jd, kFixedNightMorningEndHour); }

LocalDate jd_to_local_date(double jd, int morning_end_hour) {
  return jd_to_local_date(jd, morning_end_hour, kJstOffsetDays);
}

LocalDate jd_to_local_date(double jd, int morning_end_hour, Ext utc_offset_days) {
  const JstDayPosition position = jst_day_position(jd, utc_offset_days);
  return local_date_in_day(jst_day(position.day_number), position.fraction, morning_end_hour);
}

}  // namespace astro
