#include "astro/sky_options.h"

#include <string>

#include "astro/constants.h"
#include "astro/message_text.h"

namespace astro {
namespace {

[[noreturn]] void bad_value(const OptionSpec& spec, const std::string& value,
                            std::string_view wanted) {
  throw UsageError("--" + std::string(spec.name) + "=" + escape_for_message(value) + ": " +
                   std::string(wanted));
}

}  // namespace

SkyOptions sky_options(const Options& options) {
  SkyOptions sky;
  if (const auto value = options.value(kSunBelowOption.name)) {
    sky.sun_below_deg = parse_sun_below(*value);
    if (!sky.sun_below_deg) {
      bad_value(kSunBelowOption, *value,
                "wants degrees from -90 to 90, civil, nautical or astronomical");
    }
  }
  if (const auto value = options.value(kMoonDistanceOption.name)) {
    sky.moon_distance_deg = parse_moon_distance(*value);
    if (!sky.moon_distance_deg)
      bad_value(kMoonDistanceOption, *value, "wants degrees from 0 to 180");
  }
  if (const auto value = options.value(kEpochsOption.name)) {
    const auto scale = parse_epoch_scale(*value);
    if (!scale) bad_value(kEpochsOption, *value, "wants jd, hjd or bjd");
    sky.epochs = *scale;
  }
  sky.of_date = options.has(kOfDateOption.name);
  return sky;
}

IcrsPosition icrs_position(const StarRecord& star) {
  return {static_cast<double>(star.ra_hours) * (kPi / 12),
          static_cast<double>(star.dec_degrees) * (kPi / 180)};
}

}  // namespace astro
