#pragma once
/// The command-line options for today's sky, the same in every program that takes them.

#include "astro/catalogue.h"
#include "astro/cli.h"
#include "astro/ephemeris.h"

namespace astro {

inline constexpr OptionSpec kSunBelowOption{
    "sun-below", "DEG", "the Sun below DEG: -90..90, civil, nautical, astronomical"};
inline constexpr OptionSpec kMoonDistanceOption{"moon-distance", "DEG",
                                                "drop minima with the Moon up within DEG (0..180)"};
inline constexpr OptionSpec kEpochsOption{
    "epochs", "SCALE", "time scale of star.dat's epochs: jd, hjd (UTC), bjd (TDB)"};
inline constexpr OptionSpec kOfDateOption{"of-date", "", "altitudes of the apparent place of date"};

/// The options for today's sky that `options` holds (those a program does not list
/// are never given). Throws UsageError naming the option and the value at fault.
SkyOptions sky_options(const Options& options);

/// A catalogue star's position taken as ICRS (J2000), radians, double precision.
struct IcrsPosition {
  double ra_rad = 0;
  double dec_rad = 0;
};
IcrsPosition icrs_position(const StarRecord& star);

}  // namespace astro
