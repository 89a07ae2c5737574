#include "night_filter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace nightmark {
namespace {

constexpr NightDate kMarch5{2006, 3, 5};

/// A daily-list line with the given time (columns 27-31), right ascension
/// (44-48) and declination (52-57) fields.
std::string list_line(const char* time, const char* ra, const char* dec) {
  return std::string("TEST Star           K001 p ") + time + "  EA   45   " + ra + "   " + dec +
         "  10.2 11.5     1.2345678  2451234.5678 2453800.0208";
}

std::string tenths(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

TEST(NightDate, FromTitleColumns) {
  const NightDate d = night_date_from_title("=== 2006/ 3/ 5 ===");
  EXPECT_EQ(d.year, 2006);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.day, 5);
  EXPECT_TRUE(looks_like_calendar_date(d));
  const NightDate negative = night_date_from_title("=== 2006/12/-1 ===");
  EXPECT_EQ(negative.month, 12);
  EXPECT_EQ(negative.day, -1);
  EXPECT_FALSE(looks_like_calendar_date(negative));
  EXPECT_FALSE(looks_like_calendar_date(night_date_from_title("Night of 5 March 2006")));
}

TEST(NightDate, TitleYearOutsideTheYearsIsFlaggedAndHeldAtAnEnd) {
  EXPECT_TRUE(title_year_in_range("=== 2006/ 3/ 5 ==="));
  EXPECT_TRUE(title_year_in_range("=== 9999/ 3/ 5 ==="));
  EXPECT_TRUE(title_year_in_range("=== -999/ 3/ 5 ==="));
  EXPECT_TRUE(title_year_in_range("===    0/ 3/ 5 ==="));
  EXPECT_TRUE(title_year_in_range("=== -1.5/ 3/ 5 ===")) << "truncated to -1";
  struct Case {
    const char* title;
    int year_used;
    const char* shown;
  };
  for (const Case& c :
       {Case{"=== NAN / 3/ 5 ===", 0, "NAN"}, Case{"===     / 3/ 5 ===", 0, ""},
        Case{"=== -NAN/ 3/ 5 ===", 0, "-NAN"}, Case{"=== +INF/ 3/ 5 ===", 9999, "+INF"},
        Case{"=== -INF/ 3/ 5 ===", -999, "-INF"}, Case{"=== 1e9 / 3/ 5 ===", 9999, "1e9"},
        Case{"=== -1e4/ 3/ 5 ===", -999, "-1e4"}, Case{"Night of 5 March", 0, "t of"}}) {
    EXPECT_FALSE(title_year_in_range(c.title)) << c.title;
    EXPECT_EQ(night_date_from_title(c.title).year, c.year_used) << c.title;
    EXPECT_EQ(title_year_text(c.title), c.shown) << c.title;
  }
}

TEST(ListedMinimum, TimeAndPositionFields) {
  const ListedMinimum m = read_listed_minimum(list_line("26.20", "15 20", "-20 30"));
  EXPECT_EQ(m.time_hours, 26.2f);
  EXPECT_EQ(m.ra_hours, 15.333333f);
  EXPECT_EQ(m.dec_degrees, -20.5f);
  EXPECT_EQ(read_listed_minimum(list_line("22.00", " 9 10", " -5  7")).dec_degrees, -5.1166667f);
  // Minus zero degrees: the minus sign still makes the declination southern.
  EXPECT_EQ(read_listed_minimum(list_line("21.50", " 9  0", " -0 30")).dec_degrees, -0.5f);
  EXPECT_EQ(read_listed_minimum(list_line("21.50", " 9  0", "  0 30")).dec_degrees, 0.5f);
  const ListedMinimum blank = read_listed_minimum(list_line("     ", "     ", "      "));
  EXPECT_EQ(blank.time_hours, 0.0f);
  EXPECT_EQ(blank.ra_hours, 0.0f);
  EXPECT_EQ(blank.dec_degrees, 0.0f);
}

TEST(StartTime, HourPlusMinutesInSinglePrecision) {
  EXPECT_EQ(start_time_hours(20, 0), 20.0f);
  EXPECT_EQ(start_time_hours(20, 15), 20.25f);
  EXPECT_EQ(start_time_hours(18, 9), 18.15f);
  EXPECT_EQ(start_time_hours(25, 30), 25.5f);
}

/// The worked example of the night list (title 2006/3/5, start 20:00), to the tenth
/// of a degree as the example gives it.
TEST(Position, WorkedExampleAltitudesAndAzimuths) {
  struct Case {
    const char* line;
    const char* altitude_at_start;
    float minimum_hours;
    const char* azimuth_at_minimum;
  };
  const Case cases[] = {
      {" 5 36| 12 34", "58.5", 21.5f, "73.0"},
      {" 9 10| -5  7", "40.6", 22.0f, "0.6"},
      {" 6 50| 20 10", "73.8", 20.5f, "39.4"},
      {"15 20|-20 30", "-37.5", 26.2f, "329.3"},
  };
  const PlanSite site = plan_site(astro::kBuiltInSite);
  for (const Case& c : cases) {
    const std::string fields = c.line;
    const ListedMinimum m = read_listed_minimum(
        list_line("21.00", fields.substr(0, 5).c_str(), fields.substr(6).c_str()));
    const float ra = ra_radians(m.ra_hours);
    const float dec = dec_radians(m.dec_degrees);
    EXPECT_EQ(tenths(position_at(kMarch5, 20.0f, site, ra, dec).altitude), c.altitude_at_start)
        << c.line;
    EXPECT_EQ(tenths(position_at(kMarch5, c.minimum_hours, site, ra, dec).azimuth),
              c.azimuth_at_minimum)
        << c.line;
  }
  // UU Lib at its minimum would be 27.5 degrees high in the south sector.
  const ListedMinimum uu = read_listed_minimum(list_line("26.20", "15 20", "-20 30"));
  EXPECT_EQ(
      tenths(position_at(kMarch5, 26.2f, site, ra_radians(uu.ra_hours), dec_radians(uu.dec_degrees))
                 .altitude),
      "27.5");
}

// The limit cases themselves run end to end (tests/e2e/nightmark); here the value
// that makes the altitude case a limit case.
TEST(Position, ExactlyTenDegreesAt1809) {
  const ListedMinimum m = read_listed_minimum(list_line("21.00", "10 09", " -7 06"));
  const float ra = ra_radians(m.ra_hours);
  const float dec = dec_radians(m.dec_degrees);
  const PlanSite site = plan_site(astro::kBuiltInSite);
  EXPECT_EQ(position_at(kMarch5, start_time_hours(18, 9), site, ra, dec).altitude, 10.0f);
  EXPECT_GT(position_at(kMarch5, start_time_hours(18, 10), site, ra, dec).altitude, 10.0f);
}

// The night's clock moves every hour of the night: 18:00 on a clock at UT is 27:00 JST
// of the same date, the same instant to the bit (both day fractions are exact).
TEST(Position, NightOnAnotherClock) {
  const PlanSite site = plan_site(astro::kBuiltInSite);
  NightDate at_ut = kMarch5;
  at_ut.utc_offset_days = 0;
  const float ra = ra_radians(5.5f);
  const float dec = dec_radians(20.0f);
  const astro::HorizontalPosition on_ut = position_at(at_ut, 18.0f, site, ra, dec);
  const astro::HorizontalPosition on_jst = position_at(kMarch5, 27.0f, site, ra, dec);
  EXPECT_EQ(on_ut.altitude, on_jst.altitude);
  EXPECT_EQ(on_ut.azimuth, on_jst.azimuth);
  EXPECT_NE(position_at(kMarch5, 18.0f, site, ra, dec).altitude, on_ut.altitude);
}

TEST(Judge, TimeThatIsNotAFiniteNumberDropsTheLine) {
  const PlanSite site = plan_site(astro::kBuiltInSite);
  for (const char* time : {" +INF", " -NAN", " 9e99"}) {
    EXPECT_EQ(judge_minimum(kMarch5, 20.0f, false, site,
                            read_listed_minimum(list_line(time, " 5 36", " 12 34"))),
              Verdict::kNotANumber)
        << time;
  }
}

// The skyline is tested where the 10 degrees are, at the start time, against the
// position the filter computes: a star above 10 degrees is kept only when it also
// stands at or above the skyline at its azimuth there, and not by its azimuth at the
// minimum.
TEST(Judge, TheSkylineAtTheStartTime) {
  const PlanSite site = plan_site(astro::kBuiltInSite);
  const ListedMinimum m = read_listed_minimum(list_line("23.00", " 5 36", " 12 34"));
  const astro::HorizontalPosition at_start =
      position_at(kMarch5, 20.0f, site, ra_radians(m.ra_hours), dec_radians(m.dec_degrees));
  ASSERT_GT(at_start.altitude, 40.0f);
  const double azimuth = astro::azimuth_from_north_deg(at_start.azimuth);
  ASSERT_GT(azimuth, 180.0);  // in the west at 20:00
  auto judge = [&](const astro::HorizonProfile& skyline) {
    return judge_minimum(kMarch5, 20.0f, false, site, m, nullptr, &skyline);
  };
  // Exactly the star's altitude at its azimuth: at the skyline, so kept.
  const astro::HorizonProfile level = astro::horizon_profile({{0, at_start.altitude}});
  EXPECT_EQ(judge(level), Verdict::kKept);
  const astro::HorizonProfile above =
      astro::horizon_profile({{0, std::nextafter(at_start.altitude, 90.0f)}});
  EXPECT_EQ(judge(above), Verdict::kBehindSkyline);
  // A wall in the west hides it, the same wall in the east does not.
  const astro::HorizonProfile west_wall = astro::horizon_profile(
      {{azimuth - 5, 80}, {azimuth + 5, 80}, {azimuth + 10, 0}, {azimuth - 10, 0}});
  EXPECT_EQ(judge(west_wall), Verdict::kBehindSkyline);
  const astro::HorizonProfile east_wall = astro::horizon_profile(
      {{azimuth - 185, 80}, {azimuth - 175, 80}, {azimuth - 170, 0}, {azimuth - 190, 0}});
  EXPECT_EQ(judge(east_wall), Verdict::kKept);
  // The 10 degrees still hold below a skyline lower than them.
  const ListedMinimum low = read_listed_minimum(list_line("21.00", "10 09", " -7 06"));
  const astro::HorizonProfile open = astro::horizon_profile({{0, -5}});
  EXPECT_EQ(judge_minimum(kMarch5, start_time_hours(18, 9), false, site, low, nullptr, &open),
            Verdict::kLowAtStart);
}

}  // namespace
}  // namespace nightmark
