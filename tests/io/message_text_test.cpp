#include <gtest/gtest.h>

#include <string>

#include "io/message_text.h"

namespace {

TEST(EscapeForMessage, PrintableAsciiStaysEverythingElseIsHex) {
  using io::escape_for_message;
  EXPECT_EQ(escape_for_message("V1234 Cyg ~!\"'"), "V1234 Cyg ~!\"'");
  EXPECT_EQ(escape_for_message(std::string("a\0b", 3)), "a\\x00b");
  EXPECT_EQ(escape_for_message("\x1b[31m\t\r\n\x7f"), "\\x1b[31m\\x09\\x0d\\x0a\\x7f");
  EXPECT_EQ(escape_for_message("\xef\xbb\xbf\xff"), "\\xef\\xbb\\xbf\\xff");
  EXPECT_EQ(escape_for_message("C:\\x00"), "C:\\\\x00") << "a backslash is never ambiguous";
  EXPECT_EQ(escape_for_message(""), "");
}

}  // namespace
