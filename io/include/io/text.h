#pragma once
/// ASCII text as the programs filter and compare it: the printable characters, and
/// letters whatever their case. Bytes beyond ASCII are never printable and never letters;
/// a file written in UTF-8 may keep its printable characters beyond ASCII.

#include <string>
#include <string_view>

namespace io {

/// Printable ASCII: the blank up to the tilde (0x20 to 0x7e).
constexpr bool is_printable_ascii(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte >= 0x20 && byte <= 0x7e;
}

/// True when every byte of `text` is printable ASCII (and so when it is empty).
bool all_printable_ascii(std::string_view text);

/// `text` with every byte that is not printable ASCII as '?', for a file that counts
/// bytes or a reader that takes only ASCII.
std::string printable_ascii(std::string_view text);

/// `text` with every byte that is not printable ASCII and not part of a well-formed UTF-8
/// character as '?', for a file whose encoding is UTF-8: a character beyond ASCII is
/// kept when it is printable (not a C1 control, not U+FFFE or U+FFFF); a control byte,
/// a TAB, an overlong form, a surrogate, a stray or a cut-off sequence is not.
/// Printable ASCII text comes back as it is.
std::string printable_utf8(std::string_view text);

/// True when `a` and `b` are the same text but for the case of the ASCII letters.
bool same_ignoring_case(std::string_view a, std::string_view b);

}  // namespace io
