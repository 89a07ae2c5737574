#include "field_conversions.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include <fmt/format.h>

#include "astro/constants.h"
#include "decimal_text.h"

namespace starimport {
namespace {

/// JD - 2400000: the reduced Julian Date of the GCVS and of many tables.
constexpr std::int64_t kReducedJdOffsetDays = 2400000;
/// An integer part of more digits than this is a full Julian Date (or nonsense).
constexpr std::size_t kMaxReducedJdDigits = 5;

using astro::kSecondsPerDay;
using astro::kSecondsPerHour;
constexpr std::int64_t kSecondsOfTimePerDegree = 240;
constexpr std::int64_t kArcminutesPerDegree = 60;
constexpr std::int64_t kArcsecondsPerDegree = 3600;
constexpr std::int64_t kArcsecondsPerArcminute = 60;
/// Tenths of a magnitude that a 4-column field holds with one decimal: -9.9 to 99.9.
constexpr int kLowestMagnitudeTenths = -99;
constexpr int kHighestMagnitudeTenths = 999;

bool is_name_blank(unsigned char c) { return c <= ' ' || c == 0x7f; }

std::string without_uncertainty(std::string_view text) {
  text = trim(text);
  while (!text.empty() && text.back() == ':') text = trim(text.substr(0, text.size() - 1));
  return std::string(text);
}

/// Drops trailing zeros of the fraction while the text is wider than the columns:
/// they carry no digit of the value.
std::string fitted(DecimalText number) {
  std::string text = number.text();
  while (text.size() > kElementColumns && !number.fraction_digits.empty() &&
         number.fraction_digits.back() == '0') {
    number.fraction_digits.pop_back();
    text = number.text();
  }
  return text;
}

Converted<std::string> refused(std::string problem) { return {std::nullopt, std::move(problem)}; }

/// Reads "a b c" or "a:b:c" (also "a b" and "a"): the parts of a sexagesimal value.
std::vector<std::string_view> sexagesimal_parts(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == ':' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != ':' && text[i] != '\t') ++i;
    if (i > start) parts.push_back(text.substr(start, i - start));
  }
  return parts;
}

ExactDecimal times(ExactDecimal value, std::int64_t factor) {
  value.units *= factor;
  return value;
}

/// The unsigned value of a part, whole when `whole`; nothing for anything else.
std::optional<ExactDecimal> part_value(std::string_view part, bool whole) {
  const std::optional<DecimalText> number = parse_decimal_text(part);
  if (!number || number->negative || part.front() == '+') return std::nullopt;
  if (whole && number->has_point) return std::nullopt;
  return to_exact(*number);
}

/// A sexagesimal value (without sign) in units of the last part: big units x
/// `per_unit` middle units, middle x 60 small ones. Each part below its unit's limit
/// (`first_limit` for the first, 60 for the others). Nothing when malformed.
std::optional<ExactDecimal> sexagesimal_total(std::string_view text, std::int64_t first_limit) {
  const std::vector<std::string_view> parts = sexagesimal_parts(text);
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  ExactDecimal total;
  for (std::size_t k = 0; k < parts.size(); ++k) {
    const bool last = k + 1 == parts.size();
    const std::optional<ExactDecimal> value = part_value(parts[k], !last);
    const std::int64_t limit = k == 0 ? first_limit : 60;
    if (!value || compare(*value, limit) >= 0) return std::nullopt;
    total = add(times(total, 60), *value);
  }
  // Two parts ("hh mm.m") are counted in minutes: scale to the same unit as three.
  if (parts.size() == 2) total = times(total, 60);
  return total;
}

bool is_sexagesimal(std::string_view text) {
  return text.find_first_of(" :\t") != std::string_view::npos;
}

}  // namespace

std::string collapse_blanks(std::string_view name) {
  std::string out;
  bool pending_blank = false;
  for (char c : name) {
    if (is_name_blank(static_cast<unsigned char>(c))) {
      pending_blank = !out.empty();
      continue;
    }
    if (pending_blank) out += ' ';
    pending_blank = false;
    out += c;
  }
  return out;
}

std::string normalise_name(std::string_view name, bool& cut) {
  std::string out = collapse_blanks(name);
  cut = out.size() > kNameColumns;
  if (cut) {
    std::size_t end = kNameColumns;
    // Never split a UTF-8 character: back off over its continuation bytes.
    while (end > 0 && (static_cast<unsigned char>(out[end]) & 0xC0) == 0x80) --end;
    out.resize(end);
    while (!out.empty() && out.back() == ' ') out.pop_back();
  }
  return out;
}

