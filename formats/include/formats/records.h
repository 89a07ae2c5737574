#pragma once
/// Fixed-column fields of text lines and their decimal conversion.

#include <string>
#include <string_view>

namespace formats {

/// The field of `length` characters at 0-based column `start` of `line`.
/// Columns past the end of the line read as blanks, so the result always has
/// `length` characters (none when length <= 0); nothing outside `line` is read.
std::string extract_field(std::string_view line, int start, int length);

/// The columns of that field that lie inside `line` (a view into it): the columns past
/// its end would read as blanks, which change nothing for parse_decimal, is_blank or a
/// search for a character, so these take the field from here without a copy.
std::string_view field_within(std::string_view line, int start, int length);

/// Decimal value of a field: leading white space skipped, then an optional sign,
/// digits with an optional decimal point and an optional exponent (e/E, optional
/// sign, digits); the first character that does not fit ends the number.
/// INF and NAN, in capitals directly after a sign, give an infinity or a NaN.
/// No number (blanks, empty, a letter, a lone sign, hex) gives 0.0.
/// The result is correctly rounded; out-of-range values become +-HUGE_VAL or 0.
double parse_decimal(std::string_view text);

/// True when text holds nothing but blanks (or nothing at all).
bool is_blank(std::string_view text);

}  // namespace formats
