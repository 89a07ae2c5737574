#include "kreiner_reader.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include <fmt/format.h>

#include "decimal_text.h"
#include "star_name.h"

namespace starimport {
namespace {

/// Columns of the name on a record's first line: the designation padded to 6, the
/// constellation.
constexpr std::size_t kNameColumns = 10;
/// Whitespace-separated fields of a record's second line: RA h m s, Dec d m s, the
/// equinox, D, d, the period, M0, the phase of the secondary.
constexpr std::size_t kSecondLineFields = 12;
/// A D of this many days or less is the placeholder of EB and EW stars.
constexpr long double kPlaceholderDurationDays = 0.01L;

std::vector<std::string_view> words(std::string_view text) {
  std::vector<std::string_view> out;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) out.push_back(text.substr(start, i - start));
  }
  return out;
}

std::optional<KreinerMinima> minima_of(std::string_view first_line) {
  const std::size_t bar = first_line.find('|');
  if (bar == std::string_view::npos) return std::nullopt;
  const std::vector<std::string_view> after = words(first_line.substr(bar + 1));
  if (after.size() < 3 || after[after.size() - 2] != "for") return std::nullopt;
  const std::string_view which = after.back();
  if (which == "ALL") return KreinerMinima::all;
  if (which == "PRI") return KreinerMinima::primary;
  if (which == "SEC") return KreinerMinima::secondary;
  return std::nullopt;
}

std::string joined(const std::vector<std::string_view>& parts, std::size_t from, std::size_t n) {
  std::string out;
  for (std::size_t i = from; i < from + n; ++i)
    out += (out.empty() ? "" : " ") + std::string(parts[i]);
  return out;
}

/// The duration's text for the conversion: D in days, or nothing for a placeholder.
std::string duration_text(const std::string& days) {
  const std::optional<DecimalText> number = parse_decimal_text(days);
  if (number && std::strtold(number->text().c_str(), nullptr) <= kPlaceholderDurationDays) {
    return {};
  }
  return days.empty() ? days : days + " d";
}

}  // namespace

bool is_kreiner_header_end(std::string_view line) { return trim(line) == "cut header here!"; }

bool is_kreiner_first_line(std::string_view line) { return minima_of(line).has_value(); }

std::variant<KreinerRecord, std::string> read_kreiner_record(std::string_view first,
                                                             std::string_view second, long number) {
  KreinerRecord r;
  r.line = number;
  const std::optional<KreinerMinima> minima = minima_of(first);
  if (!minima) {
    return std::string(
        "not the first line of a Kreiner record (no '|' and 'for ALL', "
        "'for PRI' or 'for SEC' at its end)");
  }
  r.minima = *minima;
  const std::size_t bar = first.find('|');
  r.name = std::string(trim(first.substr(0, std::min(kNameColumns, bar))));
  const std::vector<std::string_view> before =
      words(first.substr(std::min(kNameColumns, bar), bar - std::min(kNameColumns, bar)));
  // The year of the last minima, then V at maximum.
  if (before.size() >= 2) r.max = std::string(before[1]);
  const std::vector<std::string_view> after = words(first.substr(bar + 1));
  r.type = std::string(after[after.size() - 3]);

  const std::vector<std::string_view> fields = words(second);
  if (fields.size() != kSecondLineFields) {
    return fmt::format(
        "second line of the record has {} fields, not {} (RA h m s, Dec d m s, "
        "equinox, D, d, period, M0, phase of the secondary)",
        fields.size(), kSecondLineFields);
  }
  if (fields[6] != "2000.0") {
    return "equinox " + std::string(fields[6]) + ", not 2000.0";
  }
  r.ra = joined(fields, 0, 3);
  r.dec = joined(fields, 3, 3);
  r.duration = std::string(fields[7]);
  r.period = std::string(fields[9]);
  r.epoch = std::string(fields[10]);
  return r;
}

bool same_kreiner_star(const KreinerRecord& a, const KreinerRecord& b) {
  return star_name_key(a.name) == star_name_key(b.name);
}

SourceRecord kreiner_source_record(const KreinerRecord& main,
                                   const std::optional<KreinerRecord>& secondary) {
  SourceRecord r;
  r.line = main.line;
  r.name = main.name;
  r.ra = main.ra;
  r.dec = main.dec;
  r.type = main.type;
  r.max.value = main.max;
  r.max.passband = main.max.empty() ? "" : "V";
  r.epoch = main.epoch;
  r.period = main.period;
  r.duration = duration_text(main.duration);
  if (!secondary) return r;
  r.secondary_duration = duration_text(secondary->duration);
  // The secondary's own period differs in the last digits: the primary's elements
  // give the phase, (M0 of SEC - M0 of PRI) / P of PRI, modulo 1.
  const auto exact = [](const std::string& text) -> std::optional<ExactDecimal> {
    const std::optional<DecimalText> number = parse_decimal_text(text);
    return number ? to_exact(*number) : std::nullopt;
  };
  const std::optional<ExactDecimal> primary_epoch = exact(main.epoch);
  const std::optional<ExactDecimal> secondary_epoch = exact(secondary->epoch);
  const std::optional<ExactDecimal> period = exact(main.period);
  if (!primary_epoch || !secondary_epoch || !period || period->units <= 0) return r;
  ExactDecimal before = *primary_epoch;
  before.units = -before.units;
  const long double days = std::strtold(exact_text(add(*secondary_epoch, before)).c_str(), nullptr);
  const long double cycles = days / std::strtold(exact_text(*period).c_str(), nullptr);
  r.secondary_phase = fmt::format("{:.12f}", cycles - std::floor(cycles));
  return r;
}

}  // namespace starimport
