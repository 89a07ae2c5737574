#include "answer_options.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace eclfore {
namespace {

GivenAnswers given(std::vector<std::pair<std::string, std::string>> options) {
  io::Options o;
  o.given = std::move(options);
  return given_answers(o);
}

TEST(GivenAnswers, EveryAnswerWithinWhatItsQuestionTakes) {
  const GivenAnswers none = given({});
  EXPECT_FALSE(none.year || none.month || none.lowest_deg || none.condition);
  const GivenAnswers all =
      given({{"year", "-999"}, {"month", "12"}, {"lowest", "20.3"}, {"condition", "0"}});
  EXPECT_EQ(all.year, -999);
  EXPECT_EQ(all.month, 12);
  EXPECT_EQ(all.lowest_deg, 20.3f);  // as a typed "%f" rounds it
  EXPECT_EQ(all.condition, 0);
  EXPECT_EQ(given({{"year", "9999"}}).year, 9999);
}

TEST(GivenAnswers, RefusesValuesTheFilesOrTheCalendarCannotHold) {
  const std::vector<std::pair<std::string, std::string>> bad = {
      {"year", "10000"},   {"year", "-1000"},  {"year", "2006.0"}, {"month", "0"},
      {"month", "13"},     {"lowest", "90.5"}, {"lowest", "nan"},  {"lowest", "-inf"},
      {"condition", "-1"}, {"condition", "x"}};
  for (const auto& option : bad) {
    EXPECT_THROW(given({option}), io::UsageError) << option.first << "=" << option.second;
  }
  EXPECT_NO_THROW(refuse_unlisted_condition(1, 2, "condition.dat"));
  EXPECT_THROW(refuse_unlisted_condition(2, 2, "condition.dat"), io::UsageError);
}

TEST(TypedMonth, OnlyOneToTwelveIsAMonth) {
  EXPECT_FALSE(is_calendar_month(0));
  EXPECT_TRUE(is_calendar_month(1));
  EXPECT_TRUE(is_calendar_month(12));
  EXPECT_FALSE(is_calendar_month(13));
}

}  // namespace
}  // namespace eclfore