std::string_view main_type(std::string_view type) {
  type = trim(type);
  return type.substr(0, type.find_first_of("/+|: \t"));
}

Converted<std::string> convert_epoch(std::string_view text) {
  const std::string written = without_uncertainty(text);
  if (written.empty()) return refused("no epoch");
  std::optional<DecimalText> number = parse_decimal_text(written);
  if (!number || number->negative || number->is_zero()) {
    return refused("epoch '" + std::string(written) + "' is not a finite positive number");
  }
  if (number->integer_digits.size() <= kMaxReducedJdDigits) {
    const std::int64_t reduced =
        number->integer_digits.empty() ? 0 : std::stoll(number->integer_digits);
    number->integer_digits = fmt::to_string(reduced + kReducedJdOffsetDays);
  } else if (number->integer_digits.size() < 7 ||
             (number->integer_digits.size() == 7 &&
              std::stoll(number->integer_digits) < kReducedJdOffsetDays)) {
    return refused("epoch '" + std::string(written) +
                   "' is neither a Julian Date nor JD - 2400000");
  }
  std::string epoch = fitted(*number);
  // The programs take an epoch of exactly MJD 0 for a star without elements and pass it
  // over without a word: refused here, so that no star is dropped unseen.
  if (std::strtod(epoch.c_str(), nullptr) == astro::kMjdZeroJd) {
    return refused("epoch '" + std::string(written) +
                   "' is JD 2400000.5 (MJD 0), which the programs read as no elements");
  }
  if (epoch.size() > kElementColumns) {
    return refused(fmt::format("epoch '{}' has more digits than the {} columns hold", written,
                               kElementColumns));
  }
  return {std::move(epoch), {}};
}

Converted<std::string> convert_period(std::string_view text, char limit) {
  const std::string written = without_uncertainty(text);
  if (limit == '<' || limit == '>') {
    return refused("period given only as a limit (" + std::string(1, limit) + std::string(written) +
                   ")");
  }
  if (written.empty()) return refused("no period");
  const std::optional<DecimalText> number = parse_decimal_text(written);
  if (!number || number->negative || number->is_zero()) {
    return refused("period '" + std::string(written) + "' is not a finite positive number");
  }
  std::string period = fitted(*number);
  if (period.size() > kElementColumns) {
    return refused(fmt::format("period '{}' has more digits than the {} columns hold", written,
                               kElementColumns));
  }
  return {std::move(period), {}};
}

Converted<RoundedRa> convert_ra(std::string_view text) {
  text = trim(text);
  if (text.empty()) return {std::nullopt, "no position"};
  std::optional<std::int64_t> seconds;
  if (is_sexagesimal(text)) {
    if (const auto total = sexagesimal_total(text, 24)) seconds = round_ratio(*total, 1, 1);
  } else if (const auto number = parse_decimal_text(text); number && !number->negative) {
    const std::optional<ExactDecimal> degrees = to_exact(*number);
    if (degrees && compare(*degrees, 360) < 0) {
      seconds = round_ratio(*degrees, kSecondsOfTimePerDegree, 1);
    }
  }
  if (!seconds)
    return {std::nullopt, "right ascension '" + std::string(text) + "' is not a position"};
  const std::int64_t s = *seconds % kSecondsPerDay;
  return {RoundedRa{static_cast<int>(s / kSecondsPerHour),
                    static_cast<int>(s % kSecondsPerHour / 60), static_cast<int>(s % 60)},
          {}};
}

Converted<RoundedDec> convert_dec(std::string_view text) {
  text = trim(text);
  if (text.empty()) return {std::nullopt, "no position"};
  const bool minus = text.front() == '-';
  std::string_view unsigned_text = text;
  if (text.front() == '-' || text.front() == '+') unsigned_text = trim(text.substr(1));
  std::optional<std::int64_t> arcminutes;
  if (is_sexagesimal(unsigned_text)) {
    const auto total = sexagesimal_total(unsigned_text, 91);
    if (total && compare(*total, 90 * kArcsecondsPerDegree) <= 0) {
      arcminutes = round_ratio(*total, 1, kArcsecondsPerArcminute);
    }
  } else if (const auto number = parse_decimal_text(unsigned_text); number && !number->negative &&
                                                                    !unsigned_text.empty() &&
                                                                    unsigned_text.front() != '+') {
    const std::optional<ExactDecimal> degrees = to_exact(*number);
    if (degrees && compare(*degrees, 90) <= 0) {
      arcminutes = round_ratio(*degrees, kArcminutesPerDegree, 1);
    }
  }
  if (!arcminutes)
    return {std::nullopt, "declination '" + std::string(text) + "' is not a position"};
  return {RoundedDec{minus && *arcminutes != 0, static_cast<int>(*arcminutes / 60),
                     static_cast<int>(*arcminutes % 60)},
          {}};
}

