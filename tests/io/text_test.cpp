#include "io/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(PrintableAscii, TheBlankUpToTheTildeAndNothingElse) {
  int printable = 0;
  for (int byte = 0; byte < 256; ++byte) {
    if (io::is_printable_ascii(static_cast<char>(byte))) ++printable;
  }
  EXPECT_EQ(printable, 95);
  EXPECT_TRUE(io::is_printable_ascii(' '));
  EXPECT_TRUE(io::is_printable_ascii('~'));
  EXPECT_FALSE(io::is_printable_ascii('\x1f'));
  EXPECT_FALSE(io::is_printable_ascii('\x7f'));
  EXPECT_FALSE(io::is_printable_ascii('\x80')) << "a byte beyond ASCII is a negative char";
  EXPECT_FALSE(io::is_printable_ascii('\xff'));

  EXPECT_TRUE(io::all_printable_ascii("EA/SD"));
  EXPECT_TRUE(io::all_printable_ascii(""));
  EXPECT_FALSE(io::all_printable_ascii("V\tCyg"));
  EXPECT_FALSE(io::all_printable_ascii(std::string("a\0b", 3)));
}

TEST(PrintableAscii, EveryOtherByteBecomesAQuestionMarkInPlace) {
  EXPECT_EQ(io::printable_ascii("V1234 Cyg ~!\"'"), "V1234 Cyg ~!\"'");
  EXPECT_EQ(io::printable_ascii("\xce\xb1 Cyg\t\x7f"), "?? Cyg??") << "one '?' a byte";
  EXPECT_EQ(io::printable_ascii(std::string("a\0b", 3)), "a?b");
  EXPECT_EQ(io::printable_ascii(""), "");
}

TEST(PrintableUtf8, KeepsPrintableCharactersAndMarksEveryOtherByte) {
  EXPECT_EQ(io::printable_utf8("V1234 Cyg ~!\"'"), "V1234 Cyg ~!\"'");
  // Two, three and four bytes, the highest character there is among them.
  EXPECT_EQ(io::printable_utf8("caf\xc3\xa9 \xe5\x8c\x97 \xf0\x9f\x8c\x9f \xf4\x8f\xbf\xbd"),
            "caf\xc3\xa9 \xe5\x8c\x97 \xf0\x9f\x8c\x9f \xf4\x8f\xbf\xbd");
  EXPECT_EQ(io::printable_utf8(std::string("a\0\tb\x7f\x1b", 6)), "a??b??");
  // Latin-1, a lone continuation byte, a sequence cut off at the end of the name.
  EXPECT_EQ(io::printable_utf8("caf\xe9"), "caf?");
  EXPECT_EQ(io::printable_utf8("\x80X"), "?X");
  EXPECT_EQ(io::printable_utf8("X\xe5\x8c"), "X??");
  EXPECT_EQ(io::printable_utf8("\xe5\x8cX"), "??X") << "a sequence broken by ASCII";
  // Well formed in shape but not characters a reader may take.
  EXPECT_EQ(io::printable_utf8("\xc0\xaf"), "??") << "overlong '/'";
  EXPECT_EQ(io::printable_utf8("\xe0\x80\xaf"), "???") << "overlong '/'";
  EXPECT_EQ(io::printable_utf8("\xed\xa0\x80"), "???") << "a surrogate";
  EXPECT_EQ(io::printable_utf8("\xf4\x90\x80\x80"), "????") << "beyond U+10FFFF";
  EXPECT_EQ(io::printable_utf8("\xc2\x9b"), "??") << "C1 control (CSI)";
  EXPECT_EQ(io::printable_utf8("\xef\xbf\xbf"), "???") << "U+FFFF";
  EXPECT_EQ(io::printable_utf8("\xc2\xa0\xc2\xb0"), "\xc2\xa0\xc2\xb0") << "first after C1";
  EXPECT_EQ(io::printable_utf8(""), "");
}

TEST(SameIgnoringCase, OnlyTheAsciiLettersFold) {
  EXPECT_TRUE(io::same_ignoring_case("VarType", "vartype"));
  EXPECT_TRUE(io::same_ignoring_case("EA", "ea"));
  EXPECT_TRUE(io::same_ignoring_case("", ""));
  EXPECT_FALSE(io::same_ignoring_case("EA", "EAD")) << "a prefix is not the same text";
  EXPECT_FALSE(io::same_ignoring_case("EAD", "EA"));
  // 32 apart, as a capital and its small letter are, but no letters.
  EXPECT_FALSE(io::same_ignoring_case("[", "{"));
  EXPECT_FALSE(io::same_ignoring_case("@", "`"));
  EXPECT_FALSE(io::same_ignoring_case("\xc9", "\xe9")) << "Latin-1 E acute is not folded";
}

}  // namespace
