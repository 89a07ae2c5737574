#include "recent_observations.h"

#include <gtest/gtest.h>

#include <string>

#include "e2e.h"

namespace nightmark {
namespace {

TEST(RecentEntry, LeadingRunOfCodes20To127CutAt20) {
  using namespace std::string_literals;
  EXPECT_EQ(recent_entry_of("ZZ Ori"), "ZZ Ori");
  EXPECT_EQ(recent_entry_of(""), "");
  EXPECT_EQ(recent_entry_of("VV Cep\tseen 3/1"), "VV Cep");
  EXPECT_EQ(recent_entry_of("\x13X"), "");
  EXPECT_EQ(recent_entry_of("\x14X\x7f"), "\x14X\x7f");
  EXPECT_EQ(recent_entry_of("AB\x80"
                            "CD"),
            "AB");
  EXPECT_EQ(recent_entry_of("\xc3\xa9t\xc3\xa9"), "");
  EXPECT_EQ(recent_entry_of("A\0B"s), "A");
  EXPECT_EQ(recent_entry_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ"), "ABCDEFGHIJKLMNOPQRST");
}

RecentObservationList list_of(const std::string& text) {
  e2e::TempDir dir;
  dir.write("recent_obs.txt", text);
  return load_recent_observations((dir.path() / "recent_obs.txt").string());
}

TEST(RecentList, LoadsEveryLineInOrder) {
  const RecentObservationList list = list_of("WW Gem\r\n\nABCDEFGHIJKLMNOPQRSTUVW\nLAST");
  ASSERT_EQ(list.count, 4);
  EXPECT_EQ(list.entries[1].length, 0);
  EXPECT_EQ(list.entries[2].length, 20);
  EXPECT_EQ(std::string(list.entries[3].chars.data(), list.entries[3].length), "LAST");
  EXPECT_EQ(list_of("").count, 0);
  EXPECT_EQ(load_recent_observations("/nonexistent/recent_obs.txt").count, 0);
}

// The look-up cases of the mark files run end to end (tests/e2e/nightmark).
TEST(RecentList, LookUpNeedsTheWholeNameInOneEntry) {
  const RecentObservationList list = list_of("ZZ Ori\n\nABCDEFGHIJKLMNOPQRSTUV\n");
  EXPECT_TRUE(is_recently_observed(list, "ZZ Ori"));
  EXPECT_FALSE(is_recently_observed(list, "ZZ Oriz"));
  EXPECT_TRUE(is_recently_observed(list, "ABCDEFGHIJKLMNOPQRST"));
  EXPECT_FALSE(is_recently_observed(list, "ABCDEFGHIJKLMNOPQRSTU"));
  EXPECT_FALSE(is_recently_observed(list, ""));
  EXPECT_FALSE(is_recently_observed(RecentObservationList{}, "ZZ"));
}

}  // namespace
}  // namespace nightmark
