#include "formats/site_option.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include <fmt/format.h>

#include "io/message_text.h"
#include "option_values.h"

namespace formats {
namespace {

/// The longitudes a typed site may have, degrees east: west of Greenwich counted either
/// way, -180 up or 180 to 360.
constexpr float kWestmostLongitudeDeg = -180.0f;
constexpr float kEastmostLongitudeDeg = 360.0f;

/// The whole text as a number of digits alone, or nothing.
std::optional<int> parse_row_number(std::string_view text) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || text.front() == '-' || error != std::errc() ||
      end != text.data() + text.size()) {
    return std::nullopt;
  }
  return value;
}

std::string place_names() {
  std::string names;
  for (const astro::NamedSite& row : astro::kSiteTable) {
    if (!names.empty()) names += ", ";
    names += row.name;
  }
  return names;
}

}  // namespace

astro::NamedSite parse_site(std::string_view text) {
  const auto by_name = std::find_if(astro::kSiteTable.begin(), astro::kSiteTable.end(),
                                    [&](const astro::NamedSite& row) { return row.name == text; });
  if (by_name != astro::kSiteTable.end()) return *by_name;
  if (const auto number = parse_row_number(text)) {
    if (const auto row = astro::numbered_site(*number)) return *row;
    refuse_option_value(
        kSiteOption, text,
        fmt::format("no site is numbered {} (1 to {})", *number, astro::kSiteTable.size()));
  }
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) {
    refuse_option_value(kSiteOption, text,
                        fmt::format("wants a number 1 to {}, a place name ({}) or LON,LAT (degrees "
                                    "east, degrees north)",
                                    astro::kSiteTable.size(), place_names()));
  }
  const auto longitude = parse_option_number<float>(text.substr(0, comma));
  const auto latitude = parse_option_number<float>(text.substr(comma + 1));
  if (!longitude || !latitude) {
    refuse_option_value(kSiteOption, text,
                        "wants LON,LAT: two numbers of degrees (east, north) and a comma between");
  }
  if (*longitude < kWestmostLongitudeDeg || *longitude > kEastmostLongitudeDeg) {
    refuse_option_value(kSiteOption, text, "longitude must be from -180 to 360 degrees");
  }
  if (std::fabs(*latitude) > astro::kPoleLatitudeDeg) {
    refuse_option_value(kSiteOption, text, "latitude must be from -90 to 90 degrees");
  }
  return {"", {*longitude, *latitude}};
}

std::optional<astro::NamedSite> site_option(const io::Options& options) {
  if (const auto value = options.value(kSiteOption.name)) return parse_site(*value);
  return std::nullopt;
}

}  // namespace formats
