#include "start_answer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "io/run_error.h"

namespace nightmark {
namespace {

io::Options given(std::vector<std::pair<std::string, std::string>> options) {
  io::Options o;
  o.given = std::move(options);
  return o;
}

TEST(StartOption, TakesTheNightsHoursAndDusk) {
  const GivenAnswers none = given_answers(given({}));
  EXPECT_FALSE(none.start || none.start_at_dusk || none.south_only);

  const GivenAnswers evening = given_answers(given({{"start", "20:05"}, {"sky", "south"}}));
  ASSERT_TRUE(evening.start);
  EXPECT_EQ(evening.start->hour, 20);
  EXPECT_EQ(evening.start->minute, 5);
  EXPECT_EQ(evening.south_only, true);

  const GivenAnswers after_midnight = given_answers(given({{"start", "29:59"}, {"sky", "all"}}));
  EXPECT_EQ(after_midnight.start->hour, 29);
  EXPECT_EQ(after_midnight.south_only, false);
  EXPECT_TRUE(given_answers(given({{"start", "dusk"}})).start_at_dusk);
}

TEST(StartOption, RefusesWhatATypedStartWouldWarnOfOrNeverMeet) {
  for (const char* bad : {"11:59", "0:30", "30:00", "20:60", "20:5", "20", "20:05:00", "+20:05",
                          "-1:00", "2O:00", "", "DUSK"}) {
    EXPECT_THROW(given_answers(given({{"start", bad}})), io::UsageError) << bad;
  }
  for (const char* bad : {"", "0", "1", "South", "north"}) {
    EXPECT_THROW(given_answers(given({{"sky", bad}})), io::UsageError) << bad;
  }
}

TEST(DuskStart, RoundsUpToTheFirstDarkMinute) {
  // astropy's dusk at the built-in site on 5 March 2006: 18.07824 h, 18:04:42 JST.
  const formats::ClockTime start = dusk_start({2006, 3, 5}, astro::kBuiltInSite);
  EXPECT_EQ(start.hour, 18);
  EXPECT_EQ(start.minute, 5);
  EXPECT_THROW(dusk_start({2026, 6, 21}, {139.77f, 70.0f}), io::RunError);
}

}  // namespace
}  // namespace nightmark
