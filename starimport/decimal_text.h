#pragma once
/// Numbers as a catalogue writes them: decimal text kept digit for digit, and exact
/// arithmetic on it, so that every rounding is done once, from the text, never through
/// binary floating point.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace starimport {

/// A plain decimal number as written: sign, integer digits, fraction digits.
struct DecimalText {
  bool negative = false;
  std::string integer_digits;   ///< without leading zeros ("" for 0.5)
  std::string fraction_digits;  ///< as written, trailing zeros kept
  bool has_point = false;       ///< a decimal point was written (also "53820.")

  /// True when every digit is 0.
  bool is_zero() const;
  /// The number written back: "-" when negative, the integer digits ("0" when none),
  /// the point and the fraction digits when the source wrote a point.
  std::string text() const;
};

/// Reads `text` (blanks around it allowed) as an optional sign, digits with an optional
/// point and an optional exponent (e/E, sign, digits). The exponent is taken into the
/// digits exactly ("1.5e2" is 150). Nothing else may stand in the text: "12a", "1,5",
/// "inf", "nan", "" and a lone point give nothing.
std::optional<DecimalText> parse_decimal_text(std::string_view text);

/// A decimal value held exactly: units x 10^-scale.
struct ExactDecimal {
  __int128 units = 0;
  int scale = 0;  ///< digits after the point, 0 or more
};

/// Most significant digits an ExactDecimal takes (units stay far inside __int128,
/// with room for the factors of round_ratio).
inline constexpr int kMaxExactDigits = 30;

/// The exact value of a decimal text, or nothing when it has more than
/// kMaxExactDigits digits after leading zeros are dropped.
std::optional<ExactDecimal> to_exact(const DecimalText& number);

/// a + b, exactly (at the larger of the two scales).
ExactDecimal add(const ExactDecimal& a, const ExactDecimal& b);

/// value x multiplier / divisor rounded to the nearest integer, halves away from zero.
/// multiplier and divisor: 1 to 10^6; value as from to_exact.
std::int64_t round_ratio(const ExactDecimal& value, std::int64_t multiplier, std::int64_t divisor);

/// Compares value with the whole number n: negative, zero or positive.
int compare(const ExactDecimal& value, std::int64_t n);

/// The decimal text of an exact value ("-0.05", "2458325.72834"): the point and the
/// `scale` digits after it, none when the scale is 0.
std::string exact_text(const ExactDecimal& value);

/// The number with fraction digits taken off, the last kept rounded (halves away from
/// zero), until its text is at most `columns` wide or no fraction digit is left.
DecimalText fitted_to_columns(DecimalText number, std::size_t columns);

/// The number times 100, exactly: the point moved two digits to the right (a fraction of
/// the period as percent of it).
DecimalText times_hundred(DecimalText number);

}  // namespace starimport
