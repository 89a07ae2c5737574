#include "io/message_text.h"

#include "io/text.h"

namespace io {

std::string escape_for_message(std::string_view bytes) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\\') {
      text += "\\\\";
    } else if (is_printable_ascii(c)) {
      text += c;
    } else {
      text += "\\x";
      text += kHexDigits[byte >> 4];
      text += kHexDigits[byte & 0xf];
    }
  }
  return text;
}

}  // namespace io
