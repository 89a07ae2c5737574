#include "formats/star_extension.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <fmt/format.h>

#include "formats/layouts.h"
#include "formats/records.h"

namespace formats {
namespace {

/// The values a numeric field holds.
enum class Range {
  kPercentOfPeriod,  ///< above 0, at most 100
  kPhase,            ///< strictly between 0 and 1
  kUncertainty,      ///< 0 or more
};

bool within(Range range, double value) {
  if (!std::isfinite(value)) return false;
  switch (range) {
    case Range::kPercentOfPeriod:
      return value > 0 && value <= 100;
    case Range::kPhase:
      return value > 0 && value < 1;
    case Range::kUncertainty:
      return value >= 0;
  }
  return false;
}

const char* range_text(Range range) {
  switch (range) {
    case Range::kPercentOfPeriod:
      return "a number above 0 and at most 100";
    case Range::kPhase:
      return "a number strictly between 0 and 1";
    case Range::kUncertainty:
      return "a number of 0 or more";
  }
  return "";
}

/// Where each numeric field stands, in the order of the line.
struct NumberSlot {
  Field field;
  std::optional<double> StarExtension::*value;
  Range range;
  const char* name;
};

constexpr NumberSlot kNumberSlots[] = {
    {star_line::kEclipseDuration, &StarExtension::eclipse_duration_pct, Range::kPercentOfPeriod,
     "eclipse_duration"},
    {star_line::kSecondaryDuration, &StarExtension::secondary_duration_pct, Range::kPercentOfPeriod,
     "secondary_duration"},
    {star_line::kSecondaryPhase, &StarExtension::secondary_phase, Range::kPhase, "secondary_phase"},
    {star_line::kEpochError, &StarExtension::epoch_error_days, Range::kUncertainty, "epoch_error"},
    {star_line::kPeriodError, &StarExtension::period_error_days, Range::kUncertainty,
     "period_error"},
};
constexpr const char* kTimeScaleName = "time_scale";

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

/// True when `text` is wholly one decimal number as parse_decimal reads it: an optional
/// sign, digits with an optional decimal point, an optional exponent.
bool is_decimal_number(std::string_view text) {
  std::size_t i = 0;
  const auto digits = [&] {
    const std::size_t from = i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    return i - from;
  };
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t mantissa_digits = digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    mantissa_digits += digits();
  }
  if (mantissa_digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == text.size();
}

/// The text that reaches from outside into the columns of `field`, or from inside out
/// of them: what stands in the columns from `from` to before `to`, widened on either
/// side to whole words (not left of the catalogue field's end), without blanks around.
std::string_view text_across(std::string_view line, std::size_t from, std::size_t to) {
  to = std::min(to, line.size());
  while (from < to && line[from] == ' ') ++from;
  while (to > from && line[to - 1] == ' ') --to;
  if (from >= to) return {};
  const auto extension_start = static_cast<std::size_t>(star_line::kLineChars);
  while (from > extension_start && line[from - 1] != ' ') --from;
  while (to < line.size() && line[to] != ' ') ++to;
  return line.substr(from, to - from);
}

/// The text of `field` when it stands within its columns: the blank column on either
/// side of it belongs to no field, and the last field runs to the end of the line.
/// Nothing, with a problem appended, when text reaches those columns.
std::optional<std::string_view> field_text(std::string_view line, Field field, bool last,
                                           const char* name, std::vector<std::string>* problems) {
  const auto from = static_cast<std::size_t>(field.start - 1);
  const std::size_t to = last ? line.size() : static_cast<std::size_t>(field.end() + 1);
  const std::string_view text = trimmed(field_within(line, field));
  const std::string_view across = text_across(line, from, to);
  if (across != text) {
    if (problems) {
      problems->push_back(
          fmt::format("{} \"{}\" does not stand within columns {}-{}; read as blank", name, across,
                      field.start, field.end() - 1));
    }
    return std::nullopt;
  }
  return text;
}

std::optional<astro::EpochScale> time_scale_of(std::string_view word) {
  for (const auto scale :
       {astro::EpochScale::kJd, astro::EpochScale::kHjd, astro::EpochScale::kBjd}) {
    if (word == time_scale_word(scale)) return scale;
  }
  return std::nullopt;
}

/// Puts `text` right- or left-aligned into `field` of `line`, widening the line with
/// blanks as far as the field's end.
void place(std::string& line, Field field, std::string_view text, bool right_aligned,
           const char* name) {
  if (text.size() > static_cast<std::size_t>(field.width)) {
    throw std::invalid_argument(fmt::format(
        "star.dat field {}: \"{}\" is longer than {} characters", name, text, field.width));
  }
  if (line.size() < static_cast<std::size_t>(field.end())) line.resize(field.end(), ' ');
  const std::size_t pad = right_aligned ? field.width - text.size() : 0;
  line.replace(static_cast<std::size_t>(field.start) + pad, text.size(), text);
}

}  // namespace

std::string_view time_scale_word(astro::EpochScale scale) {
  switch (scale) {
    case astro::EpochScale::kJd:
      return "JD";
    case astro::EpochScale::kHjd:
      return "HJD";
    case astro::EpochScale::kBjd:
      return "BJD";
  }
  return "";
}

std::optional<double> minimum_uncertainty_days(const StarExtension& extension, double cycles) {
  if (!extension.epoch_error_days || !extension.period_error_days) return std::nullopt;
  return std::hypot(*extension.epoch_error_days, cycles * *extension.period_error_days);
}

std::optional<double> window_widening_days(const StarExtension& extension, double cycles,
                                           double period_days) {
  const std::optional<double> uncertainty = minimum_uncertainty_days(extension, cycles);
  if (!uncertainty) return std::nullopt;
  return std::min(*uncertainty, period_days);
}

StarExtension parse_star_extension(std::string_view line, std::vector<std::string>* problems) {
  StarExtension extension;
  if (line.size() <= static_cast<std::size_t>(star_line::kLineChars)) return extension;
  for (const NumberSlot& slot : kNumberSlots) {
    const auto text = field_text(line, slot.field, false, slot.name, problems);
    if (!text || text->empty()) continue;
    const double value = is_decimal_number(*text) ? parse_decimal(*text) : -1;
    if (!is_decimal_number(*text) || !within(slot.range, value)) {
      if (problems) {
        problems->push_back(fmt::format("{} \"{}\" is not {}; read as blank", slot.name, *text,
                                        range_text(slot.range)));
      }
      continue;
    }
    extension.*slot.value = value;
  }
  const auto word = field_text(line, star_line::kTimeScale, true, kTimeScaleName, problems);
  if (word && !word->empty()) {
    extension.time_scale = time_scale_of(*word);
    if (!extension.time_scale && problems) {
      problems->push_back(
          fmt::format("{} \"{}\" is not JD, HJD or BJD; read as blank", kTimeScaleName, *word));
    }
  }
  return extension;
}

std::string format_star_extension(const StarExtension& extension) {
  std::string line(static_cast<std::size_t>(star_line::kLineChars), ' ');
  for (const NumberSlot& slot : kNumberSlots) {
    const std::optional<double>& value = extension.*slot.value;
    if (!value) continue;
    if (!within(slot.range, *value)) {
      throw std::invalid_argument(fmt::format("star.dat field {}: {} is not {}", slot.name, *value,
                                              range_text(slot.range)));
    }
    place(line, slot.field, fmt::format("{}", *value), true, slot.name);
  }
  if (extension.time_scale) {
    place(line, star_line::kTimeScale, time_scale_word(*extension.time_scale), false,
          kTimeScaleName);
  }
  line.erase(line.find_last_not_of(' ') + 1);
  line.erase(0, static_cast<std::size_t>(star_line::kLineChars));
  return line;
}

}  // namespace formats
