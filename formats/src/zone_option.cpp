#include "formats/zone_option.h"

#include <optional>

#include "astro/constants.h"
#include "option_values.h"

namespace formats {
namespace {

/// The widest offsets in use (UTC-12:00 to UTC+14:00), kept to whole hours of 0 to 14.
constexpr int kMostOffsetHours = 14;
using astro::kMinutesPerHour;
using astro::kSecondsPerMinute;

/// Two decimal digits, or nothing.
std::optional<int> two_digits(std::string_view text) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9') {
    return std::nullopt;
  }
  return (text[0] - '0') * 10 + (text[1] - '0');
}

}  // namespace

astro::CivilClock parse_zone(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    const std::optional<int> hours =
        text.size() == 6 && text[3] == ':' ? two_digits(text.substr(1, 2)) : std::nullopt;
    const std::optional<int> minutes = hours ? two_digits(text.substr(4, 2)) : std::nullopt;
    if (!hours || !minutes) {
      refuse_option_value(kZoneOption, text, "a fixed offset is +HH:MM or -HH:MM (+09:00)");
    }
    if (*minutes >= kMinutesPerHour) {
      refuse_option_value(kZoneOption, text, "the minutes of an offset run from 00 to 59");
    }
    if (*hours * kMinutesPerHour + *minutes > kMostOffsetHours * kMinutesPerHour) {
      refuse_option_value(kZoneOption, text, "an offset runs from -14:00 to +14:00");
    }
    const int seconds = (*hours * kMinutesPerHour + *minutes) * kSecondsPerMinute;
    return astro::CivilClock::fixed(text.front() == '-' ? -seconds : seconds);
  }
  if (!text.empty()) {
    if (const std::optional<astro::CivilClock> zone = astro::CivilClock::zone(text)) return *zone;
  }
  refuse_option_value(kZoneOption, text,
                      "no such zone in the time-zone database (/usr/share/zoneinfo): give a "
                      "name such as Europe/London or an offset such as +09:00");
}

astro::CivilClock zone_option(const io::Options& options) {
  if (const auto value = options.value(kZoneOption.name)) return parse_zone(*value);
  return astro::CivilClock{};
}

}  // namespace formats
