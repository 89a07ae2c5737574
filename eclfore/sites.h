#pragma once
/// The observing sites of the forecast: the built-in table and its menu numbers.

#include <optional>
#include <string_view>

namespace eclfore {

/// Where the observer stands.
struct ObservingSite {
  float longitude_deg = 0;  ///< degrees, east positive
  float latitude_deg = 0;   ///< degrees, north positive
};

/// The site before the dialogue sets one.
inline constexpr ObservingSite kInitialSite{140.0f, 35.0f};

/// The site-menu answer that asks for a typed longitude and latitude.
inline constexpr float kNumericSiteAnswer = 99.0f;

/// The site menu, printed before every "no = " question.
inline constexpr std::string_view kSiteMenu =
    "\nlocation\n"
    " 1:sapporo   2:sendai     3:tokyo\n"
    " 4:niigata   5:kaznazawa  6:nagoya\n"
    " 7:oosaka    8:hirosima   9:kochi\n"
    "10:fukuoka  11:okinawa   99:numeric input\n";

/// The built-in site of a menu number 1 to 11; nothing for any other number.
std::optional<ObservingSite> site_for_menu_number(int number);

}  // namespace eclfore
