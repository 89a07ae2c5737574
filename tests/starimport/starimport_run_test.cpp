// Runs of the built starimport that a case folder (tests/e2e/starimport) cannot hold:
// its output forecast by eclfore, a message that ends in the JSON parser's own words,
// and the version, which changes with every release.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(E2E_CASES_DIR) / "starimport";

TEST(StarimportRun, GcvsExtractImportedAndForecast) {
  // The star.dat the case gcvs_extract_flag_2_to_file writes, byte for byte.
  const std::string imported =
      e2e::read_file(kCases / "gcvs_extract_flag_2_to_file" / "expected" / "star.dat");
  ASSERT_NE(imported.find("\r\n"), std::string::npos);
  e2e::TempDir dir;
  dir.write("star.dat", imported);
  dir.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  const std::string answers = "2006\n10\n20\n3\n0\n";
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), answers);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string forecast = dir.read("data.dat");
  EXPECT_NE(forecast.find("RT And              GCVS p 2006 10"), std::string::npos) << forecast;
  EXPECT_NE(forecast.find("AK Her              GCVS s 2006 10"), std::string::npos) << forecast;

  // The forecast from the imported lines is the forecast from the same lines typed.
  e2e::TempDir typed;
  typed.write("condition.dat", e2e::read_file(fs::path(EXAMPLES_DIR) / "condition.dat"));
  std::string lf_stars = imported;
  for (std::size_t at; (at = lf_stars.find('\r')) != std::string::npos;) lf_stars.erase(at, 1);
  typed.write("star.dat", lf_stars);
  ASSERT_EQ(e2e::run(ECLFORE_BIN, typed.path(), answers).exit_code, 0);
  EXPECT_EQ(forecast, typed.read("data.dat"));
}

TEST(StarimportRun, JsonThatIsNotValidWritesNothing) {
  e2e::TempDir dir;
  dir.write("bad.json", "{\"VSXObject\": [\n{\"Name\": 1,}\n]}");
  const e2e::RunResult r = e2e::run(STARIMPORT_BIN, dir.path(), "", {"bad.json"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out, "");
  // The parser's explanation follows; its words are nlohmann-json's, not ours.
  EXPECT_TRUE(r.err.starts_with("starimport: bad.json:2: not valid JSON")) << r.err;
}

TEST(StarimportRun, VersionNamesTheToolset) {
  e2e::TempDir dir;
  const e2e::RunResult version = e2e::run(STARIMPORT_BIN, dir.path(), "", {"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(version.out.starts_with("starimport (eclipsing binary tools) ")) << version.out;
}

}  // namespace
