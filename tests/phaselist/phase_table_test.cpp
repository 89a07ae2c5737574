#include "phase_table.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "e2e.h"
#include "formats/layouts.h"
#include "io/output_file.h"
#include "io/text_files.h"

namespace {

using phaselist::phase_at;

TEST(PhaseAt, TruncatesTowardZeroSoPhasesBeforeTheEpochAreNegative) {
  EXPECT_EQ(phase_at(110.25, 100.0, 2.0), 0.125);
  EXPECT_EQ(phase_at(100.0, 100.0, 2.0), 0.0);
  EXPECT_EQ(phase_at(99.0, 100.0, 2.0), -0.5);
  EXPECT_EQ(phase_at(95.0, 100.0, 2.0), -0.5);
}

TEST(PhaseAt, CycleCountMustFit32Bits) {
  // x = 2147483647.5 whole periods: the count 2^31 - 1 still fits.
  EXPECT_EQ(phase_at(2147483647.5, 0.0, 1.0), 0.5);
  EXPECT_EQ(phase_at(2147483648.0, 0.0, 1.0), std::nullopt);
  EXPECT_EQ(phase_at(-2147483648.5, 0.0, 1.0), -0.5);
  EXPECT_EQ(phase_at(-2147483649.0, 0.0, 1.0), std::nullopt);
  // A period of 1e-9 days over ten years, and one so small that x overflows.
  EXPECT_EQ(phase_at(53800.0, 50000.0, 1e-9), std::nullopt);
  EXPECT_EQ(phase_at(53800.0, 50000.0, 1e-320), std::nullopt);
  EXPECT_EQ(phase_at(53800.0, std::numeric_limits<double>::quiet_NaN(), 1.0), std::nullopt);
}

TEST(AltitudeField, BelowZeroIsDashesHoweverSmall) {
  EXPECT_EQ(phaselist::altitude_field(0.0f), "( 0)");
  EXPECT_EQ(phaselist::altitude_field(-0.0f), "( 0)");
  EXPECT_EQ(phaselist::altitude_field(0.999f), "( 0)");
  EXPECT_EQ(phaselist::altitude_field(14.9f), "(14)");
  EXPECT_EQ(phaselist::altitude_field(90.0f), "(90)");
  EXPECT_EQ(phaselist::altitude_field(-1e-30f), "(--)");
  EXPECT_EQ(phaselist::altitude_field(-0.5f), "(--)");
  EXPECT_EQ(phaselist::altitude_field(-89.0f), "(--)");
  EXPECT_EQ(phaselist::altitude_field(std::nanf("")), "(--)");
}

TEST(AltitudeField, BehindTheSkylineIsDashesInTheSameWidth) {
  // A roof in the south, 30 degrees high from 135 to 225 degrees from north.
  const astro::HorizonProfile roof =
      astro::horizon_profile({{125, 0}, {135, 30}, {225, 30}, {235, 0}});
  phaselist::StarAtTime south{0.5, 29.9f, 360.0f};  // the horizon routines' south
  EXPECT_EQ(phaselist::altitude_field(south, &roof), "(--)");
  EXPECT_EQ(phaselist::altitude_field(south, nullptr), "(29)");
  south.altitude = 30;
  EXPECT_EQ(phaselist::altitude_field(south, &roof), "(30)");
  phaselist::StarAtTime north{0.5, 12.0f, 180.0f};
  EXPECT_EQ(phaselist::altitude_field(north, &roof), "(12)");
  north.altitude = -0.5f;  // below the horizon stays "(--)" in front of a lower skyline
  const astro::HorizonProfile sea = astro::horizon_profile({{0, -2}});
  EXPECT_EQ(phaselist::altitude_field(north, &sea), "(--)");
}

TEST(TitleLine, TheTypedNumbersInTheColumnsOfTheCFormat) {
  // The columns of printf's "%4d/%2d/%2d %2d:%2d", for every kind of number a user can
  // type: the table's title has always had these bytes.
  const auto printf_title = [](const phaselist::TypedTime& a, const phaselist::TypedTime& b) {
    char text[256];
    std::snprintf(text, sizeof text,
                  "Date & Time ; start %4d/%2d/%2d %2d:%2d - stop %4d/%2d/%2d %2d:%2d (JST)",
                  a.year, a.month, a.day, a.hour, a.minute, b.year, b.month, b.day, b.hour,
                  b.minute);
    return std::string(text);
  };
  const phaselist::TypedTime start{2006, 3, 20, 21, 0};
  const phaselist::TypedTime stop{2006, 3, 21, 28, 30};
  EXPECT_EQ(phaselist::title_line(start, stop),
            "Date & Time ; start 2006/ 3/20 21: 0 - stop 2006/ 3/21 28:30 (JST)");
  constexpr int kNumbers[] = {
      0,   1,    -1,   9,    10,    -9,     -10,   99,   100,        -100,
      999, 1000, -999, 9999, 10000, -12345, 65536, 1998, 2147483647, -2147483647 - 1};
  for (const int n : kNumbers) {
    for (const int m : kNumbers) {
      const phaselist::TypedTime a{n, m, n, m, n};
      const phaselist::TypedTime b{m, n, m, n, m};
      EXPECT_EQ(phaselist::title_line(a, b), printf_title(a, b)) << n << " " << m;
    }
  }
}

TEST(WriteTitle, PutsTheYearsOfTheirColumnsWhereTheLayoutHasThem) {
  e2e::TempDir dir;
  const std::string path = (dir.path() / "isou.txt").string();
  {
    io::OutputFile table(path);
    phaselist::write_title(table, {9999, 3, 7, 4, 30}, {-999, 12, 31, 29, 59});
    table.close();
  }
  const std::string title = e2e::read_file(path);
  ASSERT_EQ(title, "Date & Time ; start 9999/ 3/ 7  4:30 - stop -999/12/31 29:59 (JST)\r\n\r\n");
  EXPECT_EQ(formats::extract_field(title, formats::phase_table_title::kStartYear), "9999");
  EXPECT_EQ(formats::extract_field(title, formats::phase_table_title::kStopYear), "-999");
}

}  // namespace
