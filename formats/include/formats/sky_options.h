#pragma once
/// The command-line options for today's sky, defined once for every program that takes
/// them: their names, value names and help lines, and the reading of the texts a user
/// types into the astro::SkyOptions they stand for. They stand here, beside the files'
/// layouts, as the other part of what the programs show the user: astro knows no option
/// text and io no astronomy.

#include <optional>
#include <string_view>

#include "astro/ephemeris.h"
#include "io/cli.h"

namespace formats {

inline constexpr io::OptionSpec kSunBelowOption{
    "sun-below", "DEG", "the Sun below DEG: -90..90, civil, nautical, astronomical"};
inline constexpr io::OptionSpec kMoonDistanceOption{
    "moon-distance", "DEG", "drop minima with the Moon up within DEG (0..180)"};
inline constexpr io::OptionSpec kEpochsOption{
    "epochs", "SCALE", "time scale of star.dat's epochs: jd, hjd (UTC), bjd (TDB)"};
inline constexpr io::OptionSpec kOfDateOption{"of-date", "",
                                              "altitudes of the apparent place of date"};

/// The options for today's sky that `options` holds (those a program does not list
/// are never given). Throws UsageError naming the option and the value at fault.
astro::SkyOptions sky_options(const io::Options& options);

/// The scale named "jd", "hjd" or "bjd"; nothing for any other text.
std::optional<astro::EpochScale> parse_epoch_scale(std::string_view text);

/// A --sun-below value: "civil", "nautical", "astronomical" or a number of degrees
/// from -90 to 90, both ends included. Nothing for anything else.
std::optional<double> parse_sun_below(std::string_view text);

/// A --moon-distance value: a number of degrees from 0 to 180, both ends included.
/// Nothing for anything else.
std::optional<double> parse_moon_distance(std::string_view text);

}  // namespace formats
