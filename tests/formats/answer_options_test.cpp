#include "formats/answer_options.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

namespace formats {
namespace {

constexpr io::OptionSpec kNumber{"number", "N", "a test option"};

TEST(AnswerOptions, WholeNumbersWithinTheirRange) {
  EXPECT_EQ(whole_number_option(kNumber, "12", 1, 12), 12);
  EXPECT_EQ(whole_number_option(kNumber, "+1", 1, 12), 1);
  EXPECT_EQ(whole_number_option(kNumber, "-999", -999, 9999), -999);
  for (const char* bad : {"0", "13", "", "1.0", "1e1", "0x1", " 1", "1 ", "12a", "99999999999"}) {
    EXPECT_THROW(whole_number_option(kNumber, bad, 1, 12), io::UsageError) << bad;
  }
  try {
    whole_number_option(kNumber, "-1", 0, std::numeric_limits<int>::max());
    ADD_FAILURE();
  } catch (const io::UsageError& e) {
    EXPECT_STREQ(e.what(), "--number=-1: wants a whole number, 0 or more");
  }
}

// A decimal given as an option is the float a typed "%f" answer gives, bit for bit.
TEST(AnswerOptions, DecimalsAsTheTypedAnswerRoundsThem) {
  for (const char* text : {"20", "0.1", "-89.99999", "33.333333333333333", "1e1", "90"}) {
    float typed = 0;
    ASSERT_EQ(std::sscanf(text, "%f", &typed), 1);
    EXPECT_EQ(decimal_option(kNumber, text, -90, 90), typed) << text;
  }
  for (const char* bad : {"nan", "inf", "-inf", "90.001", "-91", "", "20deg", "1,5"}) {
    EXPECT_THROW(decimal_option(kNumber, bad, -90, 90), io::UsageError) << bad;
  }
}

TEST(AnswerOptions, ClockTimes) {
  const ClockTime t = clock_time_option(kNumber, "9:05", 0, 29);
  EXPECT_EQ(t.hour, 9);
  EXPECT_EQ(t.minute, 5);
  EXPECT_EQ(clock_time_option(kNumber, "29:59", 0, 29).hour, 29);
  for (const char* bad : {"30:00", "12:60", "12:5", "012:00", "12", "12:00:00", ":00",
                          "12:", "-1:00", "+1:00", "1 :00"}) {
    EXPECT_THROW(clock_time_option(kNumber, bad, 0, 29), io::UsageError) << bad;
  }
}

}  // namespace
}  // namespace formats
