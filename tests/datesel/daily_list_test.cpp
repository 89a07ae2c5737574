#include "daily_list.h"

#include <gtest/gtest.h>

#include <string>

namespace datesel {
namespace {

// The ForecastLine of a primary minimum at 05:35 JST on the 7th, night of the 6th.
constexpr std::string_view kForecast =
    "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234    "
    "1.2345678 21 30  0  20 15  9.8 10.9";

TEST(DailyListLine, RearrangesTheForecastColumns) {
  const std::string line = daily_list_line(kForecast);
  EXPECT_EQ(line,
            "EX Demo             C012 p 29.58  EA   28   21 30    20 15   9.8 10.9     "
            "1.2345678  2453000.1234 2453801.3579\n");
  EXPECT_EQ(line.size(), kDailyListLineChars + 1);
}

TEST(DailyListHeader, LabelsStandInTheirColumns) {
  const struct {
    std::string_view label;
    std::size_t column;
  } kLabels[] = {{"Name", 0},    {"cat.", 20}, {"Time", 27},    {"typ", 33},
                 {"High", 38},   {"RA", 45},   {"RD", 54},      {"Mag", 62},
                 {"Period", 71}, {"E0", 84},   {"Forecast", 98}};
  for (const auto& l : kLabels) EXPECT_EQ(kDailyListHeader.find(l.label), l.column) << l.label;
  EXPECT_EQ(kDailyListHeader.size(), 107u);
  EXPECT_EQ(kDailyListHeader.back(), '\n');
}

TEST(DailyListLine, ReadsColumnsPastAShortLineAsBlanks) {
  const std::string line = daily_list_line("EX Demo             C012 p 2006  3  6 29.58");
  EXPECT_EQ(line, "EX Demo             C012 p 29.58" + std::string(78, ' ') + "\n");
  EXPECT_EQ(daily_list_line(""), std::string(kDailyListLineChars, ' ') + "\n");
}

TEST(DailyTitle, PadsAndWidens) {
  EXPECT_EQ(daily_title(2006, 3, 6), "=== 2006/ 3/ 6 ===\n");
  EXPECT_EQ(daily_title(2006, 10, 31), "=== 2006/10/31 ===\n");
  EXPECT_EQ(daily_title(2006, 3, -1), "=== 2006/ 3/-1 ===\n");
  EXPECT_EQ(daily_title(0, 0, 0), "===    0/ 0/ 0 ===\n");
  EXPECT_EQ(daily_title(2006, 3, -123), "=== 2006/ 3/-123 ===\n");
  EXPECT_EQ(daily_title(-2147483647 - 1, -2147483647 - 1, 2147483647),
            "=== -2147483648/-2147483648/2147483647 ===\n");
}

}  // namespace
}  // namespace datesel
