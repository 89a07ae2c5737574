#pragma once
/// The date and time of day that a clock shows at an instant, to the second.

#include "astro/dates.h"

namespace astro {

/// A calendar date and a time of day, whole seconds.
struct ClockTime {
  CalendarDate date;
  int hour = 0;    ///< 0 to 23
  int minute = 0;  ///< 0 to 59
  int second = 0;  ///< 0 to 59
};

/// What a clock `offset_seconds` east of UT shows at jd (Julian Date, days, UT; finite,
/// within the calendars of jst_day), rounded to the nearest second. Julian-calendar
/// dates before 1582-10-15, as everywhere in the toolset.
ClockTime clock_time(double jd, int offset_seconds);

}  // namespace astro
