#include "formats/minimum_table.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "astro/clock_time.h"
#include "astro/constants.h"
#include "formats/fixed_format.h"

namespace formats {
namespace {

using astro::kSecondsPerHour;
using astro::kSecondsPerMinute;

/// Appends a field as RFC 4180 wants it: quoted, its quotes doubled, when it needs to be.
void append_csv_field(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += text;
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

/// The text of `value` with `decimals` decimals (as "{:.Nf}" prints it); a value that
/// rounds to zero has no minus sign.
std::string_view fixed_text(NumberText& text, double value, int decimals) {
  const std::string_view printed(text.data(), format_fixed(text, value, decimals));
  if (printed.front() == '-' && printed.find_first_not_of("-0.") == std::string_view::npos) {
    return printed.substr(1);
  }
  return printed;
}

/// Nothing for an unknown value: an empty field. A value that is not a number (the Sun
/// at the contact of a mistyped line's window of centuries) is not known either.
void append_known_number(std::string& out, const std::optional<double>& value, int decimals) {
  if (value && std::isfinite(*value)) formats::append_table_number(out, *value, decimals);
}

/// Decimal digits of `magnitude`.
int digit_count(std::uint32_t magnitude) {
  int count = 1;
  for (; magnitude >= 10; magnitude /= 10) ++count;
  return count;
}

/// Writes `value` at `at` with at least `width` digits, zero-padded, after a minus sign
/// when negative: ISO 8601 writes the year 5 BC (astronomical year -4) as "-0004", four
/// digits after the sign; returns the end.
char* put_zero_padded(char* at, int value, int width) {
  if (width == 2 && value >= 0 && value < 100) {
    put_digits_before(at + 2, static_cast<std::uint32_t>(value), 2);
    return at + 2;
  }
  auto magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) {
    *at++ = '-';
    magnitude = 0u - magnitude;
  }
  const int digits = digit_count(magnitude);
  for (; width > digits; --width) *at++ = '0';
  put_digits_before(at + digits, magnitude, digits);
  return at + digits;
}

/// Room for the longest text of a date, a time of day and an offset: eight numbers of at
/// most 11 characters (a sign and 10 digits), each with a separator or a sign before it.
using ClockText = std::array<char, std::size_t{8} * 12>;

/// Writes the date (2026-12-10) at `at`; returns the end.
char* put_date(char* at, const astro::CalendarDate& date) {
  at = put_zero_padded(at, date.year, 4);
  *at++ = '-';
  at = put_zero_padded(at, date.month, 2);
  *at++ = '-';
  return put_zero_padded(at, date.day, 2);
}

/// Writes the date and the time of day (2026-12-10T21:30:15) at `at`; returns the end.
char* put_clock_time(char* at, const astro::ClockTime& t) {
  at = put_date(at, t.date);
  *at++ = 'T';
  at = put_zero_padded(at, t.hour, 2);
  *at++ = ':';
  at = put_zero_padded(at, t.minute, 2);
  *at++ = ':';
  return put_zero_padded(at, t.second, 2);
}

void append_date(std::string& out, const astro::CalendarDate& date) {
  ClockText text;
  out.append(text.data(), put_date(text.data(), date));
}

/// `days` keeps the dates of the days it met: the instants of a row share them.
void append_iso_local_time(std::string& out, double jd, int offset_seconds,
                           astro::ClockDays& days) {
  ClockText text;
  char* at = put_clock_time(text.data(), astro::clock_time(jd, offset_seconds, days));
  const int magnitude = std::abs(offset_seconds);
  *at++ = offset_seconds < 0 ? '-' : '+';
  at = put_zero_padded(at, magnitude / kSecondsPerHour, 2);
  *at++ = ':';
  at = put_zero_padded(at, magnitude % kSecondsPerHour / kSecondsPerMinute, 2);
  out.append(text.data(), at);
}

/// The instants a contact is written for, Julian Dates (UTC): the days clock_time dates,
/// from a day after JD 0 (-4712-01-01, with room for any clock's offset) to the end of
/// the year 9999. Beyond (a mistyped line's window of centuries) the field is empty.
constexpr double kFirstContactJd = 1;
constexpr double kLastContactJd = 5373484.5;

void append_known_local_time(std::string& out, const std::optional<double>& jd, int offset_seconds,
                             astro::ClockDays& days) {
  if (jd && *jd >= kFirstContactJd && *jd < kLastContactJd) {
    append_iso_local_time(out, *jd, offset_seconds, days);
  }
}

void append_iso_utc_time(std::string& out, double jd, astro::ClockDays& days) {
  ClockText text;
  char* at = put_clock_time(text.data(), astro::clock_time(jd, 0, days));
  *at++ = 'Z';
  out.append(text.data(), at);
}

}  // namespace

void append_table_number(std::string& out, double value, int decimals) {
  NumberText text;
  out += fixed_text(text, value, decimals);
}

std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string iso_local_time(double jd, int offset_seconds) {
  std::string text;
  astro::ClockDays days;
  append_iso_local_time(text, jd, offset_seconds, days);
  return text;
}

std::string iso_utc_time(double jd) {
  std::string text;
  astro::ClockDays days;
  append_iso_utc_time(text, jd, days);
  return text;
}

std::string cycle_text(double cycle, double phase) {
  NumberText number;
  std::string_view text = fixed_text(number, cycle + phase, 4);
  text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
  if (text.back() == '.') text.remove_suffix(1);
  return std::string(text);
}

void append_minimum_table_row(std::string& out, const MinimumTableRow& row) {
  astro::ClockDays days;
  append_minimum_table_row(out, row, days);
}

void append_minimum_table_row(std::string& out, const MinimumTableRow& row,
                              astro::ClockDays& days) {
  const int offset = row.offset_seconds;
  append_csv_field(out, without_trailing_blanks(row.name));
  out += row.secondary ? ",secondary," : ",primary,";
  out += row.cycle;
  out += ',';
  append_date(out, row.night);
  out += ',';
  append_known_local_time(out, row.start_jd, offset, days);
  out += ',';
  append_iso_local_time(out, row.minimum_jd, offset, days);
  out += ',';
  append_known_local_time(out, row.end_jd, offset, days);
  out += ',';
  append_iso_utc_time(out, row.minimum_jd, days);
  out += ',';
  append_table_number(out, row.minimum_jd, 5);
  out += ',';
  append_known_number(out, row.uncertainty_min, 1);
  out += ',';
  append_known_number(out, row.duration_h, 2);
  out += ',';
  append_known_number(out, row.coverage_pct, 0);
  out += ',';
  append_known_number(out, row.alt_start_deg, 1);
  out += ',';
  append_table_number(out, row.alt_minimum_deg, 1);
  out += ',';
  append_known_number(out, row.alt_end_deg, 1);
  out += ',';
  append_table_number(out, row.az_minimum_deg, 1);
  out += ',';
  append_iso_local_time(out, row.meridian_jd, offset, days);
  out += ',';
  append_known_number(out, row.sun_alt_start_deg, 1);
  out += ',';
  append_known_number(out, row.sun_alt_end_deg, 1);
  out += ',';
  append_table_number(out, row.moon_alt_deg, 1);
  out += ',';
  append_table_number(out, row.moon_distance_deg, 1);
  out += ',';
  append_table_number(out, row.moon_illumination_pct, 1);
  out += ',';
  append_csv_field(out, without_trailing_blanks(row.type));
  out += ',';
  append_known_number(out, row.mag_max, 1);
  out += ',';
  append_known_number(out, row.mag_min, 1);
  out += ',';
  append_table_number(out, row.ra_deg, 5);
  out += ',';
  append_table_number(out, row.dec_deg, 5);
  out += ',';
  out += row.time_scale;
  out += ',';
  append_csv_field(out, without_trailing_blanks(row.catalogue));
}

std::string minimum_table_row(const MinimumTableRow& row) {
  std::string line;
  append_minimum_table_row(line, row);
  return line;
}

}  // namespace formats
