// nightmark --chart and --export on the built program: what a recorded case cannot
// compare byte for byte (the Stellarium list carries the time of the run), and the
// recorded charts checked by an XML parser.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <regex>
#include <string>

#include "e2e.h"
#include "worked_files.h"

namespace {

namespace fs = std::filesystem;

using nightmark_files::kAllSky;
using nightmark_files::kHeader;
using nightmark_files::kTitle;
using nightmark_files::kZzOri;

TEST(NightmarkExports, StellariumListOfTheRun) {
  e2e::TempDir dir;
  dir.write("obsday2.dat", kTitle + kHeader + kZzOri + kZzOri);
  const e2e::RunResult r = e2e::run(NIGHTMARK_BIN, dir.path(), kAllSky, {"--export=stellarium"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const auto file = nlohmann::json::parse(dir.read("obsday3.sol"));
  const auto& list = file["observingLists"]["{d05eee78-6a33-5a05-844f-6ccbaceadc08}"];
  EXPECT_EQ(list["name"], "EB minima 2006-03-05");
  EXPECT_TRUE(std::regex_match(list["creation date"].get<std::string>(),
                               std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)")));
  ASSERT_EQ(list["objects"].size(), 2u) << "one entry per plan line";
  EXPECT_EQ(list["objects"][1]["ra"], "5h36m00.00s");
  EXPECT_EQ(list["objects"][1]["jd"], 2453800.0208);
  EXPECT_FALSE(dir.exists("obsday3.svg"));
  EXPECT_FALSE(dir.exists("obsday3.skylist"));
}

TEST(NightmarkExports, EveryRecordedChartIsWellFormed) {
  int charts = 0;
  for (const auto& c : fs::directory_iterator(fs::path(E2E_CASES_DIR) / "nightmark")) {
    const fs::path chart = c.path() / "expected" / "obsday3.svg";
    if (!fs::exists(chart)) continue;
    ++charts;
    const std::string command = "xmllint --noout '" + chart.string() + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << chart;
  }
  EXPECT_GE(charts, 2);
}

}  // namespace
