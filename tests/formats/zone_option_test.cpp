// The --zone values and the clocks they stand for.
#include "formats/zone_option.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string message_of(std::string_view text) {
  try {
    formats::parse_zone(text);
  } catch (const io::UsageError& e) {
    return e.what();
  }
  return "(accepted)";
}

TEST(ZoneOption, OffsetsAndNames) {
  EXPECT_TRUE(formats::parse_zone("+09:00").is_jst());
  EXPECT_EQ(formats::parse_zone("-05:00").night({2006, 1, 1}).offset_seconds, -5 * 3600);
  EXPECT_EQ(formats::parse_zone("+05:45").night({2006, 1, 1}).offset_seconds, 20700);
  EXPECT_EQ(formats::parse_zone("-00:00").night({2006, 1, 1}).offset_seconds, 0);
  EXPECT_EQ(formats::parse_zone("+14:00").name(), "UTC+14:00");
  EXPECT_EQ(formats::parse_zone("Europe/London").name(), "Europe/London");
  EXPECT_EQ(formats::parse_zone("UTC").night({2006, 1, 1}).offset_seconds, 0);
  EXPECT_TRUE(formats::zone_option(io::Options{}).is_jst());
}

// Each refusal names the value and what a value must be.
TEST(ZoneOption, BadValuesAreUsageFaults) {
  const std::string unknown =
      "--zone=Mars/Olympus: no such zone in the time-zone database (/usr/share/zoneinfo): "
      "give a name such as Europe/London or an offset such as +09:00";
  EXPECT_EQ(message_of("Mars/Olympus"), unknown);
  for (const char* bad : {"+9:00", "+0900", "+09:0", "+09:00:00", "-", "+aa:bb", "+09-00"}) {
    EXPECT_EQ(message_of(bad),
              std::string("--zone=") + bad + ": a fixed offset is +HH:MM or -HH:MM (+09:00)")
        << bad;
  }
  EXPECT_EQ(message_of("+15:00"), "--zone=+15:00: an offset runs from -14:00 to +14:00");
  EXPECT_EQ(message_of("+14:45"), "--zone=+14:45: an offset runs from -14:00 to +14:00");
  EXPECT_EQ(message_of("-14:01"), "--zone=-14:01: an offset runs from -14:00 to +14:00");
  EXPECT_EQ(message_of("+09:60"), "--zone=+09:60: the minutes of an offset run from 00 to 59");
  EXPECT_NE(message_of(""), "(accepted)");
  EXPECT_NE(message_of("europe/london"), "(accepted)");
}

}  // namespace
