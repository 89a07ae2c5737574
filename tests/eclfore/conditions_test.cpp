#include "conditions.h"

#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "io/text_files.h"

namespace {

using eclfore::ConditionTable;
using eclfore::SelectionCondition;

ConditionTable read_from(const std::string& content) {
  e2e::TempDir dir;
  dir.write("condition.dat", content);
  return eclfore::read_conditions((dir.path() / "condition.dat").string());
}

void expect_row(const ConditionTable& t, int n, SelectionCondition want) {
  const SelectionCondition& got = t.rows.at(static_cast<std::size_t>(n));
  EXPECT_EQ(got.mag_bright, want.mag_bright) << "row " << n;
  EXPECT_EQ(got.mag_faint, want.mag_faint) << "row " << n;
  EXPECT_EQ(got.min_depth, want.min_depth) << "row " << n;
  EXPECT_EQ(got.dec_upper, want.dec_upper) << "row " << n;
  EXPECT_EQ(got.dec_lower, want.dec_lower) << "row " << n;
}

TEST(ReadConditions, StreamOfNumbersUpToThe99Row) {
  const char* layouts[] = {
      "8.0 12.5 0.5 90 -30\n6.0 10.0 0.3 60 0\n99\n",
      "8.0 12.5\n0.5\r\n90 -30 6.0 10.0\t0.3 60 0 99",  // rows over lines, no end
      "8.0 12.5 0.5 90 -30\n6.0 10.0 0.3 60 0\n99.0 1 2 3 4\n1 2 3 4 5\n",  // after: unread
      "8.0 12.5 0.5 90 -30\n6.0 10.0 0.3 60 0\n99\n\x1a garbage",
  };
  for (const char* text : layouts) {
    const ConditionTable t = read_from(text);
    ASSERT_EQ(t.count, 2) << text;
    expect_row(t, 0, {8.0f, 12.5f, 0.5f, 90.0f, -30.0f});
    expect_row(t, 1, {6.0f, 10.0f, 0.3f, 60.0f, 0.0f});
  }
}

TEST(ReadConditions, NumbersRoundStraightToFloat) {
  // "%f" semantics: 0.1 is the float nearest 0.1, not the double rounded again.
  const ConditionTable t = read_from("0.1 1e1 .5 +9e0 -0\n99\n");
  expect_row(t, 0, {0.1f, 10.0f, 0.5f, 9.0f, -0.0f});
}

TEST(ReadConditions, WhatDoesNotFitIsLeftOut) {
  std::string twenty_one;
  for (int n = 0; n < 21; ++n) twenty_one += std::to_string(n) + " 12.5 0.5 90 -30\n";
  struct Case {
    std::string text;
    int count;
  };
  const Case cases[] = {
      {twenty_one + "99\n", 19},                                    // first 19 kept
      {twenty_one.substr(0, twenty_one.find("19 ")) + "99\n", 19},  // exactly 19: all
      {"1 2 3 4 5\n6 7 8 9 10\n11 12 13\n", 2},                     // no terminator
      {"1 2 3 4 5\n6 7 8 9 10", 2},                                 // ... nor last line end
      {"1 2 3 4 5\n6 7 eight 9 10\n99\n", 1},                       // text ends the reading
      {"1 2 3 4 5\n6 7 8 9 10\n\x1a", 2},                           // Ctrl-Z ends the input
  };
  for (const Case& c : cases) {
    const ConditionTable t = read_from(c.text);
    EXPECT_EQ(t.count, c.count) << c.text;
    expect_row(t, 0,
               t.count == 19 ? SelectionCondition{0, 12.5f, 0.5f, 90, -30}
                             : SelectionCondition{1, 2, 3, 4, 5});
  }
  expect_row(read_from(twenty_one + "99\n"), 18, {18, 12.5f, 0.5f, 90, -30});
}

TEST(ReadConditions, NoConditionIsAnError) {
  for (const char* text :
       {"", "99\n", "99 1 2 3 4\n1 2 3 4 5\n", "x 1 2 3 4\n99\n", "1 2 3\n", "\x1a"}) {
    try {
      read_from(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const io::RunError& e) {
      EXPECT_NE(std::string(e.what()).find("condition.dat"), std::string::npos) << e.what();
    }
  }
  e2e::TempDir empty;
  EXPECT_THROW(eclfore::read_conditions((empty.path() / "condition.dat").string()), io::RunError);
}

formats::StarRecord star_with(float mag_max, float mag_min, float dec_deg) {
  formats::StarRecord s;
  s.mag_max = mag_max;
  s.mag_min = mag_min;
  s.dec_degree_part = dec_deg;
  return s;
}

TEST(IsSelected, DepthEqualToTheLimitIsSelected) {
  // As floats 10.9 - 10.2 is 0.6999998 and 10.9 - 9.8 is 1.0999994.
  EXPECT_TRUE(eclfore::is_selected(star_with(10.2f, 10.9f, 0), {0, 20, 0.7f, 90, -90}));
  EXPECT_TRUE(eclfore::is_selected(star_with(9.8f, 10.9f, 0), {0, 20, 1.1f, 90, -90}));
  EXPECT_FALSE(eclfore::is_selected(star_with(10.2f, 10.8f, 0), {0, 20, 0.7f, 90, -90}));
  EXPECT_FALSE(eclfore::is_selected(star_with(9.8f, 10.9f, 0), {0, 20, 1.1002f, 90, -90}));
}

TEST(IsSelected, LimitsAreInclusiveAndCompareWholeDegrees) {
  const SelectionCondition c{8.0f, 12.5f, 0.5f, 20.0f, -5.0f};
  EXPECT_TRUE(eclfore::is_selected(star_with(8.0f, 12.5f, 20.0f), c));
  EXPECT_TRUE(eclfore::is_selected(star_with(8.0f, 12.5f, -5.0f), c));
  EXPECT_FALSE(eclfore::is_selected(star_with(7.9f, 12.5f, 0), c));
  EXPECT_FALSE(eclfore::is_selected(star_with(8.0f, 12.6f, 0), c));
  EXPECT_FALSE(eclfore::is_selected(star_with(9.0f, 9.4f, 0), c));
  EXPECT_FALSE(eclfore::is_selected(star_with(8.0f, 12.5f, 21.0f), c));
  EXPECT_FALSE(eclfore::is_selected(star_with(8.0f, 12.5f, -6.0f), c));
  // -0 (a declination between 0 and -1 degree) passes a southern limit of 0.
  EXPECT_TRUE(eclfore::is_selected(star_with(8.0f, 12.5f, -0.0f), {8, 12.5f, 0.5f, 20, 0}));
}

}  // namespace
