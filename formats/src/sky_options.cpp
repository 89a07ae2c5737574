#include "formats/sky_options.h"

#include <string>

#include "option_values.h"

namespace formats {
namespace {

/// The degree limits of the options, both ends included.
constexpr double kSunBelowLimitDeg = 90;
constexpr double kMoonDistanceMaxDeg = 180;

}  // namespace

astro::SkyOptions sky_options(const io::Options& options) {
  astro::SkyOptions sky;
  if (const auto value = options.value(kSunBelowOption.name)) {
    sky.sun_below_deg = parse_sun_below(*value);
    if (!sky.sun_below_deg) {
      refuse_option_value(kSunBelowOption, *value,
                          "wants degrees from -90 to 90, civil, nautical or astronomical");
    }
  }
  if (const auto value = options.value(kMoonDistanceOption.name)) {
    sky.moon_distance_deg = parse_moon_distance(*value);
    if (!sky.moon_distance_deg)
      refuse_option_value(kMoonDistanceOption, *value, "wants degrees from 0 to 180");
  }
  if (const auto value = options.value(kEpochsOption.name)) {
    const auto scale = parse_epoch_scale(*value);
    if (!scale) refuse_option_value(kEpochsOption, *value, "wants jd, hjd or bjd");
    sky.epochs = *scale;
  }
  sky.of_date = options.has(kOfDateOption.name);
  return sky;
}

std::optional<astro::EpochScale> parse_epoch_scale(std::string_view text) {
  if (text == "jd") return astro::EpochScale::kJd;
  if (text == "hjd") return astro::EpochScale::kHjd;
  if (text == "bjd") return astro::EpochScale::kBjd;
  return std::nullopt;
}

std::optional<double> parse_sun_below(std::string_view text) {
  if (text == "civil") return astro::kCivilTwilightDeg;
  if (text == "nautical") return astro::kNauticalTwilightDeg;
  if (text == "astronomical") return astro::kAstronomicalTwilightDeg;
  const auto value = parse_option_number<double>(text);
  if (!value || *value < -kSunBelowLimitDeg || *value > kSunBelowLimitDeg) return std::nullopt;
  return value;
}

std::optional<double> parse_moon_distance(std::string_view text) {
  const auto value = parse_option_number<double>(text);
  if (!value || *value < 0 || *value > kMoonDistanceMaxDeg) return std::nullopt;
  return value;
}

}  // namespace formats
