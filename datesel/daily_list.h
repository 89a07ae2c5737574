#pragma once
/// The daily list obsday.dat: a dated title, a column header and one DailyListLine
/// per minimum of the night, every field copied from a ForecastLine column range.

#include <cstddef>
#include <string>
#include <string_view>

#include "formats/layouts.h"

namespace datesel {

/// The header line under the title, with its line end.
inline constexpr std::string_view kDailyListHeader =
    "Name                cat.   Time  typ  High   RA       RD      Mag      Period       "
    "E0            Forecast\n";

/// Characters of a DailyListLine before its line end.
inline constexpr std::size_t kDailyListLineChars = formats::daily_list_line::kLineChars;

/// The title line "=== %4d/%2d/%2d ===" with its line end. The numbers are printed
/// as given, unchecked: a number wider than its field widens the line.
std::string daily_title(int year, int month, int day);

/// The DailyListLine of a ForecastLine, with its line end: name, catalogue and kind,
/// time (decimal hours on the night's clock, after midnight from 24), type, whole degrees of
/// altitude, RA hours and minutes, declination degrees and arc minutes, both magnitudes, period
/// (days), epoch (JD) and the forecast JD, each the unchanged text of its columns.
/// Columns past the end of a short line read as blanks.
std::string daily_list_line(std::string_view forecast_line);

}  // namespace datesel
