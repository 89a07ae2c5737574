// A run of the built phaselist that a case folder (tests/e2e/phaselist) cannot hold:
// a full disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const std::string kAnswers = "2006 3 7 4 30\n2006 3 7 5 45\n";
/// The sample star EX Demo, flagged for the table.
const std::string kStarLine =
    "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 10.9      2 "
    "C012\n";

TEST(PhaselistRun, FullDiskIsAFailure) {
  e2e::TempDir dir;
  dir.write("star.dat", kStarLine);
  fs::create_symlink("/dev/full", dir.path() / "isou.txt");
  const e2e::RunResult r = e2e::run(PHASELIST_BIN, dir.path(), kAnswers);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("isou.txt"), std::string::npos) << r.err;
}

}  // namespace
