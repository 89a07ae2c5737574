#pragma once
/// The observing site of the forecast: the site menu and the site before the dialogue.

#include <string_view>

#include "astro/sites.h"

namespace eclfore {

using astro::ObservingSite;
using astro::site_for_menu_number;

/// The site before the dialogue sets one.
inline constexpr ObservingSite kInitialSite{140.0f, 35.0f};

/// The site-menu answer that asks for a typed longitude and latitude.
inline constexpr float kNumericSiteAnswer = 99.0f;

/// The site menu, printed before every "no = " question ("kaznazawa" is the menu's own
/// spelling, kept on purpose).
inline constexpr std::string_view kSiteMenu =
    "\nlocation\n"
    " 1:sapporo   2:sendai     3:tokyo\n"
    " 4:niigata   5:kaznazawa  6:nagoya\n"
    " 7:oosaka    8:hirosima   9:kochi\n"
    "10:fukuoka  11:okinawa   99:numeric input\n";

}  // namespace eclfore
