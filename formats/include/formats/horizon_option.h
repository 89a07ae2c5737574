#pragma once
/// The --horizon option of the programs that compute altitudes: its name, value name and
/// help line, and the reading of the horizon file it names.
///
/// A horizon file holds one point of the observer's skyline a line, `AZIMUTH ALTITUDE`
/// in degrees, the azimuth from north through east (0 to 360), the altitude from -90 to
/// 90, the two numbers apart by blanks or tabs. Blank lines and lines whose first
/// character after any blanks is '#' are left out; at least one point is needed.

#include <optional>
#include <string>

#include "astro/horizon_profile.h"
#include "io/cli.h"

namespace formats {

inline constexpr io::OptionSpec kHorizonOption{
    "horizon", "FILE", "your skyline: lines AZIMUTH ALTITUDE (degrees, azimuth from N via E)"};

/// The skyline of the horizon file `path`. Throws io::RunError "FILE:LINE: what is
/// wrong" for a line that is not two numbers in range, "FILE: ..." for a file without a
/// point, and the reader's own error for a file that cannot be read.
astro::HorizonProfile read_horizon_file(const std::string& path);

/// The skyline of the file `options` names with --horizon, or nothing when it is not
/// given. Throws io::UsageError for an empty file name, as read_horizon_file otherwise.
std::optional<astro::HorizonProfile> horizon_option(const io::Options& options);

}  // namespace formats
