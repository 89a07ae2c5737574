#pragma once
/// The star.dat line an imported record becomes.

#include <optional>
#include <string>

#include "field_conversions.h"
#include "formats/layouts.h"
#include "formats/star_extension.h"

namespace starimport {

/// The fields of one star.dat line, converted and rounded.
struct StarLine {
  std::string name;    ///< at most 20 characters
  std::string epoch;   ///< Julian Date text, at most 13 characters
  std::string period;  ///< days, text, at most 13 characters
  RoundedRa ra;
  RoundedDec dec;
  std::string var_type;              ///< at most 2 characters
  std::optional<int> max_tenths;     ///< magnitude at maximum, tenths; nothing: blank
  std::optional<int> min_tenths;     ///< magnitude at minimum, tenths; nothing: blank
  char select_flag = ' ';            ///< column 88: a digit or blank
  std::string label;                 ///< catalogue field, at most 4 characters
  formats::StarExtension extension;  ///< the columns after the catalogue field
};

/// The texts of the line's fields: two-digit position fields ("05"), the declination's
/// degrees with their sign ("-00"), magnitudes to one decimal, blank when absent.
formats::StarLineFields star_line_fields(const StarLine& star);

/// The line (no line end), as eclfore and phaselist read it: the extension after the
/// catalogue field when a field of it is known.
std::string format_star_line(const StarLine& star);

}  // namespace starimport
