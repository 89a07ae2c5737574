#include "forecast_fields.h"

#include <gtest/gtest.h>

#include <string>

#include "io/run_error.h"

namespace datesel {
namespace {

constexpr std::string_view kForecast =
    "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234    "
    "1.2345678 21 30  0  20 15  9.8 10.9";

/// kForecast with `text` written over its columns from `start`.
std::string with_field(int start, std::string_view text) {
  std::string line(kForecast);
  line.replace(static_cast<std::size_t>(start), text.size(), text);
  return line;
}

TEST(TitleMonth, ReadsYearAndMonth) {
  const TitleMonth t = title_month(kForecast, "data.dat");
  EXPECT_EQ(t.year, 2006);
  EXPECT_EQ(t.month, 3);
  const TitleMonth shortest = title_month(kForecast.substr(0, kTitleLineMinChars), "data.dat");
  EXPECT_EQ(shortest.month, 3);
}

TEST(TitleMonth, BlankFieldsReadAsZero) {
  const TitleMonth t = title_month(with_field(27, "       "), "data.dat");
  EXPECT_EQ(t.year, 0);
  EXPECT_EQ(t.month, 0);
}

TEST(TitleMonth, RefusesLinesWithoutAYearAndMonth) {
  for (const std::string& bad :
       {std::string(kForecast.substr(0, kTitleLineMinChars - 1)), std::string(),
        with_field(27, "+NAN"), with_field(27, "-INF"), with_field(27, "9e99")}) {
    try {
      title_month(bad, "data.dat");
      ADD_FAILURE() << "accepted \"" << bad << "\"";
    } catch (const io::RunError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("data.dat: ", 0), 0u) << e.what();
    }
  }
  // Only a sign directly before INF or NAN makes a word; "+I" reads as no number.
  EXPECT_EQ(title_month(with_field(32, "+I"), "data.dat").month, 0);
}

TEST(ForecastDay, TruncatesTheDayField) {
  EXPECT_EQ(forecast_day(kForecast), 6);
  EXPECT_EQ(forecast_day(with_field(35, "31")), 31);
  EXPECT_EQ(forecast_day(with_field(35, "-1")), -1);
  EXPECT_EQ(forecast_day(with_field(35, "9.")), 9);
  EXPECT_EQ(forecast_day(with_field(35, "  ")), 0);
  EXPECT_EQ(forecast_day(""), 0);
  EXPECT_EQ(field_integer("-INF", {0, 4}), std::nullopt);
}

}  // namespace
}  // namespace datesel
