#include "sites.h"

#include <array>

namespace eclfore {
namespace {

/// Menu numbers 1 to 11, in order; degrees east and north.
constexpr std::array<ObservingSite, 11> kSites{{
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

}  // namespace

std::optional<ObservingSite> site_for_menu_number(int number) {
  if (number < 1 || number > static_cast<int>(kSites.size())) return std::nullopt;
  return kSites[static_cast<std::size_t>(number - 1)];
}

}  // namespace eclfore
