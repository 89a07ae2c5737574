#include "plan_entry.h"

#include <cmath>
#include <set>

#include <fmt/format.h>

#include "astro/constants.h"
#include "astro/numeric.h"
#include "formats/catalogue.h"
#include "formats/layouts.h"
#include "formats/records.h"
#include "io/text_files.h"

namespace nightmark {
namespace {

namespace col = formats::daily_list_line;

/// The kind letter ends the name-to-kind span; the magnitude at maximum light is the
/// first four characters of the magnitudes.
constexpr formats::Field kKind{col::kNameToKind.end() - 1, 1};
constexpr formats::Field kMagMax{col::kMagnitudes.start, 4};

/// A catalogue position this far from the plan's is some other star (the plan keeps
/// whole minutes of time and whole arc minutes, so a true match is always closer).
constexpr double kCatalogueMatchRaHours = 1.0 / 60;
constexpr double kCatalogueMatchDecDegrees = 1.0 / 60;

std::string trimmed_field(std::string_view line, formats::Field field) {
  std::string text = formats::extract_field(line, field);
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string without_trailing_blanks(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  return text;
}

double double_field(std::string_view line, formats::Field field) {
  return formats::parse_decimal(formats::extract_field(line, field));
}

/// The plan's position in double precision, from the same fields and sign rule as
/// the filter's single-precision values.
EquatorialPosition line_position(std::string_view line) {
  EquatorialPosition p;
  p.ra_hours = double_field(line, col::kRaH) + double_field(line, col::kRaM) / 60;
  const std::string degrees = formats::extract_field(line, col::kDecDeg);
  const double minutes = double_field(line, col::kDecMin);
  const double whole = formats::parse_decimal(degrees);
  // A minus anywhere in the degree field, also in "-0", makes the whole declination
  // southern.
  const bool south = degrees.find('-') != std::string::npos;
  p.dec_degrees = south ? -(std::fabs(whole) + minutes / 60) : whole + minutes / 60;
  return p;
}

EquatorialPosition catalogue_position(const formats::StarRecord& star) {
  // dec_minute_part already carries the sign of the degree field.
  return {
      static_cast<double>(star.ra_hour_part) + static_cast<double>(star.ra_minute_part) / 60 +
          static_cast<double>(star.ra_second_part) / 3600,
      static_cast<double>(star.dec_degree_part) + static_cast<double>(star.dec_minute_part) / 60};
}

bool close_to(const EquatorialPosition& a, const EquatorialPosition& b) {
  return std::fabs(a.ra_hours - b.ra_hours) < kCatalogueMatchRaHours &&
         std::fabs(a.dec_degrees - b.dec_degrees) < kCatalogueMatchDecDegrees;
}

}  // namespace

PlanEntry read_plan_entry(std::string_view line) {
  PlanEntry e;
  e.name = without_trailing_blanks(formats::extract_field(line, col::kName));
  e.catalogue = trimmed_field(line, col::kCatalogue);
  e.kind = formats::extract_field(line, kKind)[0];
  e.time_text = trimmed_field(line, col::kTime);
  e.var_type = trimmed_field(line, col::kVarType);
  e.mag_max = trimmed_field(line, kMagMax);
  e.minimum_jd = double_field(line, col::kForecastJd);
  if (!std::isfinite(e.minimum_jd)) e.minimum_jd = 0;
  e.listed = read_listed_minimum(line);
  e.position = line_position(line);
  return e;
}

namespace {

/// Two digits of hours (the hours after midnight counted on from 24).
constexpr double kMostClockHours = 99;

/// Decimal hours in [0, kMostClockHours) to the nearest whole minute.
int rounded_minutes(double hours) {
  return astro::trunc_to_int(hours * astro::kMinutesPerHour + 0.5);
}

std::string minutes_text(int minutes) {
  return fmt::format("{:02}:{:02}", minutes / astro::kMinutesPerHour,
                     minutes % astro::kMinutesPerHour);
}

}  // namespace

std::string clock_text(double hours) {
  if (!(hours >= 0 && hours < kMostClockHours)) return "??:??";
  return minutes_text(rounded_minutes(hours));
}

std::string clock_reading_text(double hours) {
  if (!(hours >= 0 && hours < kMostClockHours)) return "??:??";
  return minutes_text(rounded_minutes(hours) % astro::kMinutesPerDay);
}

std::string clock_time_text(const PlanEntry& entry) {
  return clock_text(formats::parse_decimal(entry.time_text));
}

void take_catalogue_positions(std::vector<PlanEntry>& entries, const std::string& star_file) {
  if (entries.empty()) return;
  io::LineReader catalogue = io::LineReader::open_if_exists(star_file);
  if (!catalogue.is_open()) return;
  std::set<std::string> wanted;
  for (const PlanEntry& e : entries) wanted.insert(e.name);
  std::string line;
  while (!wanted.empty() && catalogue.next(line)) {
    if (formats::unusable_star_line(line)) continue;
    const formats::StarRecord star = formats::parse_star_record(line);
    const std::string name = without_trailing_blanks(star.name);
    if (wanted.erase(name) == 0) continue;
    const EquatorialPosition found = catalogue_position(star);
    if (!std::isfinite(found.ra_hours) || !std::isfinite(found.dec_degrees)) continue;
    bool warned = false;
    for (PlanEntry& e : entries) {
      if (e.name != name) continue;
      if (close_to(found, e.position)) {
        e.position = found;
        e.position_from_catalogue = true;
      } else if (!warned) {
        io::warn_line(star_file, catalogue.line_number(),
                      name + ": position differs from the plan's; the plan's is used");
        warned = true;
      }
    }
  }
}

}  // namespace nightmark
