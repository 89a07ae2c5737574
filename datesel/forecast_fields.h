#pragma once
/// The ForecastLine columns the daily list program reads: the title month of the
/// forecast list's first line and the night's day of every sorted line.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "formats/layouts.h"

namespace datesel {

/// Characters of a ForecastLine before its line end; shorter lines of the sorted
/// list (blank lines, a heading a sorting tool added) are not ForecastLines.
inline constexpr std::size_t kForecastLineChars = formats::forecast_line::kLineChars;

/// Shortest first line of the forecast list that reaches the month field.
inline constexpr std::size_t kTitleLineMinChars = formats::forecast_line::kMonth.end();

/// Year and month printed in every daily list title.
struct TitleMonth {
  int year = 0;
  int month = 0;
};

/// The integer of a fixed-column numeric field: the decimal conversion of its
/// columns, truncated toward zero. Nothing when the field reads
/// as an infinity, a NaN or a value beyond a 32-bit integer. A field without a number
/// (blanks) reads as 0.
std::optional<int> field_integer(std::string_view line, formats::Field field);

/// Year (columns 27-30) and month (columns 32-33) of the forecast list's first line.
/// Throws io::RunError naming `path` when the line is shorter than
/// kTitleLineMinChars or a field does not read as a finite number in int range.
TitleMonth title_month(std::string_view first_line, const std::string& path);

/// Reads the title month from the first line of the forecast list at `path`.
/// Throws io::RunError naming the file when it is missing, unreadable or empty,
/// or when its first line does not hold a year and a month (see title_month).
TitleMonth read_title_month(const std::string& path);

/// The night's day of month of a ForecastLine (columns 35-36); nothing when the
/// field does not read as a finite number, so such a line matches no day.
/// The line's length is not checked: columns past its end read as blanks.
std::optional<int> forecast_day(std::string_view line);

}  // namespace datesel
