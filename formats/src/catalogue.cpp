#include "formats/catalogue.h"

#include <cmath>

#include <fmt/format.h>

#include "astro/constants.h"
#include "astro/numeric.h"
#include "astro/precision.h"
#include "astro/sexagesimal.h"
#include "formats/layouts.h"
#include "formats/records.h"

namespace formats {
namespace {

float float_field(std::string_view line, Field field) {
  return static_cast<float>(parse_decimal(field_within(line, field)));
}

}  // namespace

StarRecord parse_star_record(std::string_view line, std::vector<std::string>* extension_problems) {
  StarRecord s;
  using namespace star_line;
  s.name = extract_field(line, kName);
  s.elements_text = extract_field(line, kElements);
  s.catalogue = extract_field(line, kCatalogue);
  s.var_type = extract_field(line, kVarType);

  const std::string_view epoch_text = field_within(line, kEpoch);
  s.epoch_blank = is_blank(epoch_text);
  s.epoch_mjd = static_cast<double>(static_cast<astro::Ext>(parse_decimal(epoch_text)) -
                                    static_cast<astro::Ext>(astro::kMjdZeroJd));
  s.period = parse_decimal(field_within(line, kPeriod));

  s.ra_hour_part = float_field(line, kRaH);
  s.ra_minute_part = float_field(line, kRaM);
  s.ra_second_part = float_field(line, kRaS);
  s.ra_hours = astro::hours_minutes_seconds(s.ra_hour_part, s.ra_minute_part, s.ra_second_part);

  const std::string_view dec_field = field_within(line, kDecDeg);
  s.dec_degree_part = static_cast<float>(parse_decimal(dec_field));
  s.dec_minute_part = astro::signed_declination_minutes(dec_field, float_field(line, kDecMin));
  s.dec_degrees = astro::whole_and_minutes(s.dec_degree_part, s.dec_minute_part);

  s.mag_max = float_field(line, kMagMax);
  s.mag_min = float_field(line, kMagMin);
  s.select_flag = astro::trunc_to_int(parse_decimal(field_within(line, kSelectFlag)));
  s.extension = parse_star_extension(line, extension_problems);
  return s;
}

std::optional<std::string> unusable_star_line(std::string_view line) {
  if (line.size() < kMinStarLineLength) {
    if (is_blank(line)) return std::string();
    return fmt::format("line of {} characters is too short for a star ({} needed); skipped",
                       line.size(), kMinStarLineLength);
  }
  if (line.find('\0') != std::string_view::npos) return "line holds a NUL byte; skipped";
  return std::nullopt;
}

std::optional<std::string> star_record_problem(const StarRecord& star) {
  if (star.epoch_blank) return "blank epoch field";
  if (!std::isfinite(star.epoch_mjd)) return "epoch is not a finite number";
  if (!std::isfinite(star.period)) return "period is not a finite number";
  if (star.period < 0) return "negative period";
  return std::nullopt;
}

IcrsPosition icrs_position(const StarRecord& star) {
  return {static_cast<double>(star.ra_hours) * (astro::kPi / 12),
          static_cast<double>(star.dec_degrees) * (astro::kPi / 180)};
}

}  // namespace formats
