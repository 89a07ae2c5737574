// Runs of datesel that need more than a case folder: exact warnings, a full disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kForecast =
    "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234    "
    "1.2345678 21 30  0  20 15  9.8 10.9";
constexpr const char* kDailyLine =
    "EX Demo             C012 p 29.58  EA   28   21 30    20 15   9.8 10.9     "
    "1.2345678  2453000.1234 2453801.3579\r\n";
constexpr const char* kTitleAndHeader =
    "=== 2006/ 3/ 6 ===\r\n"
    "Name                cat.   Time  typ  High   RA       RD      Mag      Period       "
    "E0            Forecast\r\n";

TEST(DateselRun, SkipsShortLinesAndNamesThem) {
  e2e::TempDir dir;
  const std::string line(kForecast);
  dir.write("data.dat", line + "\r\n");
  dir.write("data.sot",
            "sorted forecast\r\n"                        // 1: a heading, warned
            "\r\n"                                       // 2: blank, silent
                + line.substr(0, 116) + "\r\n"           // 3: one column short, warned
                + line + "\r\n"                          // 4: listed
                + "      \r\n"                           // 5: blanks, silent
                + line + std::string(183, 'x') + "\r\n"  // 6: 300 characters, one record
                + line);                                 // 7: no line end, listed
  const e2e::RunResult r = e2e::run(DATESEL_BIN, dir.path(), "6\n6\n99\n");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(dir.read("obsday.dat"),
            std::string(kTitleAndHeader) + kDailyLine + kDailyLine + kDailyLine);
  // Every request reads data.sot anew, so each warns again.
  const std::string warnings =
      "warning: data.sot:1: shorter than a forecast line, skipped\n"
      "warning: data.sot:3: shorter than a forecast line, skipped\n";
  EXPECT_EQ(r.err, warnings + warnings);
}

TEST(DateselRun, NamesTheAnswerThatIsNoInteger) {
  e2e::TempDir dir;
  dir.write("data.dat", std::string(kForecast) + "\r\n");
  dir.write("data.sot", std::string(kForecast) + "\r\n");
  const e2e::RunResult r = e2e::run(DATESEL_BIN, dir.path(), "6.5\n");
  EXPECT_EQ(r.exit_code, 1);
  // "%d" takes the 6; the list of day 6 is complete before ".5" is refused.
  EXPECT_EQ(r.err, "datesel: day: \".5\" is not a whole number\n");
  EXPECT_EQ(dir.read("obsday.dat"), std::string(kTitleAndHeader) + kDailyLine);
}

TEST(DateselRun, NamesTheFilesAtFault) {
  e2e::TempDir dir;
  dir.write("data.sot", std::string(kForecast) + "\r\n");
  e2e::RunResult r = e2e::run(DATESEL_BIN, dir.path(), "6\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "datesel: cannot open data.dat: No such file or directory\n");

  dir.write("data.dat", "EX Demo             C012 p 2006 1\r\n");
  r = e2e::run(DATESEL_BIN, dir.path(), "6\n");
  EXPECT_EQ(r.err,
            "datesel: data.dat: first line too short for year and month (33 characters, "
            "need 34)\n");

  dir.write("data.dat", "EX Demo             C012 p +NAN  3  6\r\n");
  r = e2e::run(DATESEL_BIN, dir.path(), "6\n");
  EXPECT_EQ(r.err,
            "datesel: data.dat: line 1: year field \"+NAN\" is not a number within int range\n");

  dir.write("data.dat", std::string(kForecast) + "\r\n");
  fs::remove(dir.path() / "data.sot");
  r = e2e::run(DATESEL_BIN, dir.path(), "6\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "datesel: cannot open data.sot: No such file or directory\n");
  EXPECT_FALSE(dir.exists("obsday.dat"));
}

TEST(DateselRun, FullDiskIsAnError) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  e2e::TempDir dir;
  dir.write("data.dat", std::string(kForecast) + "\r\n");
  dir.write("data.sot", std::string(kForecast) + "\r\n");
  fs::create_symlink("/dev/full", dir.path() / "obsday.dat");
  const e2e::RunResult r = e2e::run(DATESEL_BIN, dir.path(), "6\n99\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("obsday.dat"), std::string::npos) << r.err;
  // The run ends at the failed list: no second prompt.
  EXPECT_EQ(r.out, "Day (99:end) = ");
}

}  // namespace
