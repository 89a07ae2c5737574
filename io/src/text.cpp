#include "io/text.h"

#include <algorithm>

namespace io {
namespace {

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

}  // namespace

bool all_printable_ascii(std::string_view text) {
  return std::all_of(text.begin(), text.end(), is_printable_ascii);
}

std::string printable_ascii(std::string_view text) {
  std::string out(text);
  std::replace_if(
      out.begin(), out.end(), [](char c) { return !is_printable_ascii(c); }, '?');
  return out;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

}  // namespace io
