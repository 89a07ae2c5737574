#include "eclipse_window.h"

#include <cmath>

#include "astro/constants.h"
#include "formats/catalogue.h"
#include "io/text_files.h"

namespace nightmark {
namespace {

using astro::kHoursPerDay;

}  // namespace

std::map<std::string, formats::StarRecord> catalogue_stars(const std::string& star_file) {
  std::map<std::string, formats::StarRecord> stars;
  io::LineReader catalogue = io::LineReader::open_if_exists(star_file);
  if (!catalogue.is_open()) return stars;
  std::string line;
  while (catalogue.next(line)) {
    if (formats::unusable_star_line(line)) continue;
    formats::StarRecord star = formats::parse_star_record(line);
    star.name.erase(star.name.find_last_not_of(' ') + 1);
    std::string name = star.name;
    stars.try_emplace(std::move(name), std::move(star));
  }
  return stars;
}

StarElements star_elements(const formats::StarRecord& star) {
  return {star.epoch_mjd + astro::kMjdZeroJd, star.period, star.extension};
}

std::map<std::string, StarElements> catalogue_elements(const std::string& star_file) {
  std::map<std::string, StarElements> elements;
  for (const auto& [name, star] : catalogue_stars(star_file)) {
    elements.emplace(name, star_elements(star));
  }
  return elements;
}

EclipseWindow eclipse_window(const StarElements* star, char kind, double minimum_jd) {
  EclipseWindow window;
  if (star == nullptr || !(star->period_days > 0) || !std::isfinite(star->period_days)) {
    return window;
  }
  const formats::StarExtension& ext = star->extension;
  const bool secondary = kind == 's';
  const std::optional<double> duration_pct = secondary && ext.secondary_duration_pct
                                                 ? ext.secondary_duration_pct
                                                 : ext.eclipse_duration_pct;
  if (duration_pct) {
    window.half_hours = *duration_pct * star->period_days / 200 * kHoursPerDay;
    window.from_duration = true;
  }
  if (minimum_jd != 0 && std::isfinite(minimum_jd) && std::isfinite(star->epoch_jd)) {
    const double phase =
        secondary ? ext.secondary_phase.value_or(formats::kDefaultSecondaryPhase) : 0.0;
    const double cycles =
        std::round((minimum_jd - star->epoch_jd) / star->period_days - phase) + phase;
    if (const auto days = formats::window_widening_days(ext, cycles, star->period_days)) {
      window.uncertainty_hours = *days * kHoursPerDay;
    }
  }
  return window;
}

}  // namespace nightmark
