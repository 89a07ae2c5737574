#include "astro/clock_time.h"

#include <cmath>
#include <cstdint>

#include "astro/constants.h"

namespace astro {

CalendarDate ClockDays::date(double day_number) {
  constexpr double kMostKeptDayNumber = 1e15;  // far beyond every calendar's day
  if (!(std::fabs(day_number) < kMostKeptDayNumber)) return jst_day(day_number).date;
  const auto slot = static_cast<std::size_t>(static_cast<std::int64_t>(day_number)) % kSlots;
  Kept& kept = kept_[slot];
  if (kept.day_number != day_number) kept = {day_number, jst_day(day_number).date};
  return kept.date;
}

ClockTime clock_time(double jd, int offset_seconds) {
  ClockDays days;
  return clock_time(jd, offset_seconds, days);
}

ClockTime clock_time(double jd, int offset_seconds, ClockDays& days) {
  const JstDayPosition position =
      jst_day_position(jd, static_cast<Ext>(offset_seconds) / kSecondsPerDay);
  double day_number = position.day_number;
  // The fraction lies in [0, 1): its seconds round to 0 ... 86400, the last the next day.
  int seconds = static_cast<int>(std::lround(position.fraction * kSecondsPerDay));
  if (seconds >= kSecondsPerDay) {
    seconds -= kSecondsPerDay;
    day_number += 1;
  }
  ClockTime time;
  time.date = days.date(day_number);
  time.hour = seconds / 3600;
  time.minute = seconds / 60 % 60;
  time.second = seconds % 60;
  return time;
}

}  // namespace astro
