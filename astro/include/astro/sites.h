#pragma once
/// The observing sites built into the toolset: a table of eleven Japanese cities, and
/// the built-in site (Tokyo, one of them) for a computation that is given none.

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace astro {

/// Where the observer stands.
struct ObservingSite {
  float longitude_deg = 0;  ///< degrees, east positive
  float latitude_deg = 0;   ///< degrees, north positive
};

/// The poles' latitude, degrees: every site lies from -90 (south) to +90 (north).
inline constexpr float kPoleLatitudeDeg = 90.0f;

/// A site of the table and its place name, spelled correctly and in lower case (the
/// forecast's menu keeps its own spellings).
struct NamedSite {
  std::string_view name;
  ObservingSite site;
};

/// The sites from north-east to south-west, in the order of the forecast's menu; degrees
/// east and north.
inline constexpr std::array<NamedSite, 11> kSiteTable{{
    {"sapporo", {141.35f, 43.07f}},
    {"sendai", {140.87f, 38.27f}},
    {"tokyo", {139.77f, 35.67f}},
    {"niigata", {139.03f, 37.92f}},
    {"kanazawa", {136.65f, 36.57f}},
    {"nagoya", {136.90f, 35.18f}},
    {"osaka", {135.48f, 34.70f}},
    {"hiroshima", {132.45f, 34.38f}},
    {"kochi", {133.53f, 33.57f}},
    {"fukuoka", {130.40f, 33.58f}},
    {"okinawa", {127.68f, 26.22f}},
}};

/// The row of kSiteTable numbered `number`, counting from 1 (the forecast's menu numbers
/// them so); nothing for a number outside 1 to 11.
constexpr std::optional<NamedSite> numbered_site(int number) {
  if (number < 1 || number > static_cast<int>(kSiteTable.size())) return std::nullopt;
  return kSiteTable[static_cast<std::size_t>(number - 1)];
}

/// Tokyo's row of kSiteTable.
inline constexpr std::size_t kTokyoRow = 2;

/// The site of a computation that is given none: Tokyo, 139.77 E, 35.67 N.
inline constexpr ObservingSite kBuiltInSite = kSiteTable[kTokyoRow].site;

}  // namespace astro
