#include "formats/answer_options.h"

#include <limits>

#include <fmt/format.h>

#include "option_values.h"

namespace formats {
namespace {

/// Digits of a clock time's hour (at most) and minute.
constexpr std::size_t kHourDigits = 2;
constexpr std::size_t kMinuteDigits = 2;
constexpr int kLastMinute = 59;

bool all_digits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

}  // namespace

bool quiet_option(const io::Options& options) { return options.has(kQuietOption.name); }

int whole_number_option(const io::OptionSpec& option, std::string_view text, int lowest,
                        int highest) {
  const auto value = parse_option_number<int>(text);
  if (!value || *value < lowest || *value > highest) {
    refuse_option_value(option, text,
                        highest == std::numeric_limits<int>::max()
                            ? fmt::format("wants a whole number, {} or more", lowest)
                            : fmt::format("wants a whole number from {} to {}", lowest, highest));
  }
  return *value;
}

float decimal_option(const io::OptionSpec& option, std::string_view text, float lowest,
                     float highest) {
  const auto value = parse_option_number<float>(text);
  if (!value || *value < lowest || *value > highest) {
    refuse_option_value(option, text, fmt::format("wants a number from {} to {}", lowest, highest));
  }
  return *value;
}

ClockTime clock_time_option(const io::OptionSpec& option, std::string_view text, int first_hour,
                            int last_hour) {
  const std::size_t colon = text.find(':');
  const std::string_view hour_text = text.substr(0, colon);
  const std::string_view minute_text =
      colon == std::string_view::npos ? std::string_view() : text.substr(colon + 1);
  if (all_digits(hour_text) && hour_text.size() <= kHourDigits && all_digits(minute_text) &&
      minute_text.size() == kMinuteDigits) {
    const ClockTime time{*parse_option_number<int>(hour_text),
                         *parse_option_number<int>(minute_text)};
    if (time.hour >= first_hour && time.hour <= last_hour && time.minute <= kLastMinute) {
      return time;
    }
  }
  refuse_option_value(
      option, text,
      fmt::format("wants HH:MM, the hour {} to {}, the minute 00 to 59", first_hour, last_hour));
}

}  // namespace formats
