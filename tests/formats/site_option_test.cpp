// The --site values and the sites they stand for.
#include "formats/site_option.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string message_of(std::string_view text) {
  try {
    formats::parse_site(text);
  } catch (const io::UsageError& e) {
    return e.what();
  }
  return "(accepted)";
}

// Numbers and names both reach the table's rows: a number off by one or a name on the
// wrong row would move every altitude to another city.
TEST(SiteOption, NumbersAndNamesGiveTheTablesRows) {
  for (int number = 1; number <= 11; ++number) {
    const astro::NamedSite& row = astro::kSiteTable[static_cast<std::size_t>(number - 1)];
    const astro::NamedSite by_number = formats::parse_site(std::to_string(number));
    const astro::NamedSite by_name = formats::parse_site(row.name);
    EXPECT_EQ(by_number.name, row.name) << number;
    EXPECT_EQ(by_name.site.longitude_deg, row.site.longitude_deg) << row.name;
    EXPECT_EQ(by_name.site.latitude_deg, row.site.latitude_deg) << row.name;
    EXPECT_EQ(by_number.site.longitude_deg, row.site.longitude_deg) << number;
  }
  EXPECT_EQ(formats::parse_site("okinawa").site.latitude_deg, 26.22f);
  EXPECT_EQ(formats::parse_site("3").site.longitude_deg, astro::kBuiltInSite.longitude_deg);
  EXPECT_EQ(formats::parse_site("03").name, "tokyo");
}

// A typed site is stored as the dialogue's "%f" stores it: the decimal rounded straight
// to float, not by way of a double.
TEST(SiteOption, LongitudeAndLatitudeAreRoundedOnceToFloat) {
  const astro::NamedSite london = formats::parse_site("-0.13,51.48");
  EXPECT_EQ(london.name, "");
  EXPECT_EQ(london.site.longitude_deg, -0.13f);
  EXPECT_EQ(london.site.latitude_deg, 51.48f);
  // 1 + 2^-24 lies exactly halfway between two floats; a 1 in the 25th decimal puts this
  // text above it. Through a double it would land on the halfway point and round to the
  // even float below.
  EXPECT_EQ(formats::parse_site("1.0000000596046447753906251,0").site.longitude_deg,
            1.00000011920928955078125f);
  const astro::NamedSite edges = formats::parse_site("+360,-90");
  EXPECT_EQ(edges.site.longitude_deg, 360.0f);
  EXPECT_EQ(edges.site.latitude_deg, -90.0f);
  EXPECT_EQ(formats::parse_site("-180,90").site.longitude_deg, -180.0f);
}

TEST(SiteOption, BadValuesAreUsageErrorsNamingOptionAndValue) {
  EXPECT_EQ(message_of("12"), "--site=12: no site is numbered 12 (1 to 11)");
  EXPECT_EQ(message_of("0"), "--site=0: no site is numbered 0 (1 to 11)");
  // The menu's own spellings are not the place names.
  EXPECT_EQ(message_of("hirosima"),
            "--site=hirosima: wants a number 1 to 11, a place name (sapporo, sendai, tokyo, "
            "niigata, kanazawa, nagoya, osaka, hiroshima, kochi, fukuoka, okinawa) or LON,LAT "
            "(degrees east, degrees north)");
  EXPECT_EQ(message_of("-180.01,0"),
            "--site=-180.01,0: longitude must be from -180 to 360 degrees");
  EXPECT_EQ(message_of("360.5,0"), "--site=360.5,0: longitude must be from -180 to 360 degrees");
  EXPECT_EQ(message_of("0,90.01"), "--site=0,90.01: latitude must be from -90 to 90 degrees");
  for (const char* bad : {"", "Tokyo", "3.9", "99", "-3", "tokyo ", ",", "1,", ",2", "1,2,3",
                          "nan,0", "0,inf", "1e99,0", " 1,2", "1;2", "tokyo,1"}) {
    EXPECT_NE(message_of(bad), "(accepted)") << bad;
    EXPECT_EQ(message_of(bad).rfind("--site=", 0), 0u) << bad;
  }
  EXPECT_EQ(message_of("a\nb"),
            "--site=a\\x0ab: wants a number 1 to 11, a place name (sapporo, "
            "sendai, tokyo, niigata, kanazawa, nagoya, osaka, hiroshima, "
            "kochi, fukuoka, okinawa) or LON,LAT (degrees east, degrees "
            "north)");
}

TEST(SiteOption, OnlyAGivenOptionNamesASite) {
  io::Options options;
  EXPECT_FALSE(formats::site_option(options));
  options.given = {{"site", "9"}, {"site", "kochi"}};
  ASSERT_TRUE(formats::site_option(options));
  EXPECT_EQ(formats::site_option(options)->name, "kochi");
}

}  // namespace
