// Runs of the built eclfore that a case folder (tests/e2e/eclfore) cannot hold: the
// shipped sample catalogue as it stands in examples/, a full disk, a calendar stamped
// with the time of the run and a table that is data.dat under another name.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
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

TEST(EclforeRun, CalendarStampedWithTheTimeOfTheRun) {
  e2e::TempDir dir;
  set_up_case("csv_and_ics_whole_eclipse", dir);
  const auto before = std::chrono::system_clock::now();
  const e2e::RunResult r =
      e2e::run(ECLFORE_BIN, dir.path(), "",
               {"--year=2026", "--month=12", "--lowest=20", "--site=tokyo", "--condition=2",
                "--quiet", "--coverage=100", "--baseline=10", "--ics"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string calendar = dir.read("data.ics");
  const std::size_t at = calendar.find("DTSTAMP:");
  ASSERT_NE(at, std::string::npos);
  // DTSTAMP:YYYYMMDDTHHMMSSZ of the run's start, within the run.
  std::tm stamp{};
  ASSERT_NE(strptime(calendar.substr(at + 8, 16).c_str(), "%Y%m%dT%H%M%SZ", &stamp), nullptr);
  const auto stamped = std::chrono::system_clock::from_time_t(timegm(&stamp));
  EXPECT_LE(before - stamped, std::chrono::seconds(1));
  EXPECT_LE(stamped - std::chrono::system_clock::now(), std::chrono::seconds(0));
  // The rest is the recorded calendar's, whose stamp is fixed.
  std::string recorded = e2e::read_file(kCases / "csv_and_ics_whole_eclipse/expected/data.ics");
  EXPECT_EQ(calendar.size(), recorded.size());
  EXPECT_FALSE(fs::exists(dir.path() / "data.csv"));
}

TEST(EclforeRun, TableThatIsDataDatUnderAnotherNameIsRefused) {
  e2e::TempDir dir;
  set_up_case("csv_and_ics_whole_eclipse", dir);
  {
    std::FILE* old = std::fopen((dir.path() / "data.dat").c_str(), "w");
    ASSERT_NE(old, nullptr);
    std::fputs("old forecast\r\n", old);
    std::fclose(old);
  }
  fs::create_hard_link(dir.path() / "data.dat", dir.path() / "data.csv");
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), "",
                                    {"--year=2026", "--month=12", "--lowest=20", "--site=tokyo",
                                     "--condition=2", "--quiet", "--csv"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("data.csv"), std::string::npos) << r.err;
  EXPECT_EQ(dir.read("data.dat"), "old forecast\r\n");
}

}  // namespace