namespace {

constexpr long double kPercent = 100;
/// Hundredths of a percent: the finest a duration is written to (a period of 10 days in
/// 9 seconds), and the five columns hold 100 (100) and 99.99.
constexpr std::int64_t kDurationSteps = 100;
/// The steps of a duration as long as the period.
constexpr std::int64_t kWholePeriodSteps = 100 * kDurationSteps;

/// The decimal text of `text` without the uncertainty and remark marks after it.
std::string_view without_marks(std::string_view text) {
  text = trim(text);
  while (!text.empty() && (text.back() == ':' || text.back() == '*' || text.back() == ' ')) {
    text.remove_suffix(1);
  }
  return text;
}

}  // namespace

Converted<double> convert_duration(std::string_view text, std::string_view period) {
  const std::string_view written = without_marks(text);
  if (written.empty()) return {};
  const std::string shown(trim(text));
  if (written.front() == '<' || written.front() == '>') {
    return {std::nullopt, "eclipse duration is a limit (" + shown + "); left blank"};
  }
  std::string_view number = written;
  long double days_per_unit = 0;  // 0: percent of the period
  if (number.back() == 'h' || number.back() == 'd') {
    days_per_unit = number.back() == 'h' ? 1.0L / astro::kHoursPerDay : 1;
    number.remove_suffix(1);
  } else if (number.back() == '%') {
    number.remove_suffix(1);
  }
  const std::optional<DecimalText> decimal = parse_decimal_text(without_marks(number));
  const std::optional<ExactDecimal> exact = decimal ? to_exact(*decimal) : std::nullopt;
  const std::string bad = "eclipse duration '" + shown + "' ";
  if (!exact || decimal->negative || decimal->is_zero()) {
    return {std::nullopt, bad + "is not a positive number (of percent, h or d); left blank"};
  }
  std::int64_t steps = 0;
  if (days_per_unit == 0) {
    steps = round_ratio(*exact, kDurationSteps, 1);
  } else {
    const long double value = std::strtold(decimal->text().c_str(), nullptr);
    const long double days = std::strtold(std::string(period).c_str(), nullptr);
    const long double pct = value * days_per_unit / days * kPercent;
    // A duration longer than the period (or infinite) is refused below without being
    // converted to an integer.
    steps = pct > 2 * kPercent ? kWholePeriodSteps + 1 : std::llround(pct * kDurationSteps);
  }
  if (steps <= 0 || steps > kWholePeriodSteps) {
    return {std::nullopt, bad + "is not above 0 and at most 100 % of the period; left blank"};
  }
  return {static_cast<double>(static_cast<long double>(steps) / kDurationSteps), {}};
}

Converted<double> convert_secondary_phase(std::string_view text) {
  const std::string written(trim(text));
  if (written.empty()) return {};
  // Ten thousandths of the cycle: the finest the phase field's 6 columns hold.
  constexpr std::int64_t kPhaseSteps = 10000;
  const std::optional<DecimalText> decimal = parse_decimal_text(written);
  const std::optional<ExactDecimal> exact = decimal ? to_exact(*decimal) : std::nullopt;
  const std::int64_t steps = exact ? round_ratio(*exact, kPhaseSteps, 1) : 0;
  if (steps <= 0 || steps >= kPhaseSteps) {
    return {std::nullopt, "secondary phase '" + written +
                              "' is not a number that rounds to one between 0 and 1; left blank"};
  }
  return {static_cast<double>(static_cast<long double>(steps) / kPhaseSteps), {}};
}

