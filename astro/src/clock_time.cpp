#include "astro/clock_time.h"

#include <cmath>

#include "astro/constants.h"

namespace astro {

ClockTime clock_time(double jd, int offset_seconds) {
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
  time.date = jst_day(day_number).date;
  time.hour = seconds / 3600;
  time.minute = seconds / 60 % 60;
  time.second = seconds % 60;
  return time;
}

}  // namespace astro
