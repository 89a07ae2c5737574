#include "decimal_text.h"

#include <algorithm>
#include <limits>

namespace starimport {
namespace {

/// Larger exponents than this cannot be a catalogue's number, and would only make
/// strings of zeros.
constexpr int kMaxExponent = 400;

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_blanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

__int128 power_of_ten(int exponent) {
  __int128 p = 1;
  for (int i = 0; i < exponent; ++i) p *= 10;
  return p;
}

}  // namespace

bool DecimalText::is_zero() const {
  const auto zero = [](char c) { return c == '0'; };
  return std::all_of(integer_digits.begin(), integer_digits.end(), zero) &&
         std::all_of(fraction_digits.begin(), fraction_digits.end(), zero);
}

std::string DecimalText::text() const {
  std::string out = negative ? "-" : "";
  out += integer_digits.empty() ? "0" : integer_digits;
  if (has_point) out += "." + fraction_digits;
  return out;
}

std::optional<DecimalText> parse_decimal_text(std::string_view text) {
  text = trim_blanks(text);
  DecimalText number;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  std::string digits;
  std::size_t integer_count = 0;
  while (i < text.size() && is_digit(text[i])) digits += text[i++];
  integer_count = digits.size();
  if (i < text.size() && text[i] == '.') {
    number.has_point = true;
    ++i;
    while (i < text.size() && is_digit(text[i])) digits += text[i++];
  }
  if (digits.empty()) return std::nullopt;
  long shift = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negative_exponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negative_exponent = text[i++] == '-';
    }
    if (i == text.size() || !is_digit(text[i])) return std::nullopt;
    while (i < text.size() && is_digit(text[i])) {
      shift = shift * 10 + (text[i++] - '0');
      if (shift > kMaxExponent) return std::nullopt;
    }
    if (negative_exponent) shift = -shift;
  }
  if (i != text.size()) return std::nullopt;

  if (shift != 0) {
    // The exponent moves the point; the digits stay as written.
    long point = static_cast<long>(integer_count) + shift;
    if (point < 0) {
      digits.insert(0, static_cast<std::size_t>(-point), '0');
      point = 0;
    }
    if (point > static_cast<long>(digits.size())) {
      digits.append(static_cast<std::size_t>(point) - digits.size(), '0');
    }
    integer_count = static_cast<std::size_t>(point);
    number.has_point = integer_count < digits.size();
  }
  number.integer_digits = digits.substr(0, integer_count);
  number.fraction_digits = digits.substr(integer_count);
  const std::size_t first = number.integer_digits.find_first_not_of('0');
  number.integer_digits.erase(0, first == std::string::npos ? number.integer_digits.size() : first);
  return number;
}

std::optional<ExactDecimal> to_exact(const DecimalText& number) {
  if (number.integer_digits.size() + number.fraction_digits.size() >
      static_cast<std::size_t>(kMaxExactDigits)) {
    return std::nullopt;
  }
  ExactDecimal value;
  for (char c : number.integer_digits + number.fraction_digits) {
    value.units = value.units * 10 + (c - '0');
  }
  if (number.negative) value.units = -value.units;
  value.scale = static_cast<int>(number.fraction_digits.size());
  return value;
}

ExactDecimal add(const ExactDecimal& a, const ExactDecimal& b) {
  const int scale = std::max(a.scale, b.scale);
  return {a.units * power_of_ten(scale - a.scale) + b.units * power_of_ten(scale - b.scale), scale};
}

std::int64_t round_ratio(const ExactDecimal& value, std::int64_t multiplier, std::int64_t divisor) {
  const bool negative = value.units < 0;
  const __int128 magnitude = (negative ? -value.units : value.units) * multiplier;
  const __int128 denominator = power_of_ten(value.scale) * divisor;
  // Adding half the divisor before the division rounds halves up in magnitude.
  __int128 rounded = (2 * magnitude + denominator) / (2 * denominator);
  rounded = std::min<__int128>(rounded, std::numeric_limits<std::int64_t>::max());
  const auto result = static_cast<std::int64_t>(rounded);
  return negative ? -result : result;
}

int compare(const ExactDecimal& value, std::int64_t n) {
  const __int128 scaled = static_cast<__int128>(n) * power_of_ten(value.scale);
  return value.units < scaled ? -1 : value.units > scaled ? 1 : 0;
}

std::string exact_text(const ExactDecimal& value) {
  const bool negative = value.units < 0;
  __int128 magnitude = negative ? -value.units : value.units;
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
    magnitude /= 10;
  } while (magnitude > 0);
  const auto scale = static_cast<std::size_t>(value.scale);
  if (digits.size() <= scale) digits.insert(0, scale + 1 - digits.size(), '0');
  std::string text = negative ? "-" : "";
  text += digits.substr(0, digits.size() - scale);
  if (scale > 0) text += "." + digits.substr(digits.size() - scale);
  return text;
}

DecimalText fitted_to_columns(DecimalText number, std::size_t columns) {
  while (number.text().size() > columns && !number.fraction_digits.empty()) {
    const bool up = number.fraction_digits.back() >= '5';
    number.fraction_digits.pop_back();
    if (!up) continue;
    // Carry the rounding up through the digits kept.
    std::string digits = number.integer_digits + number.fraction_digits;
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
    if (i == 0) {
      digits.insert(digits.begin(), '1');
    } else {
      ++digits[i - 1];
    }
    const std::size_t fraction = number.fraction_digits.size();
    number.integer_digits = digits.substr(0, digits.size() - fraction);
    number.fraction_digits = digits.substr(digits.size() - fraction);
  }
  if (number.fraction_digits.empty()) number.has_point = false;
  return number;
}

DecimalText times_hundred(DecimalText number) {
  for (int k = 0; k < 2; ++k) {
    if (number.fraction_digits.empty()) {
      number.integer_digits += '0';
    } else {
      number.integer_digits += number.fraction_digits.front();
      number.fraction_digits.erase(0, 1);
    }
  }
  const std::size_t first = number.integer_digits.find_first_not_of('0');
  number.integer_digits.erase(0, first == std::string::npos ? number.integer_digits.size() : first);
  if (number.fraction_digits.empty()) number.has_point = false;
  return number;
}

}  // namespace starimport
