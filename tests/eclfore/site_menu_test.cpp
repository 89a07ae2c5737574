// The site menu's numbers and the rows of the site table behind them.
#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <utility>

#include "sites.h"

namespace {

// What a fault in the table or its look-up would break: a row with longitude and
// latitude swapped or of the wrong sign, a row repeated, a number off by one. The
// values themselves reach every output and are compared byte for byte by the case
// folders (eclfore's site_3_9_is_tokyo and site_99_numeric_input agree).
TEST(Sites, EachMenuNumberHasItsOwnSiteInJapanAndNoOtherNumberHasOne) {
  std::set<std::pair<float, float>> seen;
  for (int number = 1; number <= 11; ++number) {
    const auto site = eclfore::site_for_menu_number(number);
    ASSERT_TRUE(site) << number;
    // Japan lies within 122 to 154 degrees east and 20 to 46 degrees north.
    EXPECT_TRUE(site->longitude_deg > 122 && site->longitude_deg < 154) << number;
    EXPECT_TRUE(site->latitude_deg > 20 && site->latitude_deg < 46) << number;
    EXPECT_TRUE(seen.insert({site->longitude_deg, site->latitude_deg}).second) << number;
  }
  for (int outside :
       {0, -1, 12, 99, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()}) {
    EXPECT_FALSE(eclfore::site_for_menu_number(outside)) << outside;
  }
}

TEST(Sites, TokyoIsTheBuiltInSite) {
  const auto tokyo = eclfore::site_for_menu_number(eclfore::kTokyoMenuNumber);
  ASSERT_TRUE(tokyo);
  EXPECT_EQ(tokyo->longitude_deg, astro::kBuiltInSite.longitude_deg);
  EXPECT_EQ(tokyo->latitude_deg, astro::kBuiltInSite.latitude_deg);
}

}  // namespace
