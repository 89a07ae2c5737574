#include "conversion.h"

#include <algorithm>

#include "io/text.h"

namespace starimport {
namespace {

Conversion refuse(std::string reason) {
  Conversion c;
  c.refusal = std::move(reason);
  return c;
}

}  // namespace

bool is_eclipsing_type(std::string_view type) {
  const std::string_view code = main_type(type);
  std::string_view codes = kEclipsingTypes;
  while (!codes.empty()) {
    const std::size_t comma = codes.find(',');
    if (io::same_ignoring_case(codes.substr(0, comma), code)) return true;
    codes = comma == std::string_view::npos ? std::string_view() : codes.substr(comma + 1);
  }
  return false;
}

bool type_selected(std::string_view type, const std::vector<std::string>& types) {
  if (types.empty()) return true;
  const std::string_view code = main_type(type);
  return std::any_of(types.begin(), types.end(),
                     [&](const std::string& t) { return io::same_ignoring_case(t, code); });
}

Conversion convert_record(const SourceRecord& record, const ConversionSettings& settings) {
  bool cut = false;
  std::string name = normalise_name(record.name, cut);
  if (name.empty()) return refuse("no name");
  if (!type_selected(record.type, settings.types)) {
    const std::string_view type = trim(record.type);
    return refuse(type.empty() ? "no type, so not selected"
                               : "type " + std::string(type) + " not selected");
  }
  Converted<std::string> epoch = convert_epoch(record.epoch);
  if (!epoch.value) return refuse(epoch.problem);
  Converted<std::string> period = convert_period(record.period, record.period_limit);
  if (!period.value) return refuse(period.problem);
  const Converted<RoundedRa> ra = convert_ra(record.ra);
  if (!ra.value) return refuse(ra.problem);
  const Converted<RoundedDec> dec = convert_dec(record.dec);
  if (!dec.value) return refuse(dec.problem);

  Conversion c;
  if (cut) {
    c.warnings.push_back("name '" + std::string(trim(record.name)) +
                         "' is longer than 20 characters; cut to '" + std::string(name) + "'");
  }
  RoundedMagnitudes magnitudes = convert_magnitudes(record.max, record.min, settings.passband);
  c.warnings.insert(c.warnings.end(), magnitudes.warnings.begin(), magnitudes.warnings.end());
  StarLine& line = c.line.emplace();
  line.name = std::move(name);
  line.epoch = std::move(*epoch.value);
  line.period = std::move(*period.value);
  line.ra = *ra.value;
  line.dec = *dec.value;
  line.var_type = std::string(main_type(record.type).substr(0, 2));
  // A control byte would move the columns after it.
  for (char& ch : line.var_type) {
    if (static_cast<unsigned char>(ch) < ' ') ch = '?';
  }
  line.max_tenths = magnitudes.max_tenths;
  line.min_tenths = magnitudes.min_tenths;
  line.select_flag = settings.select_flag;
  line.label = settings.label;

  formats::StarExtension& extension = line.extension;
  const Converted<double> duration = convert_duration(record.duration, line.period);
  extension.eclipse_duration_pct = duration.value;
  Converted<double> secondary_duration = convert_duration(record.secondary_duration, line.period);
  if (!secondary_duration.problem.empty()) {
    secondary_duration.problem = "secondary " + secondary_duration.problem;
  }
  extension.secondary_duration_pct = secondary_duration.value;
  const Converted<double> secondary_phase = convert_secondary_phase(record.secondary_phase);
  extension.secondary_phase = secondary_phase.value;
  const Converted<double> epoch_error =
      convert_error(record.epoch_error, "epoch error", formats::star_line::kEpochError.width);
  extension.epoch_error_days = epoch_error.value;
  const Converted<double> period_error =
      convert_error(record.period_error, "period error", formats::star_line::kPeriodError.width);
  extension.period_error_days = period_error.value;
  for (const std::string* problem : std::initializer_list<const std::string*>{
           &duration.problem, &secondary_duration.problem, &secondary_phase.problem,
           &epoch_error.problem, &period_error.problem}) {
    if (!problem->empty()) c.warnings.push_back(*problem);
  }
  extension.time_scale = settings.time_scale;
  return c;
}

}  // namespace starimport
