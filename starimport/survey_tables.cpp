#include "survey_tables.h"

#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <span>
#include <string_view>

#include <fmt/format.h>

#include "astro/time_scales.h"
#include "conversion.h"
#include "decimal_text.h"
#include "io/text.h"
#include "table_reader.h"

namespace starimport {
namespace {

/// One field of a survey's table: the header names it is found by, in order of
/// preference, any case. No real file of the TESS catalogue was at hand: its names
/// come from the catalogue's export code (Villanova) and VizieR's description; correct
/// them here when a real file says otherwise.
struct SurveyField {
  std::string_view what;  ///< for messages
  std::initializer_list<std::string_view> names;
  bool needed = false;
};

enum TessField {
  kTessId,
  kTessRa,
  kTessDec,
  kTessMagnitude,
  kTessEpoch,
  kTessEpochError,
  kTessPeriod,
  kTessPeriodError,
  kTessPrimaryWidth,
  kTessPrimaryDepth,
  kTessPrimaryPosition,
  kTessSecondaryWidth,
  kTessSecondaryPosition,
};

const SurveyField kTessFields[] = {
    {"TIC number", {"tic__tess_id", "tess_id", "TIC"}, true},
    {"ra", {"tic__ra", "ra", "RAJ2000", "_RAJ2000", "RAdeg"}, true},
    {"dec", {"tic__dec", "dec", "DEJ2000", "_DEJ2000", "DEdeg"}, true},
    {"Tmag", {"tic__Tmag", "Tmag"}, false},
    {"epoch", {"bjd0"}, true},  // BJD0 in VizieR
    {"epoch error", {"bjd0_uncert", "e_BJD0"}, false},
    {"period", {"period", "Per"}, true},
    {"period error", {"period_uncert", "e_Per"}, false},
    {"primary width", {"prim_width_pf", "Wp-pf"}, false},
    {"primary depth", {"prim_depth_pf", "Dp-pf"}, false},
    {"primary position", {"prim_pos_pf", "Phip-pf"}, false},
    {"secondary width", {"sec_width_pf", "Ws-pf"}, false},
    {"secondary position", {"sec_pos_pf", "Phis-pf"}, false},
};

enum GaiaField {
  kGaiaSourceId,
  kGaiaRa,
  kGaiaDec,
  kGaiaMagnitude,
  kGaiaReferenceTime,
  kGaiaFrequency,
  kGaiaFrequencyError,
  kGaiaPrimaryPhase,
  kGaiaPrimaryPhaseError,
  kGaiaPrimaryDuration,
  kGaiaPrimaryDepth,
  kGaiaSecondaryPhase,
  kGaiaSecondaryDuration,
};

const SurveyField kGaiaFields[] = {
    {"source_id", {"source_id", "Source"}, true},
    {"ra", {"ra", "RA_ICRS"}, true},
    {"dec", {"dec", "DE_ICRS"}, true},
    {"G magnitude", {"phot_g_mean_mag", "Gmag"}, false},
    {"reference_time", {"reference_time"}, true},
    {"frequency", {"frequency"}, true},
    {"frequency_error", {"frequency_error"}, false},
    {"derived_primary_ecl_phase", {"derived_primary_ecl_phase"}, true},
    {"derived_primary_ecl_phase_error", {"derived_primary_ecl_phase_error"}, false},
    {"derived_primary_ecl_duration", {"derived_primary_ecl_duration"}, false},
    {"derived_primary_ecl_depth", {"derived_primary_ecl_depth"}, false},
    {"derived_secondary_ecl_phase", {"derived_secondary_ecl_phase"}, false},
    {"derived_secondary_ecl_duration", {"derived_secondary_ecl_duration"}, false},
};

/// Gaia's times are days after this Julian Date (BJD in TCB).
constexpr double kGaiaTimeZeroJd = 2455197.5;
/// TESS's BTJD is BJD(TDB) - 2457000; a value below 10000 is one.
constexpr std::int64_t kBtjdZeroJd = 2457000;
constexpr std::int64_t kLargestBtjd = 10000;
/// Gaia's geometric model caps an eclipse at this width in phase: no measurement.
constexpr std::string_view kGaiaDurationCapDigits = "4";  // 0.4, trailing zeros aside
/// Significant digits of an uncertainty worked out from others.
constexpr int kErrorDigits = 3;

std::span<const SurveyField> fields_of(Survey survey) {
  if (survey == Survey::gaia) return kGaiaFields;
  return kTessFields;
}

bool has_any(const std::vector<std::string>& header, const SurveyField& field) {
  for (std::string_view name : field.names) {
    if (find_header(header, name)) return true;
  }
  return false;
}

/// The text of a field; empty also for the archives' marks of a missing value.
std::string text_of(const std::vector<std::string>& row, const SurveyColumns& columns, int field) {
  const std::optional<std::size_t>& at = columns.index[static_cast<std::size_t>(field)];
  if (!at || *at >= row.size()) return {};
  const std::string& text = row[*at];
  for (std::string_view missing : {"--", "nan", "null"}) {
    if (io::same_ignoring_case(text, missing)) return {};
  }
  return text;
}

/// Why a needed number is missing: "no frequency" or "frequency 'x' is not a number".
std::string not_a_number(std::string_view what, const std::string& text) {
  if (text.empty()) return "no " + std::string(what);
  return std::string(what) + " '" + text + "' is not a number";
}

std::optional<long double> number_of(const std::string& text) {
  const std::optional<DecimalText> number = parse_decimal_text(text);
  if (!number || !to_exact(*number)) return std::nullopt;
  return std::strtold(number->text().c_str(), nullptr);
}

/// A fraction of the period as percent of it ("" stays "", another text is given on
/// for the conversion to warn of).
std::string percent_text(const std::string& fraction) {
  const std::optional<DecimalText> number = parse_decimal_text(fraction);
  return number ? times_hundred(*number).text() : fraction;
}

/// The phase of the secondary minimum after the primary, from their phases (modulo 1);
/// empty when either is not a number.
std::string phase_after(const std::string& primary, const std::string& secondary) {
  const std::optional<long double> p = number_of(primary);
  const std::optional<long double> s = number_of(secondary);
  if (!p || !s) return {};
  const long double after = *s - *p;
  return fmt::format("{:.12f}", after - std::floor(after));
}

/// An uncertainty worked out from others, rounded up to kErrorDigits significant
/// digits (an uncertainty is never made smaller); empty when not a number of 0 or more.
std::string error_text(long double days) {
  if (!std::isfinite(days) || days < 0) return {};
  if (days == 0) return "0";
  const long double unit = std::pow(10.0L, std::floor(std::log10(days)) - (kErrorDigits - 1));
  // The relative margin keeps a value already at kErrorDigits digits as it is.
  const long double units = std::ceil(days / unit * (1 - 1e-12L));
  return fmt::format("{:.{}g}", static_cast<double>(units * unit), kErrorDigits);
}

/// A number worked out to a text of at most kElementColumns characters.
std::string element_text(long double value, int decimals) {
  const std::optional<DecimalText> number =
      parse_decimal_text(fmt::format("{:.{}f}", value, decimals));
  return number ? fitted_to_columns(*number, kElementColumns).text() : std::string();
}

std::variant<SourceRecord, std::string> read_tess_row(const std::vector<std::string>& row,
                                                      const SurveyColumns& columns, long number) {
  const auto text = [&](TessField f) { return text_of(row, columns, f); };
  SourceRecord r;
  r.line = number;
  const std::string tic = text(kTessId);
  if (tic.empty()) return std::string("no TIC number");
  r.name = "TIC " + tic;
  r.ra = text(kTessRa);
  r.dec = text(kTessDec);
  r.type = "E";
  r.max.value = text(kTessMagnitude);
  r.max.passband = r.max.value.empty() ? "" : "T";
  // The depth is a fraction of the flux: the minimum is fainter by -2.5 log10(1 - depth).
  if (const auto depth = number_of(text(kTessPrimaryDepth)); depth && *depth > 0 && *depth < 1) {
    r.min.value = fmt::format("{:.3f}", -2.5L * std::log10(1 - *depth));
    r.min.amplitude = true;
    r.min.passband = "T";
  }
  const std::string epoch = text(kTessEpoch);
  const std::optional<DecimalText> written = parse_decimal_text(epoch);
  const std::optional<ExactDecimal> exact = written ? to_exact(*written) : std::nullopt;
  if (!exact) return not_a_number("epoch", epoch);
  const ExactDecimal full =
      compare(*exact, kLargestBtjd) < 0 ? add(*exact, ExactDecimal{kBtjdZeroJd, 0}) : *exact;
  r.epoch = fitted_to_columns(*parse_decimal_text(exact_text(full)), kElementColumns).text();
  r.epoch_error = text(kTessEpochError);
  r.period = text(kTessPeriod);
  if (const auto period = parse_decimal_text(r.period)) {
    r.period = fitted_to_columns(*period, kElementColumns).text();
  }
  r.period_error = text(kTessPeriodError);
  r.duration = percent_text(text(kTessPrimaryWidth));
  r.secondary_duration = percent_text(text(kTessSecondaryWidth));
  r.secondary_phase = phase_after(text(kTessPrimaryPosition), text(kTessSecondaryPosition));
  return r;
}

/// A Gaia duration as percent of the period; empty for the model's cap.
std::string gaia_duration(const std::string& fraction) {
  if (const auto number = parse_decimal_text(fraction)) {
    std::string digits = number->fraction_digits;
    while (!digits.empty() && digits.back() == '0') digits.pop_back();
    if (number->integer_digits.empty() && digits == kGaiaDurationCapDigits) return {};
  }
  return percent_text(fraction);
}

std::variant<SourceRecord, std::string> read_gaia_row(const std::vector<std::string>& row,
                                                      const SurveyColumns& columns, long number) {
  const auto text = [&](GaiaField f) { return text_of(row, columns, f); };
  SourceRecord r;
  r.line = number;
  r.name = text(kGaiaSourceId);
  if (r.name.empty()) return std::string("no source_id");
  r.ra = text(kGaiaRa);
  r.dec = text(kGaiaDec);
  r.type = "E";
  r.max.value = text(kGaiaMagnitude);
  r.max.passband = r.max.value.empty() ? "" : "G";
  // The depth below the mean magnitude, in magnitudes.
  r.min.value = text(kGaiaPrimaryDepth);
  r.min.amplitude = true;
  r.min.passband = "G";

  const std::optional<long double> frequency = number_of(text(kGaiaFrequency));
  if (!frequency) return not_a_number("frequency", text(kGaiaFrequency));
  if (!(*frequency > 0)) return "frequency '" + text(kGaiaFrequency) + "' is not above 0";
  const std::optional<long double> reference = number_of(text(kGaiaReferenceTime));
  if (!reference) return not_a_number("reference_time", text(kGaiaReferenceTime));
  const std::optional<long double> phase = number_of(text(kGaiaPrimaryPhase));
  if (!phase) return not_a_number("derived_primary_ecl_phase", text(kGaiaPrimaryPhase));
  // A primary minimum: the phases count from the reference time (BJD in TCB).
  const long double after_zero = *reference + *phase / *frequency;
  const long double epoch = astro::tdb_jd_of_tcb(kGaiaTimeZeroJd, static_cast<double>(after_zero));
  if (!std::isfinite(epoch)) return std::string("epoch out of range");
  r.epoch = element_text(epoch, 5);
  r.period = element_text(1 / *frequency, 11);
  if (const auto error = number_of(text(kGaiaFrequencyError))) {
    r.period_error = error_text(*error / (*frequency * *frequency));
  }
  if (const auto error = number_of(text(kGaiaPrimaryPhaseError))) {
    r.epoch_error = error_text(*error / *frequency);
  }
  r.duration = gaia_duration(text(kGaiaPrimaryDuration));
  r.secondary_duration = gaia_duration(text(kGaiaSecondaryDuration));
  r.secondary_phase = phase_after(text(kGaiaPrimaryPhase), text(kGaiaSecondaryPhase));
  return r;
}

}  // namespace

std::optional<Survey> survey_of_header(const std::vector<std::string>& header) {
  const auto has = [&](const SurveyField& field) { return has_any(header, field); };
  if (has(kGaiaFields[kGaiaReferenceTime]) && has(kGaiaFields[kGaiaFrequency]) &&
      has(kGaiaFields[kGaiaPrimaryPhase])) {
    return Survey::gaia;
  }
  if (has(kTessFields[kTessEpoch]) && has(kTessFields[kTessPrimaryWidth])) return Survey::tess;
  return std::nullopt;
}

std::variant<SurveyColumns, std::string> map_survey_columns(
    Survey survey, const std::vector<std::string>& header) {
  SurveyColumns columns;
  columns.survey = survey;
  columns.header_fields = header.size();
  for (const SurveyField& field : fields_of(survey)) {
    std::optional<std::size_t> at;
    for (auto name = field.names.begin(); !at && name != field.names.end(); ++name) {
      at = find_header(header, *name);
    }
    if (!at && field.needed) {
      std::string looked;
      for (std::string_view name : field.names) {
        looked += (looked.empty() ? "" : ", ") + std::string(name);
      }
      return fmt::format("no {} column of a {} table (looked for {})", field.what,
                         survey == Survey::gaia ? "Gaia" : "TESS", looked);
    }
    columns.index.push_back(at);
  }
  return columns;
}

std::variant<SourceRecord, std::string> read_survey_row(const std::vector<std::string>& fields,
                                                        const SurveyColumns& columns, long number) {
  if (fields.size() > columns.header_fields) {
    return fmt::format("row has {} fields, the header {}", fields.size(), columns.header_fields);
  }
  if (columns.survey == Survey::gaia) return read_gaia_row(fields, columns, number);
  return read_tess_row(fields, columns, number);
}

}  // namespace starimport
