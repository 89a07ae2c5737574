#pragma once
/// Civil clocks: a fixed offset from UT or a zone of the system's time-zone database
/// (/usr/share/zoneinfo), and the one offset a night keeps on it.

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "astro/constants.h"
#include "astro/dates.h"
#include "astro/precision.h"

namespace date {
class time_zone;
}  // namespace date

namespace astro {

/// Japan Standard Time, seconds east of UT: the default clock.
inline constexpr int kJstOffsetSeconds = 9 * 3600;

/// The clock of one night: the offset in force at 18:00 local on the evening's date,
/// held from that evening to the next morning, so that a summer-time change at 2 or
/// 3 a.m. does not move the night's hours.
struct NightClock {
  int offset_seconds = kJstOffsetSeconds;  ///< seconds east of UT
  /// The clock's short name: the zone's abbreviation ("GMT", "BST", "JST"), or
  /// "UTC+HH:MM" for a fixed offset other than +09:00, which is "JST".
  std::string abbreviation = "JST";
  /// The offset, days: exactly kJstOffsetDays for JST.
  Ext offset_days() const { return static_cast<Ext>(offset_seconds) / kSecondsPerDay; }
  bool is_jst() const { return offset_seconds == kJstOffsetSeconds && abbreviation == "JST"; }
};

/// The calendar of a whole day number of jst_day_position: jst_day, or a table of it.
using DayCalendar = std::function<JstDay(double day_number)>;

/// A clock: a fixed offset, or a zone of the database with its summer times. A zone
/// keeps what it has looked up (the nights met, the span of the offset last in force):
/// a month's forecast asks the same few nights again and again.
class CivilClock {
 public:
  /// JST, the default.
  CivilClock() = default;
  /// A fixed offset, seconds east of UT.
  static CivilClock fixed(int offset_seconds);
  /// The zone of the database so named ("Europe/London"), or nothing when it has none
  /// (or no database can be read).
  static std::optional<CivilClock> zone(std::string_view name);

  /// The clock's name: "JST" for +09:00, "UTC+HH:MM" for another fixed offset, the
  /// database's name of a zone ("Europe/London").
  std::string name() const;

  /// The fixed +09:00 of JST: the default clock's arithmetic, every night the same.
  bool is_jst() const { return zone_ == nullptr && fixed_seconds_ == kJstOffsetSeconds; }

  /// The clock of the night whose evening is `evening` (a calendar date as the
  /// toolset counts them: Julian before 1582-10-15; month and day are not checked).
  NightClock night(const CalendarDate& evening) const;
  /// The clock of the night that holds the clock time `hour` (decimal hours; 24 and more
  /// run on into the next day, hours before 12 belong to the night before) of `date`.
  NightClock night_of(const CalendarDate& date, float hour) const;
  /// The offset in force at `jd` (Julian Date, days, UT), seconds east of UT.
  int offset_seconds_at(double jd) const;
  /// The night date and hour of `jd` (days, UT) on the clock of its night: the hours
  /// before `morning_end_hour` belong to the evening before and count on from 24
  /// (jd_to_local_date), on the offset of that evening's night. In the hour the clocks
  /// go forward the earlier night keeps the instant; in the hour they go back, after
  /// the night before has ended on its clock, the instant is a day hour of the next
  /// date on that clock.
  LocalDate night_date(double jd, int morning_end_hour) const;
  /// The same with the day numbers' calendar from `calendar` (which must give jst_day's
  /// dates).
  LocalDate night_date(double jd, int morning_end_hour, const DayCalendar& calendar) const;

 private:
  const date::time_zone* zone_ = nullptr;  ///< the database's zone, or null: fixed
  int fixed_seconds_ = kJstOffsetSeconds;
  /// The nights looked up, by year, month and day of the evening.
  mutable std::map<std::array<int, 3>, NightClock> nights_;
  /// The offset in force last looked up, and the span (Unix seconds, UT, from and
  /// before) the database gives it: every instant of the span has that offset.
  mutable long long in_force_from_ = 0;
  mutable long long in_force_before_ = 0;
  mutable int in_force_seconds_ = 0;
};

/// "UTC+HH:MM" of an offset of whole minutes, seconds east of UT.
std::string utc_offset_text(int offset_seconds);

}  // namespace astro
