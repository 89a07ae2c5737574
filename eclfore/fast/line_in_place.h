#pragma once
/// The ForecastLine written in place: the star's line (StarLineText) copied into the
/// output block and the minimum's fields written over its blanks in whole numbers, at
/// the columns of the layout (formats::forecast_line). The same bytes as
/// write_forecast_line; lines whose fields real data cannot give go to it.

#include <string>

#include "forecast_line.h"
#include "forecast_minimum.h"
#include "io/output_file.h"
#include "io/text_files.h"

namespace eclfore::fast {

/// The hour piece " %5.2f" of a ForecastLine (the hour field and its blank) from the
/// night hour (0 to 98) and minute (0 to 60) alone, as write_line_in_place writes it for
/// lines of real data; empty outside those ranges.
std::string hour_field(int hour, int minute);

/// The Julian Date field "%12.4f" of a ForecastLine (days) as write_line_in_place writes
/// it for Julian Dates from 2^21 to 2^22 (1029 to 6771 AD); empty outside them.
std::string jd_field(double jd);

/// write_forecast_line of `minimum` with the star's texts of `text` (star_line_text of
/// *minimum.star): the same bytes.
void write_line_in_place(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum);

/// The same with the altitude field known only as the tenths of a degree it prints
/// (0 to 900): what " %4.1f" prints for any altitude within 0.05 degree of tenths / 10.
/// minimum.altitude_deg is not looked at.
void write_line_in_place(io::OutputFile& out, const StarLineText& text,
                         const ForecastMinimum& minimum, int altitude_tenths);

}  // namespace eclfore::fast
