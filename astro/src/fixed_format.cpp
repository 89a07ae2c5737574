#include "astro/fixed_format.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace astro {
namespace {

__extension__ typedef unsigned __int128 Uint128;

/// Longest "%.*f" text of a double: a sign, the 309 integer digits of the largest
/// double, the point and the decimals.
constexpr std::size_t kFixedTextChars = 1 + 309 + 1 + kMaxFixedPrecision;
/// Longest "%d" text of an int: a sign and 10 digits.
constexpr std::size_t kIntTextChars = 11;

/// Below this magnitude the value times 10^precision, rounded, stays below 1e18 and
/// fits 64 bits, and the value's binary exponent lies below 2^30, so the exact
/// integer path below applies; everything else (huge values, NaN, infinities) goes
/// through to_chars.
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

/// magnitude x scale rounded to a whole number, ties to even, as the C library rounds
/// the exact binary value (no intermediate rounding). magnitude: 0 <= m < 2^30.
std::uint64_t scaled_and_rounded(double magnitude, std::uint64_t scale) {
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased_exponent = static_cast<int>(bits >> kMantissaBits) & kExponentMask;
  std::uint64_t mantissa = bits & kMantissaMask;
  // magnitude = mantissa x 2^-shift; below 2^30 the shift is at least 23.
  int shift = kSubnormalShift;
  if (biased_exponent != 0) {
    mantissa |= std::uint64_t{1} << kMantissaBits;
    shift = kNormalShiftBase - biased_exponent;
  }
  if (shift >= kVanishingShift) return 0;
  const Uint128 product = static_cast<Uint128>(mantissa) * scale;
  const Uint128 whole = product >> shift;
  const Uint128 rest = product - (whole << shift);
  const Uint128 half = static_cast<Uint128>(1) << (shift - 1);
  auto rounded = static_cast<std::uint64_t>(whole);
  if (rest > half || (rest == half && (rounded & 1) != 0)) ++rounded;
  return rounded;
}

/// Appends text right-aligned in `width` columns.
void append_padded(std::string& out, const char* text, std::size_t length, int width) {
  if (width > 0 && static_cast<std::size_t>(width) > length) {
    out.append(static_cast<std::size_t>(width) - length, ' ');
  }
  out.append(text, length);
}

}  // namespace

void append_fixed(std::string& out, double value, int width, int precision) {
  precision = std::clamp(precision, 0, kMaxFixedPrecision);
  std::array<char, kFixedTextChars> text;
  char* const first = text.data();
  char* const end = first + text.size();
  char* last = first;
  const double magnitude = std::fabs(value);
  if (magnitude < kExactPathLimit) {
    if (std::signbit(value)) *last++ = '-';
    const std::uint64_t scale = kPowersOfTen[static_cast<std::size_t>(precision)];
    const std::uint64_t scaled = scaled_and_rounded(magnitude, scale);
    last = std::to_chars(last, end, scaled / scale).ptr;
    if (precision > 0) {
      *last++ = '.';
      std::uint64_t decimals = scaled % scale;
      for (int k = precision - 1; k >= 0; --k) {
        last[k] = static_cast<char>('0' + decimals % 10);
        decimals /= 10;
      }
      last += precision;
    }
  } else {
    // to_chars with a precision is specified to give printf's "%.*f" in the C locale,
    // NaN and infinities included; the buffer holds its longest result.
    last = std::to_chars(first, end, value, std::chars_format::fixed, precision).ptr;
  }
  append_padded(out, first, static_cast<std::size_t>(last - first), width);
}

void append_int(std::string& out, int value, int width) {
  std::array<char, kIntTextChars> text;
  const char* last = std::to_chars(text.data(), text.data() + text.size(), value).ptr;
  append_padded(out, text.data(), static_cast<std::size_t>(last - text.data()), width);
}

}  // namespace astro
