#pragma once
/// The --zone option of every program: the clock of every time typed or written.

#include <string_view>

#include "astro/civil_clock.h"
#include "io/cli.h"

namespace formats {

inline constexpr io::OptionSpec kZoneOption{
    "zone", "ZONE", "clock of all times: +HH:MM, -HH:MM or a zone name (default JST)"};

/// A --zone value: a fixed offset "+HH:MM" or "-HH:MM" (hours 0 to 14, minutes 0 to 59),
/// or the name of a zone of the system's time-zone database ("Europe/London").
/// Throws io::UsageError "--zone=VALUE: what is wrong" for anything else.
astro::CivilClock parse_zone(std::string_view text);

/// The clock `options` names with --zone; JST when it is not given. Throws as
/// parse_zone.
astro::CivilClock zone_option(const io::Options& options);

}  // namespace formats
