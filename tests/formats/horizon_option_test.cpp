// Reading a horizon file: the points it holds, the lines it leaves out, and the
// message naming the file and line of a line that is not a point.
#include "formats/horizon_option.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "e2e.h"
#include "io/run_error.h"

namespace {

class HorizonFile : public ::testing::Test {
 protected:
  /// Writes `bytes` to a horizon file of the temporary folder and returns its path.
  std::string file_of(const std::string& bytes) {
    const std::string path = (dir_.path() / "horizon.hrz").string();
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }
  /// The message of reading `bytes`, after the file's path.
  std::string message_of(const std::string& bytes) {
    const std::string path = file_of(bytes);
    try {
      formats::read_horizon_file(path);
    } catch (const io::RunError& e) {
      const std::string what = e.what();
      return what.starts_with(path) ? what.substr(path.size()) : what;
    }
    return "(accepted)";
  }

 private:
  e2e::TempDir dir_;
};

TEST_F(HorizonFile, PointsCommentsBlanksAndLineEnds) {
  const astro::HorizonProfile profile = formats::read_horizon_file(
      file_of("# skyline of the garden\r\n\r\n  \t\r\n180 +12.5\r\n  # the roof\n"
              "\t90\t-1\n360 3\n270 0.25   \n10 5\x1a"
              "20 7\n"));
  // Sorted by azimuth; the line before the Ctrl-Z counts, the one after it does not.
  ASSERT_EQ(profile.points.size(), 5U);
  const double expected[][2] = {{0, 3}, {10, 5}, {90, -1}, {180, 12.5}, {270, 0.25}};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(profile.points[i].azimuth_deg, expected[i][0]) << i;
    EXPECT_EQ(profile.points[i].altitude_deg, expected[i][1]) << i;
  }
}

TEST_F(HorizonFile, ALineThatIsNotAPointNamesItsLine) {
  EXPECT_EQ(message_of("0 5\n# c\n90 1O\n"),
            ":3: '90 1O' is not AZIMUTH ALTITUDE (two numbers of degrees)");
  EXPECT_EQ(message_of("90\n"), ":1: '90' is not AZIMUTH ALTITUDE (two numbers of degrees)");
  EXPECT_EQ(message_of("0 5\n90 5 trees\n"),
            ":2: '90 5 trees' is not AZIMUTH ALTITUDE (two numbers of degrees)");
  EXPECT_EQ(message_of("90,5\n"), ":1: '90,5' is not AZIMUTH ALTITUDE (two numbers of degrees)");
  EXPECT_EQ(message_of("nan 5\n"), ":1: 'nan 5' is not AZIMUTH ALTITUDE (two numbers of degrees)");
  EXPECT_EQ(message_of("0 inf\n"), ":1: '0 inf' is not AZIMUTH ALTITUDE (two numbers of degrees)");
  EXPECT_EQ(message_of("1 2\r\n3 \x01\r\n"),
            ":2: '3 \\x01' is not AZIMUTH ALTITUDE (two numbers of degrees)");
}

TEST_F(HorizonFile, RangesOfAzimuthAndAltitude) {
  EXPECT_EQ(message_of("0 0\n360 0\n-90 90\n0 -90\n"),
            ":3: azimuth -90 is not from 0 to 360 degrees");
  EXPECT_EQ(message_of("360.001 0\n"), ":1: azimuth 360.001 is not from 0 to 360 degrees");
  EXPECT_EQ(message_of("0 90.5\n"), ":1: altitude 90.5 is not from -90 to 90 degrees");
  EXPECT_EQ(message_of("0 -91\n"), ":1: altitude -91 is not from -90 to 90 degrees");
  EXPECT_EQ(message_of("360 90\n0 -90\n"), "(accepted)");
}

TEST_F(HorizonFile, NoPointAtAll) {
  EXPECT_EQ(message_of(""), ": holds no point of the skyline (lines AZIMUTH ALTITUDE)");
  EXPECT_EQ(message_of("# only\n\n#\n"),
            ": holds no point of the skyline (lines AZIMUTH ALTITUDE)");
}

TEST_F(HorizonFile, TheOption) {
  io::Options options;
  EXPECT_FALSE(formats::horizon_option(options).has_value());
  options.given.emplace_back("horizon", "");
  EXPECT_THROW(formats::horizon_option(options), io::UsageError);
  options.given.back().second = file_of("0 12\n");
  const auto profile = formats::horizon_option(options);
  ASSERT_TRUE(profile.has_value());
  EXPECT_EQ(astro::horizon_altitude_deg(*profile, 77), 12);
  options.given.back().second = file_of("0 12\n") + ".missing";
  EXPECT_THROW(formats::horizon_option(options), io::RunError);
}

}  // namespace
