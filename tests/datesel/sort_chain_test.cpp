// The README's sort command, alone and in the chain eclfore -> sort -> datesel.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "e2e.h"

namespace {

/// The sort command: the first line of the first "```sh" block after the README's
/// sort marker, so the README and this test cannot drift apart.
std::string readme_sort_command() {
  std::ifstream readme(README_PATH);
  std::string line;
  while (std::getline(readme, line) && line != "<!-- sort -->") {
  }
  while (std::getline(readme, line) && line != "```sh") {
  }
  std::string command;
  std::getline(readme, command);
  return command;
}

/// Runs the README's sort command in `dir`.
e2e::RunResult run_sort(const e2e::TempDir& dir) {
  const std::string command = readme_sort_command();
  EXPECT_NE(command.find("data.dat"), std::string::npos) << "sort command: " << command;
  EXPECT_NE(command.find("data.sot"), std::string::npos) << "sort command: " << command;
  return e2e::run("/bin/sh", dir.path(), "", {"-c", command});
}

std::string crlf_lines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& l : lines) text += l + "\r\n";
  return text;
}

/// A ForecastLine of `name` with the night date and hour "yyyy mm dd hh.hh" at
/// columns 27-42.
std::string forecast(std::string name, std::string_view night) {
  std::string line =
      "EX Demo             C012 p 2006  3  6 29.58 2453801.3579 EA 28.0  2453000.1234    "
      "1.2345678 21 30  0  20 15  9.8 10.9";
  name.resize(20, ' ');
  line.replace(0, 20, name);
  line.replace(27, night.size(), night);
  return line;
}

TEST(SortCommand, OrdersByYearMonthDayAndHourKeepingTies) {
  e2e::TempDir dir;
  const std::vector<std::string> in = {
      forecast("AB Her", "2006 10  9 21.00"),
      forecast("Z Cyg", "2006 10 10 18.50"),
      forecast("V 1234 Oph", "2006 10  9 26.10"),  // after midnight: after 23.90
      forecast("RZ Cas", "2006 10  9 23.90"),
      forecast("TT Aur", "2006  9 30 27.00"),
      forecast("XX Cep", "2005 12 31 20.00"),
      forecast("AA Dra", "2006 10  9 21.00"),  // tie with AB Her: stays after it
      forecast("W UMa", "2006 10  1 18.00"),
  };
  dir.write("data.dat", crlf_lines(in));
  const e2e::RunResult r = run_sort(dir);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(dir.read("data.sot"),
            crlf_lines({in[5], in[4], in[7], in[0], in[6], in[3], in[2], in[1]}));
}

// The forecast of the sample star for October 2006 from Tokyo, 20 degrees and up.
const std::vector<std::string> kOctoberForecast = {
    "EX Demo             C012 p 2006 10  1 21.00 2454009.9999 EA 73.3  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10  6 19.52 2454014.9381 EA 72.2  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10  7 25.15 2454016.1727 EA 23.0  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10 11 18.03 2454019.8764 EA 61.5  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10 12 23.67 2454021.1110 EA 37.1  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10 17 22.18 2454026.0492 EA 51.1  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10 22 20.70 2454030.9875 EA 64.2  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 p 2006 10 27 19.22 2454035.9258 EA 73.7  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10  4 23.07 2454013.0863 EA 50.6  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10  9 21.58 2454018.0246 EA 63.8  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10 14 20.10 2454022.9628 EA 73.5  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10 19 18.63 2454027.9011 EA 72.0  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10 20 24.25 2454029.1357 EA 23.5  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10 25 22.77 2454034.0739 EA 37.5  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
    "EX Demo             C012 s 2006 10 30 21.30 2454039.0122 EA 51.5  2453000.1234    1.2345678 "
    "21 30  0  20 15  9.8 10.9",
};

TEST(ForecastChain, EclforeSortDatesel) {
  e2e::TempDir dir;
  dir.write("star.dat",
            "EX Demo              2453000.1234    1.2345678 21 30 00  +20 15       EA  9.8 "
            "10.9      2 C012\n");
  dir.write("condition.dat", "8.0 12.5 0.5 90 -30\n6.0 10.0 0.3 60 0\n99\n");
  // October 2006, 20 degrees and up, Tokyo, condition 0.
  const e2e::RunResult forecast_run = e2e::run(ECLFORE_BIN, dir.path(), "2006\n10\n20\n3\n0\n");
  ASSERT_EQ(forecast_run.exit_code, 0) << forecast_run.err;
  ASSERT_EQ(dir.read("data.dat"), crlf_lines(kOctoberForecast));

  const e2e::RunResult sort_run = run_sort(dir);
  ASSERT_EQ(sort_run.exit_code, 0) << sort_run.err;
  const auto& f = kOctoberForecast;
  EXPECT_EQ(dir.read("data.sot"), crlf_lines({f[0], f[8], f[1], f[2], f[9], f[3], f[4], f[10], f[5],
                                              f[11], f[12], f[6], f[13], f[7], f[14]}));

  const e2e::RunResult daily_run = e2e::run(DATESEL_BIN, dir.path(), "7\n99\n");
  EXPECT_EQ(daily_run.exit_code, 0) << daily_run.err;
  EXPECT_EQ(daily_run.out, "Day (99:end) = Day (99:end) = ");
  EXPECT_EQ(dir.read("obsday.dat"),
            "=== 2006/10/ 7 ===\r\n"
            "Name                cat.   Time  typ  High   RA       RD      Mag      Period       "
            "E0            Forecast\r\n"
            "EX Demo             C012 p 25.15  EA   23   21 30    20 15   9.8 10.9     "
            "1.2345678  2453000.1234 2454016.1727\r\n");
}

}  // namespace
