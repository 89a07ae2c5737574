#pragma once
/// The observing site of the forecast: the site menu and the site before the dialogue.

#include <optional>
#include <string_view>

#include "astro/sites.h"

namespace eclfore {

using astro::ObservingSite;

/// Tokyo's number in the site menu.
inline constexpr int kTokyoMenuNumber = 3;
static_assert(astro::kTokyoRow == kTokyoMenuNumber - 1, "the menu numbers the site table's rows");

/// The site of a menu number 1 to 11 (the rows of the site table); nothing for any other
/// number.
inline std::optional<ObservingSite> site_for_menu_number(int number) {
  if (const auto row = astro::numbered_site(number)) return row->site;
  return std::nullopt;
}

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
