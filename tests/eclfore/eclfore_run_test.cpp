// Runs of the built eclfore that a case folder (tests/e2e/eclfore) cannot hold: the
// shipped sample catalogue as it stands in examples/, and a full disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(E2E_CASES_DIR) / "eclfore";

/// Copies the input files of a recorded case into `dir`; gives its typed answers.
std::string set_up_case(const std::string& name, const e2e::TempDir& dir) {
  fs::copy(kCases / name / "in", dir.path(), fs::copy_options::recursive);
  return e2e::read_file(kCases / name / "stdin");
}

TEST(EclforeRun, SampleCatalogueGivesAForecast) {
  e2e::TempDir dir;
  for (const char* name : {"star.dat", "condition.dat"}) {
    fs::copy_file(fs::path(EXAMPLES_DIR) / name, dir.path() / name);
  }
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), "2025\n1\n20\n3\n0\n");
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string data = dir.read("data.dat");
  ASSERT_FALSE(data.empty());
  std::size_t lines = 0;
  for (std::size_t at = 0; at < data.size(); ++lines) {
    const std::size_t end = data.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "line " << lines + 1 << " has no CR LF";
    EXPECT_EQ(end - at, 117u) << "line " << lines + 1;
    at = end + 2;
  }
  EXPECT_GT(lines, 50u);
}

TEST(EclforeRun, FullDiskIsAFailure) {
  e2e::TempDir dir;
  const std::string answers = set_up_case("worked_example", dir);
  fs::create_symlink("/dev/full", dir.path() / "data.dat");
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), answers);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("data.dat"), std::string::npos) << r.err;
}

}  // namespace
