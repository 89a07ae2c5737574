// What becomes of a whole record: the types kept by default, a minimum given only as a
// limit, and the names that make two records the same star.
#include <gtest/gtest.h>

#include <string>

#include "conversion.h"
#include "import_report.h"
#include "options.h"
#include "star_name.h"

namespace starimport {
namespace {

TEST(DefaultTypes, EveryEclipsingTypeButEllipsoidalAndTransits) {
  const ImportSettings s = import_settings(io::Options{});
  // The GCVS's types, VSX's ASAS types, their subtypes, combinations and uncertain forms.
  for (const char* type : {"E", "EA", "EB", "EW", "EC", "ED", "ESD", "EA/SD", "E/RS", "E:/RS",
                           "EA+DSCTC", "EA:", "ed", "ESD/RS", "EW/KW", "EC+ROT", "EA|EB"}) {
    EXPECT_TRUE(type_selected(type, s.conversion.types)) << type;
  }
  for (const char* type : {"ELL", "EP", "ELL/RS", "EP:", "RRAB", "ROT+EA", "", "ELL|EA"}) {
    EXPECT_FALSE(type_selected(type, s.conversion.types)) << type;
  }
  EXPECT_TRUE(s.table.need_type);
}

TEST(ClosingLine, TheTimeScaleOfTheLinesWritten) {
  EXPECT_EQ(closing_line(2, 1, {true, false}),
            "2 lines written, 1 record skipped; epochs are HJD, as the lines say");
  EXPECT_EQ(closing_line(3, 0, {true, false, true}, 1),
            "3 lines written, 0 records skipped; epochs are HJD, as the lines say; epochs are "
            "BJD (TDB), as the lines say; 1 line gives no magnitude at minimum: only a condition "
            "with a negative least depth selects it, or type the minimum into columns 78-81");
  EXPECT_EQ(closing_line(1, 0, {false, true}),
            "1 line written, 0 records skipped; a plain table does not say its epochs' time "
            "scale: run eclfore and phaselist with the --epochs its source names");
  // No line, no scale to run the programs with.
  EXPECT_EQ(closing_line(0, 3, {}), "0 lines written, 3 records skipped");
}

TEST(StarNameKey, OneStarWrittenInTheWaysCataloguesWriteIt) {
  const std::string v772 = star_name_key("V772 Cas");
  EXPECT_EQ(v772, "V772 Cas");
  for (const char* name : {"V0772 Cas", " V0772   Cas ", "V00772\tCas",
                           "V772\x01"
                           "Cas"}) {
    EXPECT_EQ(star_name_key(name), v772) << name;
  }
  EXPECT_EQ(star_name_key("RT    And"), "RT And");
  EXPECT_EQ(star_name_key("V0001 Cyg"), "V1 Cyg");
  EXPECT_EQ(star_name_key("V0 Cyg"), "V0 Cyg");
  for (const char* name : {"bet Per", "Bet Per", "BET  Per"}) {
    EXPECT_EQ(star_name_key(name), "bet Per") << name;
  }
  EXPECT_EQ(star_name_key("Alf02 CVn"), "alf02 CVn");
  EXPECT_EQ(star_name_key("MU Cas"), "mu Cas");
  // Nothing else: other stars, other spellings, other words.
  for (const auto& [a, b] : {std::pair{"V772 Cas", "V7720 Cas"},
                             {"RZ Cas", "Rz Cas"},
                             {"alf CVn", "alp CVn"},
                             {"V772 Cas", "v772 Cas"},
                             {"NSV 0123", "NSV 123"},
                             {"bet Per", "bet PER"},
                             {"ASAS J000027+0319.9", "ASAS J000027+0319.90"},
                             {"Vir V0772", "Vir V772"},
                             {"BETA Per", "bet Per"}}) {
    EXPECT_NE(star_name_key(a), star_name_key(b)) << a << " / " << b;
  }
}

}  // namespace
}  // namespace starimport
