#include "times.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <tuple>

#include "astro/civil_clock.h"
#include "astro/horizon.h"
#include "astro/sites.h"
#include "io/cli.h"
#include "io/run_error.h"
#include "io/text_files.h"
#include "phase_table.h"
#include "typed_input.h"

namespace {

using phaselist::TypedTime;

double lst_at_site(const phaselist::TableTime& t) {
  return astro::local_sidereal_time(t.mjd, astro::kBuiltInSite.longitude_deg);
}

TEST(DecimalHour, IsRoundedToFloatOnceFromExtendedPrecision) {
  EXPECT_EQ(phaselist::decimal_hour(4, 30), 4.5f);
  EXPECT_EQ(phaselist::decimal_hour(5, 45), 5.75f);
  EXPECT_EQ(phaselist::decimal_hour(28, 30), 28.5f);
  // Minutes are not checked: 75 minutes run on into the next hour.
  EXPECT_EQ(phaselist::decimal_hour(4, 75), 5.25f);
  EXPECT_EQ(phaselist::decimal_hour(-1, 30), -0.5f);
  // Single-precision arithmetic would round twice and give 0x1.2eeefp+0 here.
  EXPECT_EQ(phaselist::decimal_hour(1, 11), 0x1.2eeeeep+0f);
  EXPECT_EQ(phaselist::decimal_hour(23, 59), 0x1.7fbbbcp+4f);
}

TEST(TableTime, WorkedExampleInstants) {
  const auto start = phaselist::table_time(TypedTime{2006, 3, 7, 4, 30});
  const auto stop = phaselist::table_time(TypedTime{2006, 3, 7, 5, 45});
  EXPECT_EQ(start.mjd, 53800.8125);
  EXPECT_EQ(stop.mjd, 53800.864583328366);  // 53800.8645833 to seven decimals
  // The sidereal times at the built-in site that the table's altitudes take.
  EXPECT_EQ(lst_at_site(start), 4.1304451508654649);
  EXPECT_EQ(lst_at_site(stop), 4.4585903329380141);
}

TEST(TableTime, HoursAfterMidnightRunIntoTheNextDay) {
  const auto typed_late = phaselist::table_time(TypedTime{2006, 3, 6, 28, 30});
  const auto typed_early = phaselist::table_time(TypedTime{2006, 3, 7, 4, 30});
  EXPECT_EQ(typed_late.mjd, typed_early.mjd);
  EXPECT_EQ(lst_at_site(typed_late), lst_at_site(typed_early));
  // 29:45 is not 5:45 to the bit: the single-precision day fractions differ.
  EXPECT_EQ(phaselist::table_time(TypedTime{2006, 3, 6, 29, 45}).mjd, 53800.86458337307);
}

// On a zone's clock a typed time takes the offset of its night. London left summer
// time at 01:00 UT on 2006-10-29: 1:30 that morning happened twice, and as a time of the
// night of the 28th it is the first, 1:30 BST (00:30 UT), as is 25:30 of the 28th;
// 21:00 on the 29th is GMT.
TEST(TableTime, ZoneTimesTakeTheClockOfTheirNight) {
  const astro::CivilClock london = astro::CivilClock::zone("Europe/London").value();
  const auto evening = phaselist::table_time(TypedTime{2006, 10, 28, 21, 0}, london);
  EXPECT_EQ(evening.mjd, 54036.833333333336);  // 20:00 UT, the double nearest to it
  EXPECT_EQ(evening.clock_name, "BST");
  const auto morning = phaselist::table_time(TypedTime{2006, 10, 29, 1, 30}, london);
  const auto typed_late = phaselist::table_time(TypedTime{2006, 10, 28, 25, 30}, london);
  EXPECT_NEAR(morning.mjd, 54037.0208333, 1e-7);  // 00:30 UT
  EXPECT_EQ(morning.mjd, typed_late.mjd);
  EXPECT_EQ(morning.clock_name, "BST");
  const auto next = phaselist::table_time(TypedTime{2006, 10, 29, 21, 0}, london);
  EXPECT_NEAR(next.mjd - evening.mjd, 25.0 / 24, 1e-9);
  EXPECT_EQ(phaselist::clock_names_of(evening, next), "BST - GMT");
  EXPECT_EQ(phaselist::clock_names_of(evening, morning), "BST");
  // The default clock and a fixed +09:00 give the JST instants to the bit.
  const TypedTime worked{2006, 3, 7, 4, 30};
  EXPECT_EQ(phaselist::table_time(worked, astro::CivilClock::fixed(9 * 3600)).mjd,
            phaselist::table_time(worked).mjd);
}

using Input = support::TypedInput;

TEST(ReadTypedTime, TakesFiveIntegersAcrossLines) {
  Input in("2006 3\n 7\n\n4 30 2006 3 7 5 45");
  const TypedTime start = phaselist::read_typed_time(in.file, "start");
  const TypedTime stop = phaselist::read_typed_time(in.file, "stop");
  EXPECT_EQ(start.year, 2006);
  EXPECT_EQ(start.day, 7);
  EXPECT_EQ(start.minute, 30);
  EXPECT_EQ(stop.hour, 5);
  EXPECT_EQ(stop.minute, 45);
}

TEST(ReadTypedTime, RefusesWhatIsNotFiveIntegersNamingTheAnswer) {
  for (const char* text :
       {"2006 3 7 4.5 30", "2006 3 7 four 30", "2006 3 7 4 99999999999", "2006 3 7 4", ""}) {
    Input in(text);
    try {
      phaselist::read_typed_time(in.file, "start date & time");
      ADD_FAILURE() << "accepted '" << text << "'";
    } catch (const io::RunError& e) {
      EXPECT_EQ(std::string(e.what()).rfind("start date & time: ", 0), 0u) << e.what();
    }
  }
}

TEST(RefuseYearBeyondTitle, TakesTheFourColumnsOfYearsAndLeavesTheRestUnchecked) {
  EXPECT_NO_THROW(phaselist::refuse_year_beyond_title({9999, 13, 32, 28, 75}, "start", "isou.txt"));
  EXPECT_NO_THROW(phaselist::refuse_year_beyond_title({-999, 2147483647, -2147483647 - 1, 0, 0},
                                                      "stop", "isou.txt"));
  for (const int year : {10000, -1000, 2147483647, -2147483647 - 1}) {
    try {
      phaselist::refuse_year_beyond_title({year, 3, 7, 4, 30}, "stop date & time", "isou.txt");
      ADD_FAILURE() << "accepted " << year;
    } catch (const io::RunError& e) {
      EXPECT_EQ(std::string(e.what()), "stop date & time: year " + std::to_string(year) +
                                           " does not fit the 4 columns of the year in "
                                           "isou.txt's title (-999 to 9999)");
    }
  }
}

}  // namespace

