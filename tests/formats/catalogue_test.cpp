#include "formats/catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

using formats::parse_star_record;

// Columns:   0         1         2         3         4         5         6         7         8 9
//            0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123
const char* kSample =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

/// The sample line with its declination field (columns 57-62) replaced.
std::string with_declination(const std::string& dec) {
  std::string line = kSample;
  line.replace(57, 6, dec);
  return line;
}

TEST(StarRecord, ParsesTheSampleLine) {
  const auto s = parse_star_record(kSample);
  EXPECT_EQ(s.name, "EX Demo             ");
  EXPECT_EQ(s.epoch_mjd, 52999.623399999924);  // 52999.6234 as the JD text allows
  EXPECT_EQ(s.epoch_mjd, 2453000.1234 - 2400000.5);
  EXPECT_EQ(s.period, 1.2345678);
  EXPECT_EQ(s.ra_hours, 21.5f);
  EXPECT_EQ(s.dec_degrees, 20.25f);
  EXPECT_EQ(s.var_type, "EA");
  EXPECT_EQ(s.mag_max, 9.8f);
  EXPECT_EQ(s.mag_min, 10.9f);
  // As floats the depth is not 1.1.
  EXPECT_EQ(static_cast<float>(s.mag_min - s.mag_max), 1.0999994f);
  EXPECT_EQ(s.select_flag, 2);
  EXPECT_TRUE(formats::selected_for_phase_table(s));
  EXPECT_EQ(s.catalogue, "C012");
  EXPECT_EQ(s.elements_text, " 2453000.1234    1.2345678");
  EXPECT_FALSE(s.epoch_blank);
  EXPECT_FALSE(formats::star_record_problem(s));
  EXPECT_FALSE(formats::lacks_elements(s));
}

TEST(StarRecord, MinusSignMakesTheWholeDeclinationSouthern) {
  struct Case {
    const char* field;
    float degrees;  // compared with the declination limits
    float declination;
  };
  const Case cases[] = {
      {"-05 30", -5, -5.5f}, {"+12 34", 12, static_cast<float>(34 * (1.0L / 60) + 12)},
      {"-00 30", 0, -0.5f},  {" -0 30", 0, -0.5f},
      {"+00 30", 0, 0.5f},   {" 00 30", 0, 0.5f},
  };
  for (const auto& c : cases) {
    const auto s = parse_star_record(with_declination(c.field));
    EXPECT_EQ(s.dec_degree_part, c.degrees) << c.field;
    EXPECT_EQ(s.dec_degrees, c.declination) << c.field;
  }
  EXPECT_TRUE(std::signbit(parse_star_record(with_declination("-00 30")).dec_degree_part));
  EXPECT_FALSE(std::signbit(parse_star_record(with_declination("+00 30")).dec_degree_part));
}

TEST(StarRecord, BlankFieldsReadAsZero) {
  std::string line = kSample;
  line.replace(47, 8, " 5 30   ");  // hours " 5", seconds blank
  const auto s = parse_star_record(line);
  EXPECT_EQ(s.ra_hour_part, 5.0f);
  EXPECT_EQ(s.ra_second_part, 0.0f);
  EXPECT_EQ(s.ra_hours, 5.5f);

  std::string no_period = kSample;
  no_period.replace(33, 13, std::string(13, ' '));
  EXPECT_TRUE(formats::lacks_elements(parse_star_record(no_period)));

  std::string no_epoch = kSample;
  no_epoch.replace(20, 13, std::string(13, ' '));
  const auto e = parse_star_record(no_epoch);
  EXPECT_TRUE(e.epoch_blank);
  EXPECT_EQ(e.epoch_mjd, -2400000.5);
  EXPECT_TRUE(formats::star_record_problem(e));

  std::string mjd_zero = kSample;
  mjd_zero.replace(20, 13, "    2400000.5");
  EXPECT_TRUE(formats::lacks_elements(parse_star_record(mjd_zero)));
}

TEST(StarRecord, OddElementsAreNamed) {
  auto with_field = [](int column, const char* text) {
    std::string line = kSample;
    line.replace(static_cast<std::size_t>(column), 13, text);
    return parse_star_record(line);
  };
  EXPECT_TRUE(formats::star_record_problem(with_field(33, "   -1.2345678")));
  EXPECT_TRUE(formats::star_record_problem(with_field(33, "         +INF")));
  EXPECT_TRUE(formats::star_record_problem(with_field(33, "         -NAN")));
  EXPECT_TRUE(formats::star_record_problem(with_field(20, "        1e400")));
  EXPECT_FALSE(formats::star_record_problem(with_field(33, "        1e-9 ")));
}

TEST(StarRecord, SelectFlagBitTwo) {
  for (char flag : std::string("0123456789 x-")) {
    std::string line = kSample;
    line[88] = flag;
    const bool want = flag == '2' || flag == '3' || flag == '6' || flag == '7';
    EXPECT_EQ(formats::selected_for_phase_table(parse_star_record(line)), want) << flag;
  }
}

TEST(StarRecord, ShortLinesReadBlanksPastTheirEnd) {
  const std::string line = std::string(kSample).substr(0, 82);
  const auto s = parse_star_record(line);
  EXPECT_EQ(s.catalogue, "    ");
  EXPECT_EQ(s.select_flag, 0);
  EXPECT_EQ(s.mag_min, 10.9f);
}

}  // namespace

namespace {

TEST(StarLine, TellsWhichLinesCannotHoldAStar) {
  EXPECT_FALSE(formats::unusable_star_line(kSample));
  EXPECT_FALSE(formats::unusable_star_line(std::string(kSample).substr(0, 82)));
  // Blank lines are passed over without a word.
  EXPECT_EQ(formats::unusable_star_line(""), std::string());
  EXPECT_EQ(formats::unusable_star_line("     "), std::string());
  const auto short_line = formats::unusable_star_line(std::string(kSample).substr(0, 81));
  ASSERT_TRUE(short_line);
  EXPECT_NE(short_line->find("81 characters"), std::string::npos);
  std::string with_nul = kSample;
  with_nul[5] = '\0';
  const auto nul = formats::unusable_star_line(with_nul);
  ASSERT_TRUE(nul);
  EXPECT_NE(nul->find("NUL"), std::string::npos);
}

}  // namespace
