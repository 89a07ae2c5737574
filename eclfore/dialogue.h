#pragma once
/// The console questions of the forecast and the checks on their answers.

#include <cstdio>
#include <string_view>

#include "sites.h"

namespace eclfore {

/// Prints `question` (flushed, no line end) and reads a "%d" answer from `in`.
/// Throws io::RunError naming `answer_name` when the answer is not a number or
/// the input has ended: the dialogue never asks again on the same input.
int ask_int(std::FILE* in, std::string_view question, std::string_view answer_name);

/// As ask_int, for a "%f" answer (rounded straight to float; NaN and inf accepted).
float ask_float(std::FILE* in, std::string_view question, std::string_view answer_name);

/// Asks "year  = " for the year of the forecast. Throws io::RunError naming the answer
/// when it is not a whole number, or when it does not fit the year field of the
/// ForecastLines of `forecast_file` (-999 to 9999): a wider year would shift every
/// column after it.
int ask_year(std::FILE* in, std::string_view forecast_file);

/// Shows the site menu and asks "no = " until the answer is 1 to 11 or 99 (then asks
/// for longitude and latitude, degrees east and north). Any other answer, NaN and
/// infinity included, shows the menu again; so does a typed site whose latitude is not
/// from -90 to 90 or whose longitude is not finite, after a line for each saying why.
/// A finite longitude beyond -180 to 180 is a direction all the same, and kept.
ObservingSite ask_site(std::FILE* in);

/// Asks "\nNo = " until the answer is a listed condition, 0 to count - 1.
int ask_condition_no(std::FILE* in, int count);

}  // namespace eclfore
