#include "formats/minimum_table.h"

#include <cmath>

#include <fmt/format.h>

#include "astro/clock_time.h"
#include "astro/constants.h"

namespace formats {
namespace {

using astro::kSecondsPerHour;
using astro::kSecondsPerMinute;

/// A field as RFC 4180 wants it: quoted, its quotes doubled, when it needs to be.
std::string csv_field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

/// `value` with `decimals` decimals; a value that rounds to zero has no minus sign.
std::string fixed(double value, int decimals) {
  std::string text = fmt::format("{:.{}f}", value, decimals);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string fixed(const std::optional<double>& value, int decimals) {
  return value ? fixed(*value, decimals) : std::string();
}

std::string local(const std::optional<double>& jd, int offset_seconds) {
  return jd ? iso_local_time(*jd, offset_seconds) : std::string();
}

std::string clock_text(const astro::ClockTime& t) {
  return fmt::format("{:04}-{:02}-{:02}T{:02}:{:02}:{:02}", t.date.year, t.date.month, t.date.day,
                     t.hour, t.minute, t.second);
}

}  // namespace

std::string_view without_trailing_blanks(std::string_view text) {
  const std::size_t end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
}

std::string iso_local_time(double jd, int offset_seconds) {
  const int magnitude = std::abs(offset_seconds);
  return fmt::format("{}{}{:02}:{:02}", clock_text(astro::clock_time(jd, offset_seconds)),
                     offset_seconds < 0 ? '-' : '+', magnitude / kSecondsPerHour,
                     magnitude % kSecondsPerHour / kSecondsPerMinute);
}

std::string iso_utc_time(double jd) { return clock_text(astro::clock_time(jd, 0)) + "Z"; }

std::string cycle_text(double cycle, double phase) {
  std::string text = fixed(cycle + phase, 4);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string minimum_table_row(const MinimumTableRow& row) {
  const int offset = row.offset_seconds;
  const std::string fields[] = {
      csv_field(without_trailing_blanks(row.name)),
      row.secondary ? "secondary" : "primary",
      row.cycle,
      fmt::format("{:04}-{:02}-{:02}", row.night.year, row.night.month, row.night.day),
      local(row.start_jd, offset),
      iso_local_time(row.minimum_jd, offset),
      local(row.end_jd, offset),
      iso_utc_time(row.minimum_jd),
      fixed(row.minimum_jd, 5),
      fixed(row.uncertainty_min, 1),
      fixed(row.duration_h, 2),
      fixed(row.coverage_pct, 0),
      fixed(row.alt_start_deg, 1),
      fixed(row.alt_minimum_deg, 1),
      fixed(row.alt_end_deg, 1),
      fixed(row.az_minimum_deg, 1),
      iso_local_time(row.meridian_jd, offset),
      fixed(row.sun_alt_start_deg, 1),
      fixed(row.sun_alt_end_deg, 1),
      fixed(row.moon_alt_deg, 1),
      fixed(row.moon_distance_deg, 1),
      fixed(row.moon_illumination_pct, 1),
      csv_field(without_trailing_blanks(row.type)),
      fixed(row.mag_max, 1),
      fixed(row.mag_min, 1),
      fixed(row.ra_deg, 5),
      fixed(row.dec_deg, 5),
      row.time_scale,
      csv_field(without_trailing_blanks(row.catalogue)),
  };
  std::string line = fields[0];
  for (std::size_t i = 1; i < std::size(fields); ++i) {
    line += ',';
    line += fields[i];
  }
  return line;
}

}  // namespace formats
