#include "mark_lines.h"

#include <gtest/gtest.h>

namespace nightmark {
namespace {

/// A night-list line with the given name (columns 0-19), right ascension field
/// (columns 44-48) and declination field (columns 52-57).
std::string list_line(std::string name, std::string ra, std::string dec) {
  name.resize(20, ' ');
  return name + "K001 p 21.50  EA   45   " + ra + "   " + dec +
         "  10.2 11.5     1.2345678  2451234.5678 2453800.0208";
}

TEST(ShortName, EndsAtFirstBlankWithinTwentyColumns) {
  EXPECT_EQ(short_name(list_line("ZZ Ori", " 5 36", " 12 34")), "ZZ");
  EXPECT_EQ(short_name(list_line("ASASJ091012-0507.2", " 5 36", " 12 34")), "ASASJ091012-0507.2");
  EXPECT_EQ(short_name(list_line("ABCDEFGHIJKLMNOPQRST", " 5 36", " 12 34")),
            "ABCDEFGHIJKLMNOPQRST");
  EXPECT_EQ(short_name(list_line(" ZZ Ori", " 5 36", " 12 34")), "");
  EXPECT_EQ(short_name("ABC"), "ABC");
  EXPECT_EQ(short_name(""), "");
}

TEST(AdfLabel, DropsCapitalAsasOnly) {
  EXPECT_EQ(adf_label("ASASJ091012-0507.2"), "J091012-0507.2");
  EXPECT_EQ(adf_label("ASAS"), "");
  EXPECT_EQ(adf_label("asasJ0910"), "asasJ0910");
  EXPECT_EQ(adf_label("ASA"), "ASA");
  EXPECT_EQ(adf_label("ZZ"), "ZZ");
}

TEST(MarkLines, PositionFieldsOfBothFiles) {
  struct Case {
    const char* ra;
    const char* dec;
    const char* adf_position;
    const char* mrk_position;
  };
  const Case cases[] = {
      {" 5 36", " 12 34", "0536.0,+1234.0", "05.36.00 +12.34"},
      {" 9 10", " -5  7", "0910.0,-0507.0", "09.10.00 -05.07"},
      {"15 20", "-20 30", "1520.0,-2030.0", "15.20.00 -20.30"},
      {" 6 50", " 20 10", "0650.0,+2010.0", "06.50.00 +20.10"},
      {" 9  5", "  5  0", "0905.0,+0500.0", "09.05.00 +05.00"},
      {" 0  0", " -0 30", "0000.0,-0030.0", "00.00.00 -00.30"},
      {"23 59", "-89 59", "2359.0,-8959.0", "23.59.00 -89.59"},
      // Nothing but the listed blanks and minus signs is replaced.
      {"x1 2y", " 4a b7", "x12y.0,+4ab7.0", "x1.2y.00 +4a.b7"},
  };
  for (const Case& c : cases) {
    const std::string line = list_line("ZZ Ori", c.ra, c.dec);
    EXPECT_EQ(adf_mark_line(line, false),
              std::string("eqt ") + c.adf_position + ",mark 8,\"ZZ_K21\",1\n")
        << c.ra << "|" << c.dec;
    EXPECT_EQ(mrk_mark_line(line), std::string(c.mrk_position) + " ZZ_K21\n")
        << c.ra << "|" << c.dec;
  }
}

TEST(MarkLines, LabelsAndRecentFlag) {
  const std::string asas = list_line("ASASJ091012-0507.2", " 9 10", " -5  7");
  EXPECT_EQ(adf_mark_line(asas, true), "eqt 0910.0,-0507.0,mark 8,\"J091012-0507.2_K21\",4\n");
  EXPECT_EQ(mrk_mark_line(asas), "09.10.00 -05.07 ASASJ091012-0507.2_K21\n");

  std::string after_midnight = list_line("UU Lib", "15 20", "-20 30");
  after_midnight.replace(20, 1, "B").replace(27, 5, "26.20");
  EXPECT_EQ(adf_mark_line(after_midnight, false), "eqt 1520.0,-2030.0,mark 8,\"UU_B26\",1\n");

  const std::string asas_alone = list_line("ASAS", " 9 10", " -5  7");
  EXPECT_EQ(adf_mark_line(asas_alone, false), "eqt 0910.0,-0507.0,mark 8,\"_K21\",1\n");
  EXPECT_EQ(mrk_mark_line(asas_alone), "09.10.00 -05.07 ASAS_K21\n");
}

TEST(MarkLines, ControlBytesAndBytesNotUtf8AreQuestionMarks) {
  // A TAB is no blank, so it stays inside the short name; an ESC would start a
  // terminal sequence, Latin-1 0xE9 is not UTF-8. UTF-8 itself is kept.
  const std::string named = list_line("V1\tcaf\xC3\xA9\xE9\x1B[m", " 9 10", " -5  7");
  EXPECT_EQ(adf_mark_line(named, false),
            "eqt 0910.0,-0507.0,mark 8,\"V1?caf\xC3\xA9??[m_K21\",1\n");
  EXPECT_EQ(mrk_mark_line(named), "09.10.00 -05.07 V1?caf\xC3\xA9??[m_K21\n");
  std::string stray_catalogue = list_line("ZZ", "15 20", "-20 30");
  stray_catalogue[20] = '\x85';
  EXPECT_EQ(mrk_mark_line(stray_catalogue), "15.20.00 -20.30 ZZ_?21\n");
}

TEST(MarkLines, ShortLineReadsBlanksPastItsEnd) {
  EXPECT_EQ(adf_mark_line("AB", false), "eqt 0 0 .0,+0 0 .0,mark 8,\"AB_   \",1\n");
  EXPECT_EQ(mrk_mark_line(""), "0 .0 .00 +0 .0  _   \n");
}

}  // namespace
}  // namespace nightmark
