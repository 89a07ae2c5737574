#pragma once
/// The observing sites built into the toolset: a table of eleven Japanese cities, and
/// the built-in site (Tokyo, one of them) for a computation that is given none.

#include <array>
#include <cstddef>

namespace astro {

/// Where the observer stands.
struct ObservingSite {
  float longitude_deg = 0;  ///< degrees, east positive
  float latitude_deg = 0;   ///< degrees, north positive
};

/// The poles' latitude, degrees: every site lies from -90 (south) to +90 (north).
inline constexpr float kPoleLatitudeDeg = 90.0f;

/// The sites from north-east to south-west, in the order of the forecast's menu; degrees
/// east and north.
inline constexpr std::array<ObservingSite, 11> kSiteTable{{
    {141.35f, 43.07f},  // sapporo
    {140.87f, 38.27f},  // sendai
    {139.77f, 35.67f},  // tokyo
    {139.03f, 37.92f},  // niigata
    {136.65f, 36.57f},  // kanazawa
    {136.90f, 35.18f},  // nagoya
    {135.48f, 34.70f},  // osaka
    {132.45f, 34.38f},  // hiroshima
    {133.53f, 33.57f},  // kochi
    {130.40f, 33.58f},  // fukuoka
    {127.68f, 26.22f},  // okinawa
}};

/// Tokyo's row of kSiteTable.
inline constexpr std::size_t kTokyoRow = 2;

/// The site of a computation that is given none: Tokyo, 139.77 E, 35.67 N.
inline constexpr ObservingSite kBuiltInSite = kSiteTable[kTokyoRow];

}  // namespace astro
