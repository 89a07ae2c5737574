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