Converted<double> convert_error(std::string_view text, std::string_view what, int columns) {
  const std::string written = without_uncertainty(text);
  if (written.empty()) return {};
  const std::optional<DecimalText> decimal = parse_decimal_text(written);
  const std::string name(what);
  if (!decimal || decimal->negative || !to_exact(*decimal)) {
    return {std::nullopt, name + " '" + written + "' is not a number of 0 or more; left blank"};
  }
  const double value = std::strtod(decimal->text().c_str(), nullptr);
  const auto width = static_cast<std::size_t>(columns);
  if (fmt::format("{}", value).size() <= width) return {value, {}};
  // Fewer significant digits, the last rounded up: an uncertainty is never made smaller.
  const int leading = static_cast<int>(std::floor(std::log10(value)));
  for (int digits = 15; digits >= 1; --digits) {
    const double unit = std::pow(10.0, leading - digits + 1);
    const double units = value / unit;
    const double whole =
        std::abs(units - std::round(units)) < 1e-9 ? std::round(units) : std::ceil(units);
    const double rounded = std::stod(fmt::format("{:.{}g}", whole * unit, digits));
    const std::string shown = fmt::format("{}", rounded);
    if (shown.size() <= width) {
      return {rounded, fmt::format("{} '{}' has more digits than its {} columns hold; "
                                   "written as {}",
                                   name, written, columns, shown)};
    }
  }
  return {std::nullopt,
          fmt::format("{} '{}' does not fit its {} columns; left blank", name, written, columns)};
}

namespace {

/// One magnitude's exact value, or why it is none (for the warning).
struct MagnitudeValue {
  std::optional<ExactDecimal> value;
  std::string problem;
  /// The value is only the bright end of a minimum fainter than it ('<'): written all
  /// the same, so that the star keeps at least that depth, with this warning.
  std::string limit_kept;
};

/// `faint_limit_kept`: a '<' limit (fainter than the value) gives the value.
MagnitudeValue magnitude_value(const MagnitudeEntry& entry, const char* what,
                               bool faint_limit_kept) {
  const std::string name = what;
  if (entry.value.empty()) return {std::nullopt, "no " + name + " magnitude", {}};
  const std::string limit_text =
      name + " magnitude is a limit (" + std::string(1, entry.limit) + entry.value + ")";
  const bool kept = faint_limit_kept && entry.limit == '<' && !entry.amplitude;
  if (entry.limit != 0 && !kept) return {std::nullopt, limit_text, {}};
  const std::optional<DecimalText> number = parse_decimal_text(entry.value);
  std::optional<ExactDecimal> value;
  if (number) value = to_exact(*number);
  if (!value) {
    return {
        std::nullopt, name + " magnitude '" + std::string(entry.value) + "' is not a number", {}};
  }
  if (!kept) return {value, {}, {}};
  return {value, {}, limit_text + "; kept: the eclipse is at least that deep"};
}

std::optional<int> tenths(const MagnitudeValue& m, const char* what,
                          std::vector<std::string>& warnings) {
  if (!m.value) {
    warnings.push_back(m.problem + "; left blank");
    return std::nullopt;
  }
  const std::int64_t t = round_ratio(*m.value, 10, 1);
  if (t < kLowestMagnitudeTenths || t > kHighestMagnitudeTenths) {
    warnings.push_back(std::string(what) + " magnitude does not fit 4 columns; left blank");
    return std::nullopt;
  }
  return static_cast<int>(t);
}

}  // namespace

RoundedMagnitudes convert_magnitudes(const MagnitudeEntry& max, const MagnitudeEntry& min,
                                     std::string_view passband) {
  RoundedMagnitudes out;
  MagnitudeValue at_maximum =
      max.amplitude ? MagnitudeValue{std::nullopt, "maximum given as an amplitude", {}}
                    : magnitude_value(max, "maximum", false);
  MagnitudeValue at_minimum = magnitude_value(min, "minimum", true);
  const bool other_bands =
      !max.passband.empty() && !min.passband.empty() && max.passband != min.passband;
  if (at_minimum.value && other_bands) {
    const std::string bands =
        "maximum in " + std::string(max.passband) + ", minimum in " + std::string(min.passband);
    if (min.passband == passband && max.passband != passband && !min.amplitude) {
      at_maximum = {
          std::nullopt, "maximum magnitude not in the minimum's passband (" + bands + ")", {}};
    } else {
      at_minimum = {
          std::nullopt, "minimum magnitude not in the maximum's passband (" + bands + ")", {}};
    }
  }
  if (at_minimum.value && min.amplitude) {
    if (at_maximum.value) {
      at_minimum.value = add(*at_maximum.value, *at_minimum.value);
    } else {
      at_minimum = {std::nullopt, "minimum given as an amplitude without a maximum magnitude", {}};
    }
  }
  out.max_tenths = tenths(at_maximum, "maximum", out.warnings);
  out.min_tenths = tenths(at_minimum, "minimum", out.warnings);
  if (out.min_tenths && !at_minimum.limit_kept.empty()) {
    out.warnings.push_back(at_minimum.limit_kept);
  }
  return out;
}

}  // namespace starimport
