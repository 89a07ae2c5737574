// Runs of the built eclfore that a case folder (tests/e2e/eclfore) cannot hold: the
// shipped sample catalogue as it stands in examples/, a full disk, a calendar stamped
// with the time of the run and a table that is data.dat under another name.
#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "e2e.h"
#include "formats/layouts.h"
#include "table_text.h"

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

// The table's altitude at the minimum is the forecast line's: the catalogue place at
// the instant the rule listed. Two minima whose Julian Date, less the MJD's zero, is
// not bit for bit the rule's instant: the table once printed 24.2 and 57.4 for the
// lines' 24.1 and 57.3.
TEST(EclforeRun, TableAltitudeAtTheMinimumIsTheForecastLines) {
  e2e::TempDir dir;
  dir.write("star.dat",
            "SYN 0001338          2458462.2225    0.4778157  8  7 27  +15 34       EW  8.4 10.1    "
            "  9 S337\n"
            "SYN 0012303          2455513.7535    0.6443494 22 34 43  +30 07       EA  7.1  8.6    "
            "  0 S302   7.8                0.000591  0.000001711 JD\n");
  dir.write("condition.dat", "0.0 20.0 0.0 90 -90\n");
  const e2e::RunResult r = e2e::run(ECLFORE_BIN, dir.path(), "",
                                    {"--year=2026", "--month=1", "--lowest=10", "--site=5",
                                     "--sun-below=nautical", "--condition=0", "--quiet", "--csv"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::vector<std::string> forecast = e2e::crlf_lines(dir.read("data.dat"));
  const std::vector<std::string> table = e2e::crlf_lines(dir.read("data.csv"));
  ASSERT_EQ(table.size(), forecast.size() + 1);  // and the header
  ASSERT_GT(forecast.size(), 20u);
  const formats::Field altitude = formats::forecast_line::kAltitude;
  for (std::size_t i = 0; i < forecast.size(); ++i) {
    std::string printed = forecast[i].substr(altitude.start, altitude.width);
    printed.erase(0, printed.find_first_not_of(' '));
    EXPECT_EQ(e2e::csv_fields(table[i + 1])[13], printed) << forecast[i];
  }
}

}  // namespace
