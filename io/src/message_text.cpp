#include "io/message_text.h"

namespace io {
namespace {

/// Printable ASCII: the blank up to the tilde.
constexpr unsigned char kFirstPrintable = 0x20;
constexpr unsigned char kLastPrintable = 0x7e;

}  // namespace

std::string escape_for_message(std::string_view bytes) {
  static constexpr char kHexDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '\\') {
      text += "\\\\";
    } else if (byte >= kFirstPrintable && byte <= kLastPrintable) {
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
