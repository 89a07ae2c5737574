#pragma once
/// The date and time of day that a clock shows at an instant, to the second.

#include <array>
#include <cstddef>
#include <limits>

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

/// The dates of the day numbers that clock_time looked up, for the next instants of
/// the same days: a month's table rows fall on some 35 days, each day kept in the slot
/// of its number modulo the slots' count. A day's date depends on its number alone
/// (jst_day), so a kept one is the date jst_day gives.
class ClockDays {
 public:
  /// jst_day(day_number).date.
  CalendarDate date(double day_number);

 private:
  struct Kept {
    double day_number = std::numeric_limits<double>::quiet_NaN();  // none kept
    CalendarDate date;
  };
  static constexpr std::size_t kSlots = 64;
  std::array<Kept, kSlots> kept_;
};

/// clock_time(jd, offset_seconds), the date taken from `days` when it holds it.
ClockTime clock_time(double jd, int offset_seconds, ClockDays& days);

}  // namespace astro
