// A run of datesel that a case folder (tests/e2e/datesel) cannot hold: a full disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kForecast =
    "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234    "
    "1.2345678 21 30  0  20 15  9.8 10.9";
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
