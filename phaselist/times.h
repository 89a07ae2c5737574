#pragma once
/// The start and stop times of the phase table: typed clock times (JST by default) and the
/// instants they stand for at the built-in site.

#include <cstdio>
#include <string>
#include <string_view>

#include "astro/civil_clock.h"

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

/// Decimal hours hour + minute / 60, rounded to single precision, the way
/// calendar_to_mjd takes its hour.
float decimal_hour(int hour, int minute);

/// MJD (days UT) of a typed time on `clock`: on the clock of the night that holds it
/// (astro::CivilClock::night_of), so that a night's times keep one offset.
TableTime table_time(const TypedTime& typed, const astro::CivilClock& clock = {});

}  // namespace phaselist
