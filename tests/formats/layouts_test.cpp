#include "formats/layouts.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "formats/catalogue.h"

namespace {

using formats::StarLineFields;

StarLineFields sample_fields() {
  return {.name = "EX Demo",
          .epoch = "2453000.1234",
          .period = "1.2345678",
          .ra_hour_part = "21",
          .ra_minute_part = "30",
          .ra_second_part = "00",
          .dec_degree_part = "+20",
          .dec_minute_part = "15",
          .var_type = "EA",
          .mag_max = "9.8",
          .mag_min = "10.9",
          .select_flag = "2",
          .catalogue = "C012"};
}

TEST(StarLineWriter, WritesTheCatalogueSampleLineByteForByte) {
  EXPECT_EQ(formats::format_star_line(sample_fields()),
            "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 "
            "10.9      2 C012");
}

TEST(StarLineWriter, ReadsBackFieldByFieldAndAsARecord) {
  StarLineFields f = sample_fields();
  f.name = "V1234 Sagittarii ab";  // 19 characters
  f.dec_degree_part = "-00";
  f.dec_minute_part = "30";
  f.select_flag = "7";
  f.catalogue = "GCVS";
  const std::string line = formats::format_star_line(f);
  ASSERT_EQ(line.size(), static_cast<std::size_t>(formats::star_line::kLineChars));
  using namespace formats::star_line;
  EXPECT_EQ(formats::extract_field(line, kName), "V1234 Sagittarii ab ");
  EXPECT_EQ(formats::extract_field(line, kEpoch), " 2453000.1234");
  EXPECT_EQ(formats::extract_field(line, kPeriod), "    1.2345678");
  EXPECT_EQ(formats::extract_field(line, kDecDeg), "-00");
  EXPECT_EQ(formats::extract_field(line, kSelectFlag), "7");

  const formats::StarRecord s = formats::parse_star_record(line);
  EXPECT_FALSE(formats::unusable_star_line(line));
  EXPECT_EQ(s.name, "V1234 Sagittarii ab ");
  EXPECT_EQ(s.elements_text, " 2453000.1234    1.2345678");
  EXPECT_EQ(s.epoch_mjd, 2453000.1234 - 2400000.5);
  EXPECT_EQ(s.period, 1.2345678);
  EXPECT_EQ(s.ra_hours, 21.5f);
  EXPECT_EQ(s.dec_degrees, -0.5f);  // the sign of minus zero degrees reaches the minutes
  EXPECT_EQ(s.var_type, "EA");
  EXPECT_EQ(s.mag_max, 9.8f);
  EXPECT_EQ(s.mag_min, 10.9f);
  EXPECT_EQ(s.select_flag, 7);
  EXPECT_EQ(s.catalogue, "GCVS");
}

TEST(StarLineWriter, RefusesTextsThatWouldMoveOrCutColumns) {
  StarLineFields f = sample_fields();
  f.name = "A name of twenty-one";
  f.name += "x";
  EXPECT_THROW(formats::format_star_line(f), std::invalid_argument);
  f = sample_fields();
  f.period = "12345.67890123";  // 14 characters in a field of 13
  EXPECT_THROW(formats::format_star_line(f), std::invalid_argument);
  f = sample_fields();
  f.var_type = "E\t";
  EXPECT_THROW(formats::format_star_line(f), std::invalid_argument);
  f = sample_fields();
  f.catalogue = std::string("C0\0", 3);
  EXPECT_THROW(formats::format_star_line(f), std::invalid_argument);
  // Empty fields are blanks, and a blank period leaves the record without elements.
  f = sample_fields();
  f.period.clear();
  EXPECT_TRUE(formats::lacks_elements(formats::parse_star_record(formats::format_star_line(f))));
}

/// printf's "%d" of `value`.
std::string printed(long long value) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", value);
  return text;
}

TEST(WholeNumbersWithin, EndWhereTheCLibraryWidensTheField) {
  for (int width = 1; width <= 9; ++width) {
    SCOPED_TRACE(width);
    const formats::WholeNumberRange range = formats::whole_numbers_within({0, width});
    const auto columns = static_cast<std::size_t>(width);
    EXPECT_EQ(printed(range.highest).size(), columns);
    EXPECT_LE(printed(range.lowest).size(), columns);
    EXPECT_GT(printed(range.highest + 1LL).size(), columns);
    EXPECT_GT(printed(range.lowest - 1LL).size(), columns);
  }
  const formats::WholeNumberRange years = formats::whole_numbers_within({27, 4});
  EXPECT_EQ(years.lowest, -999);
  EXPECT_EQ(years.highest, 9999);
  EXPECT_TRUE(years.holds(-999) && years.holds(0) && years.holds(9999));
  EXPECT_FALSE(years.holds(-1000) || years.holds(10000));
}

TEST(BeyondField, NamesTheNumberTheColumnsAndWhatTheyHold) {
  const formats::Field year = formats::forecast_line::kYear;
  EXPECT_EQ(formats::beyond_field("year", 10000, year, "the year in data.dat"),
            "year 10000 does not fit the 4 columns of the year in data.dat (-999 to 9999)");
  EXPECT_EQ(formats::beyond_field("year", -2147483647 - 1, year, "X"),
            "year -2147483648 does not fit the 4 columns of X (-999 to 9999)");
  EXPECT_EQ(formats::beyond_field("year", 2147483647, year, "X"),
            "year 2147483647 does not fit the 4 columns of X (-999 to 9999)");
  EXPECT_EQ(formats::beyond_field("year", 9999, year, "X"), std::nullopt);
  EXPECT_EQ(formats::beyond_field("year", -999, year, "X"), std::nullopt);
  // The years every writer of a year field takes: the same four columns.
  EXPECT_EQ(formats::daily_title::kYear.width, year.width);
  EXPECT_EQ(formats::phase_table_title::kStartYear.width, year.width);
}

}  // namespace
