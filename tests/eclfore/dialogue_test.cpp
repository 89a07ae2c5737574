// The dialogue's check on the year, with what it prints.
#include "dialogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "io/run_error.h"
#include "typed_input.h"

namespace {

using Typed = support::TypedInput;

TEST(AskYear, TakesEveryYearOfTheFourColumns) {
  for (const int year : {-999, 0, 2006, 9999}) {
    Typed in(std::to_string(year) + "\n10\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(eclfore::ask_year(in.file, "data.dat"), year);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "year  = ");
  }
}

TEST(AskYear, RefusesAYearWiderThanItsColumnsNamingTheFile) {
  for (const std::string typed : {"10000", "-1000", "2147483647", "-2147483648"}) {
    Typed in(typed + "\n10\n");
    testing::internal::CaptureStdout();
    try {
      eclfore::ask_year(in.file, "data.dat");
      ADD_FAILURE() << "accepted " << typed;
    } catch (const io::RunError& e) {
      EXPECT_EQ(std::string(e.what()), "year " + typed +
                                           " does not fit the 4 columns of the year in "
                                           "data.dat (-999 to 9999)");
    }
    testing::internal::GetCapturedStdout();
  }
}

}  // namespace
