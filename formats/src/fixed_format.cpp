#include "formats/fixed_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace formats {
namespace {

__extension__ typedef unsigned __int128 Uint128;

/// Below this magnitude (under 2^30) the whole part fits 64 bits and the fraction times
/// 10^precision fits 128, so the exact integer path below applies; everything else
/// (huge values, NaN, infinities) goes through to_chars.
constexpr double kExactPathLimit = 1e9;

constexpr std::array<std::uint64_t, kMaxFixedPrecision + 1> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000};

/// IEEE double layout: 52 stored mantissa bits, exponent bias 1023.
constexpr int kMantissaBits = 52;
constexpr std::uint64_t kMantissaMask = (std::uint64_t{1} << kMantissaBits) - 1;
constexpr int kExponentMask = 0x7ff;
/// A normal double is mantissa x 2^(biased exponent - kNormalShiftBase).
constexpr int kNormalShiftBase = 1023 + kMantissaBits;
/// A subnormal double is mantissa x 2^-kSubnormalShift.
constexpr int kSubnormalShift = 1074;
/// From this shift on, mantissa x 10^precision (below 2^83) is less than half a unit:
/// the rounded result is 0.
constexpr int kVanishingShift = 100;

/// A magnitude rounded to a number of decimals: whole part and decimals.
struct Rounded {
  std::uint64_t whole = 0;
  std::uint64_t decimals = 0;  ///< the decimals as a whole number, below 10^precision
};

/// magnitude (0 to kExactPathLimit) rounded to `precision` decimals as the C library
/// rounds it: from the exact binary value, with no intermediate rounding, ties to
/// even.
Rounded round_to_decimals(double magnitude, int precision) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased_exponent = static_cast<int>(bits >> kMantissaBits) & kExponentMask;
  std::uint64_t mantissa = bits & kMantissaMask;
  // magnitude = mantissa x 2^-shift; below 2^30 the shift is at least 23.
  int shift = kSubnormalShift;
  if (biased_exponent != 0) {
    mantissa |= std::uint64_t{1} << kMantissaBits;
    shift = kNormalShiftBase - biased_exponent;
  }
  if (shift >= kVanishingShift) return {};
  Rounded r;
  std::uint64_t fraction = mantissa;  // x 2^-shift
  if (shift < 64) {
    r.whole = mantissa >> shift;
    fraction = mantissa - (r.whole << shift);
  }
  const std::uint64_t scale = kPowersOfTen[static_cast<std::size_t>(precision)];
  const Uint128 product = static_cast<Uint128>(fraction) * scale;
  r.decimals = static_cast<std::uint64_t>(product >> shift);
  const Uint128 rest = product - (static_cast<Uint128>(r.decimals) << shift);
  const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
  // A tie goes to the even last printed digit: of the decimals, or of the whole part
  // when none are printed.
  const std::uint64_t last_digit = precision > 0 ? r.decimals : r.whole;
  if (rest > half || (rest == half && (last_digit & 1) != 0)) {
    if (++r.decimals == scale) {
      r.decimals = 0;
      ++r.whole;
    }
  }
  return r;
}

/// Decimal digits of a whole part of at most 10^9.
int digit_count(std::uint64_t whole) {
  int count = 1;
  while (count <= kMaxFixedPrecision && whole >= kPowersOfTen[static_cast<std::size_t>(count)]) {
    ++count;
  }
  return count;
}

}  // namespace

// Hand-written rather than std::to_chars(first, last, value, chars_format::fixed,
// precision), which gives the same bytes: the numbers of the layouts are small, with
// few decimals, and the integer path below is the shorter way for them, measured by
// BM_FormatFixedForecastMix against BM_ToCharsForecastMix (bench/routines_bench.cpp;
// the figures are in bench/README.md).
std::size_t format_fixed(NumberText& text, double value, int precision) {
  precision = std::clamp(precision, 0, kMaxFixedPrecision);
  const double magnitude = std::fabs(value);
  if (!(magnitude < kExactPathLimit)) {
    // to_chars with a precision is specified to give printf's "%.*f" in the C locale,
    // NaN and infinities included; the buffer holds its longest result.
    char* const first = text.data();
    return static_cast<std::size_t>(
        std::to_chars(first, first + text.size(), value, std::chars_format::fixed, precision).ptr -
        first);
  }
  // A whole number (most fields of a catalogue) has nothing to round: below 1e9 its
  // conversion to an integer is exact.
  const auto whole = static_cast<std::uint64_t>(magnitude);
  const Rounded r = static_cast<double>(whole) == magnitude
                        ? Rounded{whole, 0}
                        : round_to_decimals(magnitude, precision);
  const bool negative = std::signbit(value);
  const int whole_digits = digit_count(r.whole);
  // At most 1 + 10 + 1 + 9 characters, well inside the text.
  const int chars = (negative ? 1 : 0) + whole_digits + (precision > 0 ? 1 + precision : 0);
  const auto length = static_cast<std::size_t>(chars);
  char* end = text.data() + length;
  if (precision > 0) {
    put_digits_before(end, r.decimals, precision);
    end -= precision;
    *--end = '.';
  }
  put_digits_before(end, r.whole, whole_digits);
  if (negative) text[0] = '-';
  return length;
}

std::size_t format_int(NumberText& text, int value) {
  return static_cast<std::size_t>(std::to_chars(text.data(), text.data() + text.size(), value).ptr -
                                  text.data());
}

void append_fixed(std::string& out, double value, int width, int precision) {
  NumberText text;
  const std::size_t length = format_fixed(text, value, precision);
  out.append(field_padding(width, length), ' ');
  out.append(text.data(), length);
}

void append_int(std::string& out, int value, int width) {
  NumberText text;
  const std::size_t length = format_int(text, value);
  out.append(field_padding(width, length), ' ');
  out.append(text.data(), length);
}

namespace {

/// Writes the `length` characters of `text` right-aligned in a field of `width`.
void write_in_field(io::OutputFile& out, const NumberText& text, std::size_t length, int width) {
  static constexpr std::string_view kBlanks = "                                ";
  for (std::size_t padding = field_padding(width, length); padding > 0;) {
    const std::size_t count = padding < kBlanks.size() ? padding : kBlanks.size();
    out.write_text(kBlanks.substr(0, count));
    padding -= count;
  }
  out.write_text(std::string_view(text.data(), length));
}

}  // namespace

void write_fixed(io::OutputFile& out, double value, int width, int precision) {
  NumberText text;
  write_in_field(out, text, format_fixed(text, value, precision), width);
}

void write_int(io::OutputFile& out, int value, int width) {
  NumberText text;
  write_in_field(out, text, format_int(text, value), width);
}

}  // namespace formats
