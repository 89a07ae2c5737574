#include "astro/clock_time.h"

#include <cmath>

#include "astro/constants.h"

namespace astro {

CalendarDate ClockDays::date(double day_number) {
  for (const Kept& kept : kept_) {
    if (kept.day_number == day_number) return kept.date;
  }
  Kept& kept = kept_[next_];
  next_ = (next_ + 1) % kept_.size();
  kept = {day_number, jst_day(day_number).date};
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
