#include "formats/horizon_option.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

#include <fmt/format.h>

#include "io/message_text.h"
#include "io/run_error.h"
#include "io/text_files.h"
#include "option_values.h"

namespace formats {
namespace {

constexpr double kFullTurnDeg = 360.0;
constexpr double kZenithDeg = 90.0;
constexpr std::string_view kBlanks = " \t";

/// The next field of `rest` (up to a blank or a tab), taken off it with the blanks before.
std::string_view next_field(std::string_view& rest) {
  rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
  const std::size_t end = std::min(rest.find_first_of(kBlanks), rest.size());
  const std::string_view field = rest.substr(0, end);
  rest.remove_prefix(end);
  return field;
}

[[noreturn]] void refuse_line(const io::LineReader& reader, std::string_view what) {
  throw io::RunError(
      fmt::format("{}:{}: {}", io::escape_for_message(reader.path()), reader.line_number(), what));
}

}  // namespace

astro::HorizonProfile read_horizon_file(const std::string& path) {
  io::LineReader reader(path);
  std::vector<astro::HorizonPoint> points;
  std::string line;
  while (reader.next(line)) {
    std::string_view rest(line);
    rest.remove_prefix(std::min(rest.find_first_not_of(kBlanks), rest.size()));
    if (rest.empty() || rest.front() == '#') continue;
    const std::string_view azimuth_text = next_field(rest);
    const std::string_view altitude_text = next_field(rest);
    const std::string_view extra = next_field(rest);
    const auto azimuth = parse_option_number<double>(azimuth_text);
    const auto altitude = parse_option_number<double>(altitude_text);
    if (!azimuth || !altitude || !extra.empty()) {
      refuse_line(reader, fmt::format("'{}' is not AZIMUTH ALTITUDE (two numbers of degrees)",
                                      io::escape_for_message(line)));
    }
    if (*azimuth < 0 || *azimuth > kFullTurnDeg) {
      refuse_line(reader, fmt::format("azimuth {} is not from 0 to 360 degrees",
                                      io::escape_for_message(azimuth_text)));
    }
    if (std::fabs(*altitude) > kZenithDeg) {
      refuse_line(reader, fmt::format("altitude {} is not from -90 to 90 degrees",
                                      io::escape_for_message(altitude_text)));
    }
    points.push_back({*azimuth, *altitude});
  }
  if (points.empty()) {
    throw io::RunError(fmt::format("{}: holds no point of the skyline (lines AZIMUTH ALTITUDE)",
                                   io::escape_for_message(path)));
  }
  return astro::horizon_profile(std::move(points));
}

std::optional<astro::HorizonProfile> horizon_option(const io::Options& options) {
  const auto value = options.value(kHorizonOption.name);
  if (!value) return std::nullopt;
  if (value->empty()) refuse_option_value(kHorizonOption, *value, "wants the horizon file's name");
  return read_horizon_file(*value);
}

}  // namespace formats
