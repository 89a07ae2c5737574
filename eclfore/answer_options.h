#pragma once
/// The forecast's questions answered on the command line: --year, --month, --lowest and
/// --condition (the site's --site is shared with the programs that compute altitudes).

#include <optional>
#include <string_view>

#include "io/cli.h"

namespace eclfore {

inline constexpr io::OptionSpec kYearOption{"year", "Y", "answers the year (-999 to 9999)"};
inline constexpr io::OptionSpec kMonthOption{"month", "M", "answers the month (1 to 12)"};
inline constexpr io::OptionSpec kLowestOption{"lowest", "DEG",
                                              "answers the lowest altitude, degrees (-90 to 90)"};
inline constexpr io::OptionSpec kConditionOption{
    "condition", "N", "answers the condition number (a row of condition.dat)"};

/// The answers the options give; a question without one is asked.
struct GivenAnswers {
  std::optional<int> year;
  std::optional<int> month;
  std::optional<float> lowest_deg;  ///< rounded straight to float, as a typed answer
  std::optional<int> condition;     ///< not yet checked against condition.dat
};

/// Reads the answer options of `options`. Throws io::UsageError naming the option and
/// its value for a year that does not fit the year field of a ForecastLine (-999 to
/// 9999), a month outside 1 to 12, a lowest altitude outside -90 to 90 or
/// not a number, a condition number below 0 or not a whole number.
GivenAnswers given_answers(const io::Options& options);

/// Throws io::UsageError naming --condition when `number` is not a row of the table
/// of `count` conditions read from `condition_file`.
void refuse_unlisted_condition(int number, int count, std::string_view condition_file);

/// True for a month of the calendar, 1 to 12.
bool is_calendar_month(int month);

/// Warns on standard error that a typed `month` outside 1 to 12 lists nothing: the
/// forecast goes on as typed.
void warn_of_typed_month(int month);

}  // namespace eclfore
