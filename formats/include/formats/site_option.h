#pragma once
/// The --site option of the programs that compute altitudes: its name, value name and
/// help line, and the reading of the text a user types into the site it stands for.

#include <optional>
#include <string_view>

#include "astro/sites.h"
#include "io/cli.h"

namespace formats {

inline constexpr io::OptionSpec kSiteOption{
    "site", "SITE", "observing site: number 1-11, place name, or LON,LAT (degrees E, N)"};

/// A --site value, the place as the dialogue's typed answers store it (single
/// precision, the decimal text rounded straight to float):
///  - a number 1 to 11, the row of astro::kSiteTable so numbered (the forecast's menu);
///  - a place name of the table, in lower case ("okinawa");
///  - "LON,LAT", degrees east from -180 to 360 and degrees north from -90 to 90.
/// A name or number gives the table's row with its name; LON,LAT gives no name.
/// Throws io::UsageError "--site=VALUE: what is wrong" for anything else.
astro::NamedSite parse_site(std::string_view text);

/// The site `options` names with --site, or nothing when it is not given. Throws as
/// parse_site.
std::optional<astro::NamedSite> site_option(const io::Options& options);

}  // namespace formats
