#pragma once
/// The start and stop times of the phase table: typed clock times (JST by default) and the
/// instants they stand for at the built-in site.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "astro/civil_clock.h"
#include "io/cli.h"

namespace phaselist {

/// A date and clock time as typed, on the zone's clock (JST by default), never validated: a month
/// of 13, an hour of 28 or a minute of 75 go into the computation unchanged.
struct TypedTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
};

/// An instant of the table.
struct TableTime {
  double mjd = 0;                  ///< Modified Julian Date, days UT
  std::string clock_name = "JST";  ///< the abbreviation of the night's clock
};

/// Reads one answer, five integers (year, month, day, hour, minute) as "%d" reads
/// them, from `in`. Throws io::RunError naming the answer (`which`, such as
/// "start date & time") when a value is not an integer or the input ends first.
TypedTime read_typed_time(std::FILE* in, std::string_view which);

/// Throws io::RunError naming the answer (`which`) when the typed year does not fit
/// the year fields of the title of `table_file` (-999 to 9999): a wider year would
/// shift the title's columns. The other numbers are not checked.
void refuse_year_beyond_title(const TypedTime& typed, std::string_view which,
                              std::string_view table_file);

inline constexpr io::OptionSpec kStartOption{"start", "YYYY-MM-DDTHH:MM",
                                             "answers the start date & time"};
inline constexpr io::OptionSpec kStopOption{"stop", "YYYY-MM-DDTHH:MM",
                                            "answers the stop date & time"};

/// The hours a --start or --stop may give: the day's 0 to 23, and on from 24 to the
/// last hour of the night's fixed end (06:00 the next morning).
inline constexpr int kLastOptionHour = 29;

/// The time `option` (kStartOption or kStopOption) gives in `options`, or nothing when
/// it is not given. Throws io::UsageError naming the option and its value for one that
/// is not YYYY-MM-DDTHH:MM with a year that fits the title's year field (-999 to 9999,
/// a minus sign before it), a month 1 to 12, a day 1 to 31, an hour 0 to
/// kLastOptionHour and a minute 00 to 59.
std::optional<TypedTime> time_option(const io::Options& options, const io::OptionSpec& option);

/// Decimal hours hour + minute / 60, rounded to single precision, the way
/// calendar_to_mjd takes its hour.
float decimal_hour(int hour, int minute);

/// MJD (days UT) of a typed time on `clock`: on the clock of the night that holds it
/// (astro::CivilClock::night_of), so that a night's times keep one offset.
TableTime table_time(const TypedTime& typed, const astro::CivilClock& clock = {});

}  // namespace phaselist
