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

/// kForecast with `year` in place of its year field, as "%4d" writes it: a wider year
/// pushes the rest of the line to the right.
std::string with_year(std::string_view year) {
  std::string line(kForecast);
  line.replace(
      27, 4,
      year.size() < 4 ? std::string(4 - year.size(), ' ') + std::string(year) : std::string(year));
  return line;
}

/// The message of title_month for `line`, empty when it reads the line.
std::string refusal_of(const std::string& line) {
  try {
    title_month(line, "data.dat");
  } catch (const io::RunError& e) {
    return e.what();
  }
  return {};
}

TEST(TitleMonth, TakesTheYearsThatTheTitleHolds) {
  EXPECT_EQ(title_month(with_year("9999"), "data.dat").year, 9999);
  EXPECT_EQ(title_month(with_year("-999"), "data.dat").year, -999);
  EXPECT_EQ(title_month(with_year("0"), "data.dat").year, 0);
}

TEST(TitleMonth, RefusesAYearThatDoesNotFitItsFourColumns) {
  // A five-character year shifts the month: not read as year 1000 and month 0.
  EXPECT_EQ(refusal_of(with_year("10000")),
            "data.dat: line 1: year \"10000\" runs past its 4 columns (27-30)");
  EXPECT_EQ(refusal_of(with_year("-1000")),
            "data.dat: line 1: year \"-1000\" runs past its 4 columns (27-30)");
  // Four columns that read as a wider number: the title's year would widen the title.
  EXPECT_EQ(refusal_of(with_field(27, "1e5 ")),
            "data.dat: line 1: year 100000 does not fit the 4 columns of the year in the "
            "daily list's title (-999 to 9999)");
  EXPECT_EQ(refusal_of(with_field(27, "-1e3")),
            "data.dat: line 1: year -1000 does not fit the 4 columns of the year in the "
            "daily list's title (-999 to 9999)");
  // What stands in column 31 is quoted from the first character of the year on.
  EXPECT_EQ(refusal_of(with_field(27, "  1e9")),
            "data.dat: line 1: year \"1e9\" runs past its 4 columns (27-30)");
  EXPECT_EQ(refusal_of(with_field(31, "\x01")),
            "data.dat: line 1: year \"2006\\x01\" runs past its 4 columns (27-30)");
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
