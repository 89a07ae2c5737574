#pragma once
/// The numbers of the fixed-column layouts without the C library's formatted output: the
/// same bytes as printf's "%W.Pf" and "%Wd" in the C locale, without its format parsing
/// and locale (bench/routines_bench.cpp measures both).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/output_file.h"

namespace formats {

/// Most digits after the decimal point that format_fixed takes.
inline constexpr int kMaxFixedPrecision = 9;

/// Room for the longest number text: a sign, the 309 integer digits of the largest
/// double, the point and the decimals.
inline constexpr std::size_t kNumberTextChars = 1 + 309 + 1 + kMaxFixedPrecision;
using NumberText = std::array<char, kNumberTextChars>;

/// Writes `value` to the start of `text` exactly as printf("%.*f", precision, value)
/// prints it in the C locale, and returns the number of characters: the exact binary
/// value rounded to `precision` decimals, ties to even; a minus sign whenever the sign
/// bit is set ("-0", "-0.0" for -0.04); "nan", "-nan", "inf", "-inf" for the
/// non-finite values. A float is passed promoted to double, as printf receives it.
/// precision: 0 to kMaxFixedPrecision (clamped to that range).
std::size_t format_fixed(NumberText& text, double value, int precision);

/// "00" to "99", the two digits of each number below 100.
inline constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> pairs{};
  for (std::size_t n = 0; n < 100; ++n) {
    pairs[2 * n] = static_cast<char>('0' + n / 10);
    pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
  }
  return pairs;
}();

/// Writes the last `count` decimal digits of `value`, zero-padded, to end - count up to
/// end - 1, two digits a step (half the divisions). Inline: with a constant count the
/// steps unroll.
inline void put_digits_before(char* end, std::uint64_t value, int count) {
  for (; count >= 2; count -= 2) {
    const auto pair = static_cast<std::size_t>(value % 100);
    value /= 100;
    *--end = kDigitPairs[2 * pair + 1];
    *--end = kDigitPairs[2 * pair];
  }
  if (count > 0) *--end = static_cast<char>('0' + value % 10);
}

/// Writes `value` to the start of `text` as printf("%d", value) prints it and returns
/// the number of characters.
std::size_t format_int(NumberText& text, int value);

/// The blanks that printf's field width `width` puts before a text of `length`
/// characters: numbers are right-aligned, never cut. A width of 0 or less adds none
/// (field widths only: printf's '-' flag for left alignment is not taken).
inline std::size_t field_padding(int width, std::size_t length) {
  const auto w = static_cast<std::size_t>(width > 0 ? width : 0);
  return w > length ? w - length : 0;
}

/// Appends `value` as printf("%*.*f", width, precision, value) prints it.
void append_fixed(std::string& out, double value, int width, int precision);

/// Appends `value` as printf("%*d", width, value) prints it.
void append_int(std::string& out, int value, int width);

/// Writes `value` to `out` as printf("%*.*f", width, precision, value) prints it.
void write_fixed(io::OutputFile& out, double value, int width, int precision);

/// Writes `value` to `out` as printf("%*d", width, value) prints it.
void write_int(io::OutputFile& out, int value, int width);

}  // namespace formats
