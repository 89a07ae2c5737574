#include "star_line.h"

#include <fmt/format.h>

namespace starimport {
namespace {

/// A position field's number in its two columns, "05".
std::string two_columns(int n) { return fmt::format("{:02}", n); }

/// "-0.3", "12.5": the tenths with one decimal, the sign kept below 1.
std::string magnitude_text(const std::optional<int>& tenths) {
  if (!tenths) return {};
  const int magnitude = *tenths < 0 ? -*tenths : *tenths;
  return fmt::format("{}{}.{}", *tenths < 0 ? "-" : "", magnitude / 10, magnitude % 10);
}

}  // namespace

formats::StarLineFields star_line_fields(const StarLine& star) {
  formats::StarLineFields f;
  f.name = star.name;
  f.epoch = star.epoch;
  f.period = star.period;
  f.ra_hour_part = two_columns(star.ra.hours);
  f.ra_minute_part = two_columns(star.ra.minutes);
  f.ra_second_part = two_columns(star.ra.seconds);
  f.dec_degree_part = star.dec.south ? '-' : '+';
  f.dec_degree_part += two_columns(star.dec.degrees);
  f.dec_minute_part = two_columns(star.dec.minutes);
  f.var_type = star.var_type;
  f.mag_max = magnitude_text(star.max_tenths);
  f.mag_min = magnitude_text(star.min_tenths);
  f.select_flag = std::string(1, star.select_flag);
  f.catalogue = star.label;
  return f;
}

std::string format_star_line(const StarLine& star) {
  return formats::format_star_line(star_line_fields(star)) +
         formats::format_star_extension(star.extension);
}

}  // namespace starimport
