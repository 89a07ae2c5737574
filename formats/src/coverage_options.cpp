#include "formats/coverage_options.h"

#include <string>

#include "option_values.h"

namespace formats {
namespace {

constexpr double kMostPercent = 100;
/// A baseline of more than a day would reach into other nights: no observer asks for it.
constexpr double kMostBaselineMinutes = 1440;

}  // namespace

std::optional<CoverageOptions> coverage_options(const io::Options& options) {
  const std::optional<std::string> coverage = options.value(kCoverageOption.name);
  const std::optional<std::string> baseline = options.value(kBaselineOption.name);
  if (!coverage) {
    if (baseline) {
      refuse_option_value(kBaselineOption, *baseline, "is asked only with --coverage");
    }
    return std::nullopt;
  }
  CoverageOptions result;
  const auto least = parse_option_number<double>(*coverage);
  if (!least || *least < 0 || *least > kMostPercent) {
    refuse_option_value(kCoverageOption, *coverage, "wants a percentage from 0 to 100");
  }
  result.least_pct = *least;
  if (baseline) {
    const auto minutes = parse_option_number<double>(*baseline);
    if (!minutes || *minutes < 0 || *minutes > kMostBaselineMinutes) {
      refuse_option_value(kBaselineOption, *baseline, "wants minutes from 0 to 1440");
    }
    result.baseline_min = *minutes;
  }
  return result;
}

}  // namespace formats
