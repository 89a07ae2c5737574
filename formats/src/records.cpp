#include "formats/records.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace formats {
namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }

/// Most digits of a number converted the short way: their whole number stays below
/// 10^15 < 2^53, exact in a double.
constexpr int kShortDigitsMax = 15;
/// 10^0 to 10^15, each exact in a double.
constexpr std::array<double, kShortDigitsMax + 1> kExactPowersOfTen = {
    1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

}  // namespace

std::string extract_field(std::string_view line, int start, int length) {
  if (length <= 0) return {};
  const auto from = static_cast<std::size_t>(start);
  const auto count = static_cast<std::size_t>(length);
  if (start >= 0 && from + count <= line.size()) return std::string(line.substr(from, count));
  std::string out(static_cast<std::size_t>(length), ' ');
  // The columns that lie inside the line, copied at once.
  const long long first = std::max(static_cast<long long>(start), 0LL);
  const long long last =
      std::min(static_cast<long long>(start) + length, static_cast<long long>(line.size()));
  if (first < last) {
    line.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first))
        .copy(out.data() + (first - start), static_cast<std::size_t>(last - first));
  }
  return out;
}

std::string_view field_within(std::string_view line, int start, int length) {
  const long long first = std::max(static_cast<long long>(start), 0LL);
  const long long last =
      std::min(static_cast<long long>(start) + length, static_cast<long long>(line.size()));
  if (first >= last) return {};
  return line.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first));
}

double parse_decimal(std::string_view text) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && is_space(text[i])) ++i;
  const std::size_t begin = i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
    const std::string_view rest = text.substr(i);
    if (rest.starts_with("INF")) {
      return negative ? -std::numeric_limits<double>::infinity()
                      : std::numeric_limits<double>::infinity();
    }
    if (rest.starts_with("NAN")) {
      return negative ? -std::numeric_limits<double>::quiet_NaN()
                      : std::numeric_limits<double>::quiet_NaN();
    }
  }
  const std::size_t unsigned_begin = i;
  // The digits as a whole number, while they are few enough for the short way below.
  std::uint64_t whole_number = 0;
  int digits = 0;
  int fraction_digits = 0;
  auto take_digit = [&](char c) {
    if (digits < kShortDigitsMax) {
      whole_number = whole_number * 10 + static_cast<unsigned>(c - '0');
    }
    ++digits;
  };
  while (i < n && is_digit(text[i])) take_digit(text[i++]);
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && is_digit(text[i])) take_digit(text[i++]), ++fraction_digits;
  }
  if (digits == 0) return 0.0;
  bool exponent = false;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && is_digit(text[j])) {
      while (j < n && is_digit(text[j])) ++j;
      i = j;
      exponent = true;
    }
  }
  if (!exponent && digits <= kShortDigitsMax) {
    // Both operands are exact doubles (below 2^53 and 10^15), so the one division is
    // the correctly rounded value of the decimal, as strtod gives it.
    const double magnitude = static_cast<double>(whole_number) /
                             kExactPowersOfTen[static_cast<std::size_t>(fraction_digits)];
    return negative ? -magnitude : magnitude;
  }
  // The prefix is validated above, so the conversion sees exactly the number and
  // rounds it correctly, as strtod does; it never meets hex or words here.
  // from_chars takes no '+' and needs no NUL-terminated copy; both conversions are
  // correctly rounded, and negation is exact, so the result is strtod's.
  double magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data() + unsigned_begin, text.data() + i, magnitude);
  if (error != std::errc{} || end != text.data() + i) {
    // Beyond double's range: strtod's +-HUGE_VAL or its rounded tiny value.
    const std::string number(text.substr(begin, i - begin));
    return std::strtod(number.c_str(), nullptr);
  }
  return negative ? -magnitude : magnitude;
}

bool is_blank(std::string_view text) {
  for (char c : text) {
    if (c != ' ') return false;
  }
  return true;
}

}  // namespace formats
