#include "astro/catalogue.h"

#include <cmath>

#include "astro/constants.h"
#include "astro/layouts.h"
#include "astro/numeric.h"
#include "astro/records.h"

namespace astro {
namespace {

using Ext = long double;

float float_field(std::string_view line, Field field) {
  return static_cast<float>(parse_decimal(extract_field(line, field)));
}

}  // namespace

StarRecord parse_star_record(std::string_view line) {
  StarRecord s;
  using namespace star_line;
  s.name = extract_field(line, kName);
  s.elements_text = extract_field(line, kElements);
  s.catalogue = extract_field(line, kCatalogue);
  s.var_type = extract_field(line, kVarType);

  const std::string epoch_text = extract_field(line, kEpoch);
  s.epoch_blank = is_blank(epoch_text);
  s.epoch_mjd = static_cast<double>(static_cast<Ext>(parse_decimal(epoch_text)) -
                                    static_cast<Ext>(kMjdZeroJd));
  s.period = parse_decimal(extract_field(line, kPeriod));

  s.ra_h = float_field(line, kRaH);
  s.ra_m = float_field(line, kRaM);
  s.ra_s = float_field(line, kRaS);
  s.ra_hours = static_cast<float>((static_cast<Ext>(s.ra_m) * (1.0L / 60) + s.ra_h) +
                                  static_cast<Ext>(s.ra_s) * (1.0L / 3600));

  const std::string dec_field = extract_field(line, kDecDeg);
  s.dec_deg = static_cast<float>(parse_decimal(dec_field));
  s.dec_min = float_field(line, kDecMin);
  // A minus sign anywhere in the degree field makes the whole declination southern,
  // also for -00 (between 0 and -1 degree).
  if (dec_field.find('-') != std::string::npos) s.dec_min = -s.dec_min;
  s.dec_degrees =
      static_cast<float>(static_cast<Ext>(s.dec_min) * (1.0L / 60) + s.dec_deg);

  s.mag_max = float_field(line, kMagMax);
  s.mag_min = float_field(line, kMagMin);
  s.select_flag = trunc_to_int(parse_decimal(extract_field(line, kSelectFlag)));
  return s;
}

std::optional<std::string> unusable_star_line(std::string_view line) {
  if (line.size() < kMinStarLineLength) {
    if (is_blank(line)) return std::string();
    return "line of " + std::to_string(line.size()) +
           " characters is too short for a star (" + std::to_string(kMinStarLineLength) +
           " needed); skipped";
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

}  // namespace astro
