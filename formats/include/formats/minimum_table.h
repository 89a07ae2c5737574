#pragma once
/// The month's minima as a table (data.csv; a plan's export takes the same columns):
/// RFC 4180, a header row naming each column with its unit, then one row a minimum.
/// Local times are ISO 8601 with seconds and the clock's offset
/// (2026-12-10T21:30:15+09:00), the UTC instant with Z; azimuths from north through
/// east; an unknown value is an empty field, and so is a value that is not a finite
/// number and a contact beyond the years -4712 to 9999 (a mistyped line's window).

#include <optional>
#include <string>
#include <string_view>

#include "astro/clock_time.h"
#include "astro/dates.h"

namespace formats {

/// The header row, without its line end.
inline constexpr std::string_view kMinimumTableHeader =
    "name,kind,cycle,night,start,minimum,end,minimum_utc,minimum_jd,uncertainty_min,"
    "duration_h,coverage_pct,alt_start_deg,alt_minimum_deg,alt_end_deg,az_minimum_deg,"
    "meridian,sun_alt_start_deg,sun_alt_end_deg,moon_alt_deg,moon_distance_deg,"
    "moon_illumination_pct,type,mag_max,mag_min,ra_deg,dec_deg,time_scale,catalogue";

/// What one row says of a minimum. Instants are Julian Dates (days, UTC).
struct MinimumTableRow {
  std::string name;  ///< as in star.dat, trailing blanks left out
  bool secondary = false;
  std::string cycle;          ///< the cycle count E as text: 1234, 1234.5, 1234.4132
  astro::CalendarDate night;  ///< the evening's date
  int offset_seconds = 0;     ///< the night's clock, seconds east of UT
  /// First and last contact; none when the duration is unknown.
  std::optional<double> start_jd, end_jd;
  double minimum_jd = 0;
  std::optional<double> uncertainty_min;  ///< timing uncertainty, minutes
  std::optional<double> duration_h;       ///< first to last contact, hours
  std::optional<double> coverage_pct;     ///< observable share of the judged window
  std::optional<double> alt_start_deg;
  double alt_minimum_deg = 0;
  std::optional<double> alt_end_deg;
  double az_minimum_deg = 0;  ///< from north through east
  double meridian_jd = 0;     ///< the upper culmination nearest the minimum
  std::optional<double> sun_alt_start_deg, sun_alt_end_deg;
  double moon_alt_deg = 0;
  double moon_distance_deg = 0;
  double moon_illumination_pct = 0;
  std::string type;
  std::optional<double> mag_max, mag_min;  ///< none when not known
  double ra_deg = 0, dec_deg = 0;          ///< J2000
  std::string time_scale;                  ///< JD, HJD or BJD: the scale the elements were read in
  std::string catalogue;                   ///< trailing blanks left out
};

/// Appends one row, without its line end, to `out`: the fields in the header's order,
/// each quoted (its quotes doubled) when it holds a comma, a quote or a line break.
void append_minimum_table_row(std::string& out, const MinimumTableRow& row);
/// The same with the dates of its days kept in `days` for the rows after it.
void append_minimum_table_row(std::string& out, const MinimumTableRow& row, astro::ClockDays& days);
/// The row that append_minimum_table_row appends, as a string of its own.
std::string minimum_table_row(const MinimumTableRow& row);

/// Appends `value` with `decimals` decimals (0 to 9), as a number of the table: the
/// exact binary value rounded, ties to even; no minus sign on a value that rounds to
/// zero ("0.0" for -0.04); "nan", "-nan", "inf", "-inf" for the values that are none.
void append_table_number(std::string& out, double value, int decimals);

/// ISO 8601 of the instant jd (Julian Date, UTC) on a clock `offset_seconds` east of UT,
/// to the second: 2026-12-10T21:30:15+09:00.
std::string iso_local_time(double jd, int offset_seconds);
/// The same in UTC: 2026-12-10T12:30:15Z.
std::string iso_utc_time(double jd);

/// A fixed-width field's text without its trailing blanks (a name, a catalogue).
std::string_view without_trailing_blanks(std::string_view text);

/// The cycle count E of a minimum: `cycle` (a whole number) plus `phase` (0 for a
/// primary minimum), the phase's four decimals with trailing zeros left out.
std::string cycle_text(double cycle, double phase);

}  // namespace formats
