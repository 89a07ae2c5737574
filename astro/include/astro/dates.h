#pragma once
/// Calendar dates and JST clock times <-> Modified Julian Dates. Each conversion also
/// takes another clock's offset from UT (the zone's clock of astro/civil_clock.h).

#include "astro/precision.h"

namespace astro {

/// 9 hours: JST -> UT, days. The default clock's offset, exact.
inline constexpr Ext kJstOffsetDays = 0.375L;

/// A JST night date: hours 0 to 5 belong to the previous date as hours 24 to 29.
struct LocalDate {
  int year = 0;
  int month = 0;   ///< 1 to 12
  int day = 0;     ///< 1 to 31
  int hour = 0;    ///< 6 to 29
  int minute = 0;  ///< 0 to 60: the rounded minute is never carried into the hour
};

/// MJD (days, UT) of a calendar date and a JST clock time.
/// year: astronomical numbering (0 is 1 BC); month 1 to 12; day may carry a fraction;
/// hour: JST decimal hours, 24 or more runs on into the next day.
/// Dates before 1582-10-15 are Julian-calendar dates. No range checking is done;
/// out-of-range intermediates saturate rather than wrap.
double calendar_to_mjd(float year, float month, float day, float hour);
/// The same for a clock `utc_offset_days` (days east of UT) ahead of UT: kJstOffsetDays
/// gives the bits of the JST conversion above.
double calendar_to_mjd(float year, float month, float day, float hour, Ext utc_offset_days);

/// JST night date of a Julian Date (days, UT), after the after-midnight convention.
/// Julian-calendar dates before the reform, Gregorian from 1582-10-15 on.
/// It is local_date_in_day(jst_day(day_number), fraction) of jst_day_position(jd).
LocalDate jd_to_local_date(double jd);

/// A calendar date without a time.
struct CalendarDate {
  int year = 0;
  int month = 0;
  int day = 0;
};

/// Where a Julian Date (days, UT) falls in the JST days.
struct JstDayPosition {
  double day_number = 0;  ///< whole JST day number: the truncated JD + 0.875
  double fraction = 0;    ///< fraction of that day since 0:00 JST, days
};
/// Splits a Julian Date (days, UT) at the JST day boundaries (0:00 JST).
JstDayPosition jst_day_position(double jd);
/// The same at the day boundaries of a clock `utc_offset_days` (days) ahead of UT: the
/// whole day number is the truncated JD + 0.5 + the offset; kJstOffsetDays gives the
/// bits of the JST split above.
JstDayPosition jst_day_position(double jd, Ext utc_offset_days);

/// The two night dates of one JST day.
struct JstDay {
  CalendarDate date;      ///< the night date of its hours 6 to 23
  CalendarDate previous;  ///< the night date of its hours 0 to 5 (the day before)
};
/// The JST day of a whole day number of jst_day_position. It depends on the day
/// number alone, so a caller that meets the same days again and again may keep it.
JstDay jst_day(double day_number);

/// The night date at `fraction` (days since 0:00 JST) of a JST day.
LocalDate local_date_in_day(const JstDay& day, double fraction);

/// The hour of a JST day before which its hours belong to the night of the date
/// before: 6 for the fixed night of 18:00 to 05:59, 12 for a night taken from the
/// Sun's altitude (the evening's date runs from 12:00 to 11:59 the next day).
inline constexpr int kFixedNightMorningEndHour = 6;
inline constexpr int kSunNightMorningEndHour = 12;

/// The night date at `fraction` (days since 0:00 JST) of a JST day, when the hours
/// before `morning_end_hour` (1 to 23) belong to the previous date and count on from
/// 24: the hour runs from morning_end_hour to morning_end_hour + 23. The date the
/// early hours go back to is day.previous, with its month and February roll-backs.
LocalDate local_date_in_day(const JstDay& day, double fraction, int morning_end_hour);

/// local_date_in_day, the same date, hour and minute, in whole numbers for a fraction that
/// is a whole number of 2^-31 days: the fractions jst_day_position gives for every
/// Julian Date from 2^21 (2097152) to 2^22. Any other fraction takes local_date_in_day.
LocalDate local_date_in_day_whole(const JstDay& day, double fraction, int morning_end_hour);

/// jd_to_local_date (jd: days, UT) with the early hours up to `morning_end_hour`
/// belonging to the date before, as local_date_in_day above.
LocalDate jd_to_local_date(double jd, int morning_end_hour);
/// The same on a clock `utc_offset_days` (days) ahead of UT.
LocalDate jd_to_local_date(double jd, int morning_end_hour, Ext utc_offset_days);

/// Leap-year rule of the calendar in force: Gregorian when gregorian, else Julian.
bool is_leap_year(int year, bool gregorian);

}  // namespace astro
