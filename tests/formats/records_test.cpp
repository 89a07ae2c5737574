#include "formats/records.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using formats::extract_field;
using formats::parse_decimal;

TEST(ExtractField, TakesColumnsAndPadsPastTheEnd) {
  const std::string line = std::string(90, 'x') + "ABCD" + std::string(26, 'y');
  ASSERT_EQ(line.size(), 120u);
  EXPECT_EQ(extract_field(line, 90, 4), "ABCD");
  // Columns past the end of a short line read as blanks, never as stale bytes.
  EXPECT_EQ(extract_field("12345", 3, 4), "45  ");
  EXPECT_EQ(extract_field("12345", 10, 3), "   ");
  EXPECT_EQ(extract_field("", 0, 2), "  ");
  EXPECT_EQ(extract_field("abc", 0, 0), "");
  EXPECT_EQ(extract_field("abc", 0, -5), "");
  EXPECT_EQ(extract_field("abc", -2, 4), "  ab");
  // Far out of range starts read nothing outside the line.
  EXPECT_EQ(extract_field("abc", 2147483647, 2), "  ");
  // A NUL inside the line is copied like any other byte.
  EXPECT_EQ(extract_field(std::string("a\0b", 3), 0, 3), std::string("a\0b", 3));
}

TEST(FieldWithin, ReadsAsTheBlankPaddedField) {
  // Lines cut anywhere, fields on and past their ends: the view of the columns inside
  // the line parses, tests blank and holds a '-' exactly as the padded copy does.
  const std::string texts[] = {"  -12.5e3 ", "+INF", "+IN", "1e",           "1e+",   "-0",
                               " 7.",        "-NAN", "  ",  "2453000.1234", "1e400", "x-1"};
  int compared = 0;
  for (const std::string& text : texts) {
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      const std::string_view line = std::string_view(text).substr(0, cut);
      for (int start = -2; start <= 4; ++start) {
        for (int length = -1; length <= 14; ++length) {
          const std::string padded = extract_field(line, start, length);
          const std::string_view within = formats::field_within(line, start, length);
          EXPECT_EQ(std::bit_cast<std::uint64_t>(parse_decimal(within)),
                    std::bit_cast<std::uint64_t>(parse_decimal(padded)))
              << text << " cut " << cut << " at " << start << " length " << length;
          EXPECT_EQ(formats::is_blank(within), formats::is_blank(padded));
          EXPECT_EQ(within.find('-') == std::string_view::npos,
                    padded.find('-') == std::string::npos);
          ++compared;
        }
      }
    }
  }
  EXPECT_GT(compared, 7000);
  EXPECT_EQ(formats::field_within("abc", 2147483647, 2), "");
}

TEST(ParseDecimal, ReadsTheLongestNumericPrefix) {
  EXPECT_EQ(parse_decimal("    "), 0.0);
  EXPECT_EQ(parse_decimal(""), 0.0);
  EXPECT_EQ(parse_decimal("-1.5e2"), -150.0);
  EXPECT_EQ(parse_decimal(" 7 8"), 7.0);
  EXPECT_EQ(parse_decimal("-"), 0.0);
  EXPECT_EQ(parse_decimal("  12.5abc"), 12.5);
  EXPECT_EQ(parse_decimal("\t\n 3"), 3.0);
  EXPECT_EQ(parse_decimal("+4."), 4.0);
  EXPECT_EQ(parse_decimal(".25"), 0.25);
  EXPECT_EQ(parse_decimal("."), 0.0);
  EXPECT_EQ(parse_decimal("1e"), 1.0);
  EXPECT_EQ(parse_decimal("1e+"), 1.0);
  EXPECT_EQ(parse_decimal("2E-1x"), 0.2);
  EXPECT_EQ(parse_decimal("abc"), 0.0);
  // Hex stops after the 0.
  EXPECT_EQ(parse_decimal("0x1A"), 0.0);
  EXPECT_EQ(parse_decimal("12-3"), 12.0);
  EXPECT_TRUE(std::signbit(parse_decimal("-00")));
}

TEST(ParseDecimal, IsCorrectlyRounded) {
  EXPECT_EQ(parse_decimal("2453000.1234"), 2453000.1234);
  EXPECT_EQ(parse_decimal("1.2345678"), 1.2345678);
  EXPECT_EQ(parse_decimal("0.1"), 0.1);
  EXPECT_EQ(parse_decimal("1e-320"), 1e-320);
  EXPECT_EQ(parse_decimal("1e308"), 1e308);
  EXPECT_EQ(parse_decimal("1e400"), HUGE_VAL);
  EXPECT_EQ(parse_decimal("-1e400"), -HUGE_VAL);
}

TEST(ParseDecimal, AgreesWithStrtodBitForBit) {
  // Short numbers (15 digits or fewer, no exponent) and long ones take different
  // ways; both must give strtod's correctly rounded double, signed zeros included.
  std::mt19937_64 rng(17);
  const char* const signs[] = {"", "+", "-"};
  for (int i = 0; i < 200000; ++i) {
    std::string text = signs[rng() % 3];
    const int whole_digits = static_cast<int>(rng() % 18);
    const int fraction_digits = static_cast<int>(rng() % 18);
    for (int k = 0; k < whole_digits; ++k) text += static_cast<char>('0' + rng() % 10);
    if (rng() % 4 != 0) text += '.';
    for (int k = 0; k < fraction_digits; ++k) text += static_cast<char>('0' + rng() % 10);
    if (rng() % 8 == 0) text += "e" + std::to_string(static_cast<int>(rng() % 700) - 350);
    const double want = std::strtod(text.c_str(), nullptr);
    const double got = parse_decimal(text);
    ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want)) << text;
  }
}

TEST(ParseDecimal, KnowsOnlySignedCapitalInfAndNan) {
  EXPECT_EQ(parse_decimal("+INF"), HUGE_VAL);
  EXPECT_EQ(parse_decimal("-INF"), -HUGE_VAL);
  EXPECT_EQ(parse_decimal(" +INFINITY"), HUGE_VAL);
  EXPECT_TRUE(std::isnan(parse_decimal("-NAN")));
  EXPECT_TRUE(std::isnan(parse_decimal("+NAN")));
  EXPECT_EQ(parse_decimal("INF"), 0.0);
  EXPECT_EQ(parse_decimal("NAN"), 0.0);
  EXPECT_EQ(parse_decimal("+inf"), 0.0);
  EXPECT_EQ(parse_decimal("-nan"), 0.0);
  EXPECT_EQ(parse_decimal("+ INF"), 0.0);
}

}  // namespace
