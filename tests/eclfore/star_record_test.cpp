// The StarRecord as the forecast uses it: what each catalogue field becomes in the
// selection and in the ForecastLine.
#include <gtest/gtest.h>

#include <string>

#include "conditions.h"
#include "e2e.h"
#include "forecast_line.h"
#include "formats/catalogue.h"
#include "io/output_file.h"

namespace {

// Columns:   0         1         2         3         4         5         6         7         8 9
//            0123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890123
const std::string kSample =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012";

std::string with_field(std::size_t column, const std::string& text) {
  std::string line = kSample;
  line.replace(column, text.size(), text);
  return line;
}

/// The ForecastLine of a record for the first minimum of the worked example.
std::string forecast_line_of(const std::string& catalogue_line) {
  e2e::TempDir dir;
  const std::string path = (dir.path() / "data.dat").string();
  {
    io::OutputFile out(path);
    eclfore::write_forecast_line(out, formats::parse_star_record(catalogue_line),
                                 eclfore::MinimumKind::kPrimary, {2006, 10, 1, 20, 60},
                                 2454009.99993, 73.3f);
    out.close();
  }
  return e2e::read_file(path);
}

TEST(StarRecordInForecast, SampleLineGivesTheFirstLineOfTheWorkedExample) {
  EXPECT_EQ(forecast_line_of(kSample),
            "EX Demo             C012 p 2006 10  1 21.00 2454009.9999 EA 73.3  2453000.1234"
            "    1.2345678 21 30  0  20 15  9.8 10.9\r\n");
}

TEST(StarRecordInForecast, DeclinationSignsAsWrittenAndAsCompared) {
  struct Case {
    const char* field;      // columns 57-62
    const char* written;    // ForecastLine columns 100-106
    bool above_zero_limit;  // selected with dec_lower 0 (degrees alone compared)
  };
  const Case cases[] = {
      {"-05 30", "  -5 30", false}, {"+12 34", "  12 34", true}, {"-00 30", "  -0 30", true},
      {" -0 30", "  -0 30", true},  {"+00 30", "   0 30", true}, {" 00 30", "   0 30", true},
  };
  const eclfore::SelectionCondition north_of_zero{8.0f, 12.5f, 0.5f, 90.0f, 0.0f};
  for (const Case& c : cases) {
    const std::string line = with_field(57, c.field);
    const std::string written = forecast_line_of(line);
    ASSERT_EQ(written.size(), 119u) << c.field;
    EXPECT_EQ(written.substr(100, 7), c.written) << c.field;
    EXPECT_EQ(eclfore::is_selected(formats::parse_star_record(line), north_of_zero),
              c.above_zero_limit)
        << c.field;
  }
}

TEST(StarRecordInForecast, BlankFieldsKeepTheColumns) {
  // Hours " 5", seconds blank, no type, no catalogue, no flag.
  std::string line = with_field(47, " 5 30   ");
  line = line.substr(0, 70) + "  " + line.substr(72, 16) + "      ";
  const std::string written = forecast_line_of(line);
  ASSERT_EQ(written.size(), 119u);
  EXPECT_EQ(written.substr(20, 7), "     p ");
  EXPECT_EQ(written.substr(56, 8), "    73.3");
  EXPECT_EQ(written.substr(91, 9), "  5 30  0");
}

TEST(StarRecordInForecast, SelectFlagIsNotTheForecastsConcern) {
  const eclfore::SelectionCondition sample_condition{8.0f, 12.5f, 0.5f, 90.0f, -30.0f};
  for (const char* flag : {"2", "7", "4", " ", "x"}) {
    const std::string line = with_field(88, flag);
    EXPECT_EQ(forecast_line_of(line), forecast_line_of(kSample)) << flag;
    EXPECT_TRUE(eclfore::is_selected(formats::parse_star_record(line), sample_condition)) << flag;
  }
}

}  // namespace
