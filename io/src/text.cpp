#include "io/text.h"

#include <algorithm>

namespace io {
namespace {

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c; }

/// The length of the well-formed, printable UTF-8 character beyond ASCII that starts
/// `text`, or 0 when there is none.
std::size_t printable_utf8_length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t code = 0;
  if (lead >= 0xc2 && lead <= 0xdf) {
    length = 2;
    code = lead & 0x1fU;
  } else if (lead >= 0xe0 && lead <= 0xef) {
    length = 3;
    code = lead & 0x0fU;
  } else if (lead >= 0xf0 && lead <= 0xf4) {
    length = 4;
    code = lead & 0x07U;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xc0U) != 0x80) return 0;
    code = (code << 6U) | (byte(i) & 0x3fU);
  }
  constexpr char32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
  const bool overlong = code < kShortest[length];
  const bool surrogate = code >= 0xd800 && code <= 0xdfff;
  const bool c1_control = code <= 0x9f;
  const bool not_a_character = code == 0xfffe || code == 0xffff || code > 0x10ffff;
  return overlong || surrogate || c1_control || not_a_character ? 0 : length;
}

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

std::string printable_utf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    const std::size_t length = printable_utf8_length(text);
    if (length > 0) {
      out += text.substr(0, length);
      text.remove_prefix(length);
    } else {
      out += is_printable_ascii(text.front()) ? text.front() : '?';
      text.remove_prefix(1);
    }
  }
  return out;
}

bool same_ignoring_case(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return ascii_lower(x) == ascii_lower(y); });
}

}  // namespace io
