#include "plan_entry.h"

#include <gtest/gtest.h>

#include <cmath>

#include "e2e.h"
#include "worked_plan.h"

namespace nightmark {
namespace {

using testing_plan::kLines;

TEST(PlanEntry, ReadsTheDailyListColumns) {
  const PlanEntry zz = read_plan_entry(kLines[0]);
  EXPECT_EQ(zz.name, "ZZ Ori");
  EXPECT_EQ(zz.catalogue, "K001");
  EXPECT_EQ(zz.kind, 'p');
  EXPECT_EQ(zz.time_text, "21.50");
  EXPECT_EQ(zz.var_type, "EA");
  EXPECT_EQ(zz.mag_max, "10.2");
  EXPECT_EQ(zz.minimum_jd, 2453800.0208);
  EXPECT_EQ(zz.listed.time_hours, 21.5f);
  EXPECT_DOUBLE_EQ(zz.position.ra_hours, 5.6);
  EXPECT_DOUBLE_EQ(zz.position.dec_degrees, 12 + 34.0 / 60);
  EXPECT_FALSE(zz.position_from_catalogue);

  EXPECT_DOUBLE_EQ(read_plan_entry(kLines[1]).position.dec_degrees, -(5 + 7.0 / 60));
  EXPECT_EQ(read_plan_entry(kLines[2]).kind, 's');
  // Minus zero degrees is south; the line's own fields, cut short, read blank.
  std::string minus_zero = kLines[0];
  minus_zero.replace(52, 6, " -0 30");
  EXPECT_DOUBLE_EQ(read_plan_entry(minus_zero).position.dec_degrees, -0.5);
  const PlanEntry cut = read_plan_entry(kLines[0].substr(0, 58));
  EXPECT_EQ(cut.mag_max, "");
  EXPECT_EQ(cut.minimum_jd, 0);
}

TEST(PlanEntry, ClockTimeAsThePlanCountsHours) {
  struct Case {
    const char* field;
    const char* clock;
  } cases[] = {{"21.50", "21:30"}, {"22.00", "22:00"}, {"26.20", "26:12"}, {"21.23", "21:14"},
               {"29.99", "29:59"}, {"18.01", "18:01"}, {"-1.00", "??:??"}, {"+NAN", "??:??"}};
  for (const Case& c : cases) {
    PlanEntry e;
    e.time_text = c.field;
    EXPECT_EQ(clock_time_text(e), c.clock) << c.field;
  }
}

TEST(PlanEntry, ClockReadingAfterMidnightFromZero) {
  EXPECT_EQ(clock_reading_text(24.47), "00:28");
  EXPECT_EQ(clock_reading_text(21.5), "21:30");
  EXPECT_EQ(clock_reading_text(23.9999), "00:00") << "rounded to the minute, then the clock";
  EXPECT_EQ(clock_reading_text(29.99), "05:59");
  EXPECT_EQ(clock_reading_text(48.5), "00:30");
  EXPECT_EQ(clock_reading_text(-0.5), "??:??");
  EXPECT_EQ(clock_reading_text(std::nan("")), "??:??");
}

/// A star.dat line: name, right ascension "HH MM SS" and declination "sDD MM".
std::string star_line(std::string name, const char* ra, const char* dec) {
  name.resize(20, ' ');
  return name + " 2451234.5678    1.2345678 " + ra + "  " + dec + "       EA 10.2 11.5      2 K001";
}

TEST(PlanEntry, PositionFromTheCatalogueLineOfTheSameName) {
  e2e::TempDir dir;
  const std::string star_file = (dir.path() / "star.dat").string();
  std::vector<PlanEntry> plan = testing_plan::four_stars();
  plan.push_back(read_plan_entry(kLines[0]));  // a second minimum of ZZ Ori

  take_catalogue_positions(plan, star_file);  // no star.dat: nothing changes
  EXPECT_FALSE(plan[0].position_from_catalogue);

  dir.write("star.dat", star_line("ZZ Ori", "05 36 42", "+12 34") + "\r\n" +
                            star_line("ZZ Ori", "01 00 00", "+01 00") + "\r\n" +
                            star_line("ASASJ091012-0507.2", "09 10 30", "-05 07") + "\r\n" +
                            star_line("UU Lib", "03 00 00", "-20 30") + "\r\n" + "short\r\n");
  take_catalogue_positions(plan, star_file);
  for (const std::size_t i : {std::size_t{0}, std::size_t{4}}) {
    EXPECT_TRUE(plan[i].position_from_catalogue);
    EXPECT_DOUBLE_EQ(plan[i].position.ra_hours, 5 + 36.0 / 60 + 42.0 / 3600);
    EXPECT_DOUBLE_EQ(plan[i].position.dec_degrees, 12 + 34.0 / 60);
  }
  EXPECT_DOUBLE_EQ(plan[1].position.ra_hours, 9 + 10.0 / 60 + 30.0 / 3600);
  EXPECT_DOUBLE_EQ(plan[1].position.dec_degrees, -(5 + 7.0 / 60));
  EXPECT_FALSE(plan[2].position_from_catalogue);  // WW Gem is not in the file
  // UU Lib's line is some other star: the plan's position stays.
  EXPECT_FALSE(plan[3].position_from_catalogue);
  EXPECT_DOUBLE_EQ(plan[3].position.ra_hours, 15 + 20.0 / 60);
}

}  // namespace
}  // namespace nightmark
