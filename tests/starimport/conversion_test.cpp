// What becomes of a whole record: the types kept by default, a minimum given only as a
// limit, and the names that make two records the same star.
#include <gtest/gtest.h>

#include <string>

#include "conversion.h"
#include "import_report.h"
#include "options.h"

namespace starimport {
namespace {

TEST(DefaultTypes, EveryEclipsingTypeButEllipsoidalAndTransits) {
  const ImportSettings s = import_settings(io::Options{});
  // The GCVS's types, VSX's ASAS types, their subtypes, combinations and uncertain forms.
  for (const char* type : {"E", "EA", "EB", "EW", "EC", "ED", "ESD", "EA/SD", "E/RS", "E:/RS",
                           "EA+DSCTC", "EA:", "ed", "ESD/RS", "EW/KW", "EC+ROT"}) {
    EXPECT_TRUE(type_selected(type, s.conversion.types)) << type;
  }
  for (const char* type : {"ELL", "EP", "ELL/RS", "EP:", "RRAB", "ROT+EA", "", "EA|EB"}) {
    EXPECT_FALSE(type_selected(type, s.conversion.types)) << type;
  }
  EXPECT_TRUE(s.table.need_type);
}

TEST(ClosingLine, TheTimeScaleOfTheLinesWritten) {
  EXPECT_EQ(closing_line(2, 1, {true, false}),
            "2 lines written, 1 record skipped; epochs are HJD: run eclfore and phaselist with "
            "--epochs=hjd");
  EXPECT_EQ(closing_line(1, 0, {false, true}),
            "1 line written, 0 records skipped; a plain table does not say its epochs' time "
            "scale: run eclfore and phaselist with the --epochs its source names");
  // No line, no scale to run the programs with.
  EXPECT_EQ(closing_line(0, 3, {}), "0 lines written, 3 records skipped");
}

}  // namespace
}  // namespace starimport
