#include "astro/civil_clock.h"

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string>

#include <date/tz.h>

#include "astro/constants.h"

namespace astro {
namespace {

/// The hour of the evening whose offset a night keeps.
constexpr float kNightClockHour = 18.0f;
/// Seconds of the Unix count the database's conversions take (about the years -26,000
/// to 30,000): far beyond the years -999 to 9999 of the toolset's fields, inside the
/// library's own years of -32,767 to 32,767. Dates beyond are taken at these ends.
constexpr double kMostSeconds = 9e11;

/// Seconds since the Unix epoch of an MJD (days) on a clock's day count, clamped.
long long unix_seconds(double mjd) {
  const double seconds = (mjd - kUnixEpochMjd) * kSecondsPerDay;
  if (std::isnan(seconds)) return 0;
  if (seconds > kMostSeconds) return static_cast<long long>(kMostSeconds);
  if (seconds < -kMostSeconds) return static_cast<long long>(-kMostSeconds);
  return std::llround(seconds);
}

/// jd_to_local_date with the day numbers' calendar from `calendar`.
LocalDate local_date_on(double jd, int morning_end_hour, Ext offset_days,
                        const DayCalendar& calendar) {
  const JstDayPosition position = jst_day_position(jd, offset_days);
  return local_date_in_day(calendar(position.day_number), position.fraction, morning_end_hour);
}

NightClock fixed_night_clock(int offset_seconds) {
  if (offset_seconds == kJstOffsetSeconds) return NightClock{};
  return {offset_seconds, utc_offset_text(offset_seconds)};
}

}  // namespace

std::string utc_offset_text(int offset_seconds) {
  const int minutes = std::abs(offset_seconds) / kSecondsPerMinute;
  std::string text = offset_seconds < 0 ? "UTC-" : "UTC+";
  const int hours = minutes / kMinutesPerHour;
  const int rest = minutes % kMinutesPerHour;
  text += static_cast<char>('0' + hours / 10);
  text += static_cast<char>('0' + hours % 10);
  text += ':';
  text += static_cast<char>('0' + rest / 10);
  text += static_cast<char>('0' + rest % 10);
  return text;
}

std::string CivilClock::name() const {
  if (zone_ != nullptr) return std::string(zone_->name());
  return fixed_night_clock(fixed_seconds_).abbreviation;
}

CivilClock CivilClock::fixed(int offset_seconds) {
  CivilClock clock;
  clock.fixed_seconds_ = offset_seconds;
  return clock;
}

std::optional<CivilClock> CivilClock::zone(std::string_view name) {
  try {
    CivilClock clock;
    clock.zone_ = date::locate_zone(name);
    return clock;
  } catch (const std::exception&) {
    // locate_zone throws std::runtime_error for a name the database does not hold;
    // a database that cannot be read at all holds none.
    return std::nullopt;
  }
}

NightClock CivilClock::night(const CalendarDate& evening) const {
  if (zone_ == nullptr) return fixed_night_clock(fixed_seconds_);
  const std::array<int, 3> key{evening.year, evening.month, evening.day};
  if (const auto known = nights_.find(key); known != nights_.end()) return known->second;
  // 18:00 on the evening's date as a count of the zone's local seconds: the MJD of the
  // local clock time taken as if it were UT.
  const double local_mjd =
      calendar_to_mjd(static_cast<float>(evening.year), static_cast<float>(evening.month),
                      static_cast<float>(evening.day), kNightClockHour, 0.0L);
  const date::local_info info =
      zone_->get_info(date::local_seconds{std::chrono::seconds{unix_seconds(local_mjd)}});
  // A skipped 18:00 takes the offset before the change, a repeated one the first.
  const date::sys_info& in_force = info.first;
  return nights_
      .emplace(key, NightClock{static_cast<int>(in_force.offset.count()), in_force.abbrev})
      .first->second;
}

NightClock CivilClock::night_of(const CalendarDate& date, float hour) const {
  if (zone_ == nullptr) return fixed_night_clock(fixed_seconds_);
  // The clock time as if it were UT; its night date with the nights running from noon
  // to noon is the evening's date.
  const double local_mjd =
      calendar_to_mjd(static_cast<float>(date.year), static_cast<float>(date.month),
                      static_cast<float>(date.day), hour, 0.0L);
  const LocalDate night = jd_to_local_date(local_mjd + kMjdZeroJd, kSunNightMorningEndHour, 0.0L);
  return this->night({night.year, night.month, night.day});
}

int CivilClock::offset_seconds_at(double jd) const {
  if (zone_ == nullptr) return fixed_seconds_;
  const long long seconds = unix_seconds(jd - kMjdZeroJd);
  if (seconds >= in_force_from_ && seconds < in_force_before_) return in_force_seconds_;
  const date::sys_info info = zone_->get_info(date::sys_seconds{std::chrono::seconds{seconds}});
  in_force_from_ = info.begin.time_since_epoch().count();
  in_force_before_ = info.end.time_since_epoch().count();
  in_force_seconds_ = static_cast<int>(info.offset.count());
  return in_force_seconds_;
}

LocalDate CivilClock::night_date(double jd, int morning_end_hour) const {
  return night_date(jd, morning_end_hour, jst_day);
}

LocalDate CivilClock::night_date(double jd, int morning_end_hour,
                                 const DayCalendar& calendar) const {
  if (zone_ == nullptr) {
    return local_date_on(jd, morning_end_hour, fixed_night_clock(fixed_seconds_).offset_days(),
                         calendar);
  }
  // The date on the clock in force at the instant is the night's, or the one after it
  // when a change in the small hours has moved the clock since the evening. A night
  // holds the instant when the instant's date on that night's own clock is that
  // night's; where two nights would both hold it (the hour the clocks go forward),
  // the earlier one keeps it. An instant that no night holds (the hour the clocks go
  // back, after the night before has ended on its clock) is read on the clock of the
  // night its date names: a day hour of the next date.
  const Ext at_instant_days = NightClock{offset_seconds_at(jd), ""}.offset_days();
  const LocalDate guess = local_date_on(jd, morning_end_hour, at_instant_days, calendar);
  const LocalDate day_before = local_date_on(jd - 1.0, morning_end_hour, at_instant_days, calendar);
  LocalDate on_its_clock;
  for (const LocalDate& candidate : {day_before, guess}) {
    const CalendarDate evening{candidate.year, candidate.month, candidate.day};
    on_its_clock = local_date_on(jd, morning_end_hour, night(evening).offset_days(), calendar);
    if (on_its_clock.year == evening.year && on_its_clock.month == evening.month &&
        on_its_clock.day == evening.day) {
      return on_its_clock;
    }
  }
  return on_its_clock;
}

}  // namespace astro