namespace {

std::optional<TypedTime> start_given(const std::string& text) {
  io::Options options;
  options.given = {{"start", text}};
  return phaselist::time_option(options, phaselist::kStartOption);
}

TEST(TimeOption, ReadsTheTypedFiveNumbersFromOneText) {
  EXPECT_FALSE(phaselist::time_option(io::Options{}, phaselist::kStopOption));
  const auto t = start_given("2025-01-15T25:30");
  ASSERT_TRUE(t);
  EXPECT_EQ(std::tie(t->year, t->month, t->day, t->hour, t->minute),
            std::make_tuple(2025, 1, 15, 25, 30));
  const auto ancient = start_given("-999-3-7T0:05");
  ASSERT_TRUE(ancient);
  EXPECT_EQ(std::tie(ancient->year, ancient->month, ancient->day, ancient->hour, ancient->minute),
            std::make_tuple(-999, 3, 7, 0, 5));
  EXPECT_EQ(start_given("9999-12-31T29:59")->year, 9999);
}

TEST(TimeOption, RefusesWhatTheTitleOrTheCalendarCannotHold) {
  for (const char* bad :
       {"10000-01-01T00:00", "-1000-01-01T00:00", "2025-13-01T00:00", "2025-00-01T00:00",
        "2025-01-32T00:00", "2025-01-00T00:00", "2025-01-01T30:00", "2025-01-01T00:60",
        "2025-01-01T00:5", "2025-01-01", "2025-01-01 00:00", "2025/01/01T00:00", "T00:00",
        "2025-01-01T", "+2025-01-01T00:00", "2025-001-01T00:00", ""}) {
    EXPECT_THROW(start_given(bad), io::UsageError) << bad;
  }
}

}  // namespace
