// The texts of the options for today's sky and the values they stand for.
#include "formats/sky_options.h"

#include <gtest/gtest.h>

namespace {

using astro::EpochScale;

TEST(SkyOptionValues, NamesNumbersAndRanges) {
  EXPECT_EQ(formats::parse_sun_below("civil"), -6);
  EXPECT_EQ(formats::parse_sun_below("nautical"), -12);
  EXPECT_EQ(formats::parse_sun_below("astronomical"), -18);
  EXPECT_EQ(formats::parse_sun_below("-90"), -90);
  EXPECT_EQ(formats::parse_sun_below("90"), 90);
  EXPECT_EQ(formats::parse_sun_below("+0.5"), 0.5);
  for (const char* bad : {"", "-90.01", "91", "Civil", "12x", "nan", "inf", " 5", "+"}) {
    EXPECT_FALSE(formats::parse_sun_below(bad)) << bad;
  }
  EXPECT_EQ(formats::parse_moon_distance("0"), 0);
  EXPECT_EQ(formats::parse_moon_distance("180"), 180);
  for (const char* bad : {"-1", "180.5", "ten", ""}) {
    EXPECT_FALSE(formats::parse_moon_distance(bad)) << bad;
  }
  EXPECT_EQ(formats::parse_epoch_scale("hjd"), EpochScale::kHjd);
  EXPECT_EQ(formats::parse_epoch_scale("bjd"), EpochScale::kBjd);
  EXPECT_EQ(formats::parse_epoch_scale("jd"), EpochScale::kJd);
  EXPECT_FALSE(formats::parse_epoch_scale("HJD"));
}

}  // namespace
