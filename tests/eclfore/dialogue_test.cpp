// The dialogue's checks on the year and on a typed site, with what they print.
#include "dialogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "io/run_error.h"
#include "typed_input.h"

namespace {

using Typed = support::TypedInput;

/// The site ask_site takes from `answers`, and what it printed meanwhile.
eclfore::ObservingSite site_from(const std::string& answers, std::string& printed) {
  Typed in(answers);
  testing::internal::CaptureStdout();
  eclfore::ObservingSite site;
  try {
    site = eclfore::ask_site(in.file);
  } catch (...) {
    printed = testing::internal::GetCapturedStdout();
    throw;
  }
  printed = testing::internal::GetCapturedStdout();
  return site;
}

/// How often `text` stands in `in`.
int count_of(const std::string& in, const std::string& text) {
  int count = 0;
  for (auto at = in.find(text); at != std::string::npos; at = in.find(text, at + 1)) ++count;
  return count;
}

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

TEST(AskSite, TakesATypedPlaceOnTheEarthAsTyped) {
  std::string printed;
  const eclfore::ObservingSite tokyo = site_from("99\n139.77\n35.67\n", printed);
  EXPECT_EQ(tokyo.longitude_deg, 139.77f);
  EXPECT_EQ(tokyo.latitude_deg, 35.67f);
  EXPECT_EQ(count_of(printed, "location"), 1);
  EXPECT_EQ(printed.find("must"), std::string::npos) << printed;
  // The poles are places, and a finite longitude beyond -180 to 180 is a direction:
  // both are kept as typed, not wrapped here.
  const eclfore::ObservingSite pole = site_from("99 -220.23 -90\n", printed);
  EXPECT_EQ(pole.longitude_deg, -220.23f);
  EXPECT_EQ(pole.latitude_deg, -90.0f);
  EXPECT_EQ(site_from("99 1e30 90\n", printed).longitude_deg, 1e30f);
}

TEST(AskSite, AsksAgainAfterALatitudeBeyondThePolesSayingWhy) {
  for (const std::string latitude : {"90.001", "-91", "1e30", "-INF", "NAN"}) {
    SCOPED_TRACE(latitude);
    std::string printed;
    const eclfore::ObservingSite site = site_from("99 139.77 " + latitude + "\n3\n", printed);
    EXPECT_EQ(site.longitude_deg, 139.77f);  // Tokyo of the menu
    EXPECT_EQ(site.latitude_deg, 35.67f);
    EXPECT_NE(printed.find("latitude(degree)= latitude must be from -90 to 90\n\nlocation\n"),
              std::string::npos)
        << printed;
    EXPECT_EQ(count_of(printed, "location"), 2);
    EXPECT_EQ(printed.find("longitude must"), std::string::npos) << printed;
  }
}

TEST(AskSite, AsksAgainAfterALongitudeThatIsNotFiniteSayingWhy) {
  // 1e39 is beyond float: the scan rounds it to infinity.
  for (const std::string longitude : {"INF", "-INF", "NAN", "1e39"}) {
    SCOPED_TRACE(longitude);
    std::string printed;
    // The latitude typed with it is read too, and not taken as the next site number.
    const eclfore::ObservingSite site =
        site_from("99 " + longitude + " 35.67\n99 139.77 35.5\n", printed);
    EXPECT_EQ(site.longitude_deg, 139.77f);
    EXPECT_EQ(site.latitude_deg, 35.5f);
    EXPECT_NE(printed.find("latitude(degree)= longitude must be a finite number\n\nlocation\n"),
              std::string::npos)
        << printed;
    EXPECT_EQ(count_of(printed, "location"), 2);
  }
}

TEST(AskSite, SaysBothWhenBothAreWrongAndEndsWithTheInput) {
  std::string printed;
  EXPECT_THROW(site_from("99 NAN 100\n", printed), io::RunError);
  EXPECT_NE(printed.find("longitude must be a finite number\nlatitude must be from -90 to 90\n"),
            std::string::npos)
      << printed;
  EXPECT_TRUE(printed.ends_with("no = ")) << printed;
}

}  // namespace
