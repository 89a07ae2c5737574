#include "astro/records.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace astro {
namespace {

bool is_space(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool is_digit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string extract_field(std::string_view line, int start, int length) {
  if (length <= 0) return {};
  std::string out(static_cast<std::size_t>(length), ' ');
  for (int k = 0; k < length; ++k) {
    const long long column = static_cast<long long>(start) + k;
    if (column >= 0 && column < static_cast<long long>(line.size())) {
      out[static_cast<std::size_t>(k)] = line[static_cast<std::size_t>(column)];
    }
  }
  return out;
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
  std::size_t digits = 0;
  while (i < n && is_digit(text[i])) ++i, ++digits;
  if (i < n && text[i] == '.') {
    ++i;
    while (i < n && is_digit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return 0.0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < n && is_digit(text[j])) {
      while (j < n && is_digit(text[j])) ++j;
      i = j;
    }
  }
  // The prefix is validated above, so strtod sees exactly the number and rounds it
  // correctly; it never meets hex or words here.
  const std::string number(text.substr(begin, i - begin));
  return std::strtod(number.c_str(), nullptr);
}

bool is_blank(std::string_view text) {
  for (char c : text) {
    if (c != ' ') return false;
  }
  return true;
}

}  // namespace astro
