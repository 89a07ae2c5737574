// Runs of the built eclfore that need more than a case folder: the sample catalogue,
// a full disk, and the wording of warnings and messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const std::string kCases = std::string(ECLFORE_CASES_DIR) + "/";

/// Copies the input files of a recorded case into `dir`; gives its typed answers.
std::string set_up_case(const std::string& name, const e2e::TempDir& dir) {
  fs::copy(kCases + name + "/in", dir.path(), fs::copy_options::recursive);
  return e2e::read_file(kCases + name + "/stdin");
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

TEST(EclforeRun, WarningsNameFileAndLine) {
  struct Case {
    const char* name;
    std::string warnings;
  };
  const Case cases[] = {
      {"short_lines_and_last_line_without_newline",
       "warning: star.dat:3: line of 32 characters is too short for a star (82 needed); "
       "skipped\n"},
      {"unusable_elements_skipped",
       "warning: star.dat:1: blank epoch field; skipped\n"
       "warning: star.dat:2: negative period; skipped\n"
       "warning: star.dat:3: period is not a finite number; skipped\n"
       "warning: star.dat:4: epoch is not a finite number; skipped\n"
       "warning: star.dat:5: period too short: more than 1000000 minima in the window; "
       "skipped\n"
       "warning: star.dat:6: cycle count since the epoch does not fit 32 bits; skipped\n"},
      {"conditions_more_than_19_keeps_19",
       "warning: condition.dat: more than 19 conditions; only the first 19 are used\n"},
      {"conditions_without_terminator",
       "warning: condition.dat: the last row has 3 of 5 numbers and is ignored\n"
       "warning: condition.dat: no terminator row (99)\n"},
      {"conditions_text_ends_reading",
       "warning: condition.dat: \"x\" is not a number; reading stops there\n"},
  };
  for (const Case& c : cases) {
    e2e::TempDir dir;
    const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), set_up_case(c.name, dir));
    EXPECT_EQ(r.exit_code, 0) << c.name;
    EXPECT_EQ(r.err, c.warnings) << c.name;
  }
}

TEST(EclforeRun, FailuresNameTheFileOrTheAnswer) {
  struct Case {
    const char* name;
    const char* message;
  };
  const Case cases[] = {
      {"star_dat_missing", "eclfore: cannot open star.dat: No such file or directory\n"},
      {"condition_dat_missing", "eclfore: cannot open condition.dat: No such file or directory\n"},
      {"condition_dat_terminator_only",
       "eclfore: condition.dat: no selection condition in the file\n"},
      {"year_not_a_number", "eclfore: year: \"abc\" is not a whole number\n"},
      {"altitude_not_a_number", "eclfore: lowest altitude: \"high\" is not a number\n"},
      {"input_ends_before_latitude", "eclfore: latitude: the input ended before an answer\n"},
      {"condition_number_not_a_number",
       "eclfore: condition number: \"first\" is not a whole number\n"},
  };
  for (const Case& c : cases) {
    e2e::TempDir dir;
    const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), set_up_case(c.name, dir));
    EXPECT_EQ(r.exit_code, 1) << c.name;
    EXPECT_EQ(r.err, c.message) << c.name;
  }
}

}  // namespace
