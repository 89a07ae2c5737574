// plan-night.sh on the sample catalogue, the built programs on PATH, in a temporary
// folder: the files of the night's steps, the first failure's status, bad options.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const std::string kScript = std::string(EXAMPLES_DIR) + "/plan-night.sh";

/// The files a night's run writes, recorded in PLAN_NIGHT_EXPECTED_DIR for the night
/// of 18 January 2026 at the built-in site (obsday3.sol holds the day of the run and is
/// looked at apart).
const std::vector<std::string> kRecordedFiles = {
    "data.dat",    "data.sot",    "obsday.dat",  "obsday2.dat",          "obsday3.txt",
    "lplanet.adf", "lightpl.mrk", "obsday3.svg", "obsday3-skychart.txt", "obsday3.skylist"};

/// A folder with the sample catalogue and condition.dat, and bin/ holding the built
/// programs by their names.
struct NightFolder {
  e2e::TempDir dir;
  NightFolder() {
    fs::copy_file(fs::path(EXAMPLES_DIR) / "star.dat", dir.path() / "star.dat");
    fs::copy_file(fs::path(EXAMPLES_DIR) / "condition.dat", dir.path() / "condition.dat");
    fs::create_directory(dir.path() / "bin");
    for (const char* program : {ECLFORE_BIN, DATESEL_BIN, NIGHTMARK_BIN}) {
      fs::create_symlink(program, dir.path() / "bin" / fs::path(program).filename());
    }
  }
  /// Runs the script with `args`, the programs of bin/ first on PATH.
  e2e::RunResult run(const std::vector<std::string>& args) const {
    std::vector<std::string> command = {"PATH=" + (dir.path() / "bin").string() + ":/usr/bin:/bin",
                                        "bash", kScript};
    command.insert(command.end(), args.begin(), args.end());
    return e2e::run("/usr/bin/env", dir.path(), "", command, std::chrono::seconds(60));
  }
};

TEST(PlanNight, WritesEveryStepOfTheNightAsTheProgramsDo) {
  const NightFolder folder;
  const e2e::RunResult r = folder.run({"--date=2026-01-18", "--quiet"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  for (const std::string& name : kRecordedFiles) {
    EXPECT_EQ(folder.dir.read(name), e2e::read_file(fs::path(PLAN_NIGHT_EXPECTED_DIR) / name))
        << name;
  }
  // The Stellarium list holds the time it was made: its name only is compared.
  EXPECT_NE(folder.dir.read("obsday3.sol").find("\"EB minima 2026-01-18\""), std::string::npos);
  // No temporary file of the sort or the copy stays.
  for (const auto& entry : fs::directory_iterator(folder.dir.path())) {
    EXPECT_NE(entry.path().filename().string().front(), '.') << entry.path();
  }
}

TEST(PlanNight, StartsAtDuskUnlessToldAndPassesTheOptionsOn) {
  const NightFolder folder;
  // Dusk on 18 January 2026 at the built-in site: the Sun 6 degrees down at 17:21 JST.
  EXPECT_NE(e2e::read_file(fs::path(PLAN_NIGHT_EXPECTED_DIR) / "obsday3.svg").find("start 17:22"),
            std::string::npos);
  const e2e::RunResult r = folder.run({"--date=2026-01-18", "--start=22:00", "--sky=south",
                                       "--export=skysafari", "--site=okinawa", "--lowest=40"});
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(folder.dir.read("obsday3.svg").find("start 22:00"), std::string::npos);
  EXPECT_NE(folder.dir.read("obsday3.svg").find("okinawa"), std::string::npos);
  EXPECT_FALSE(folder.dir.exists("obsday3.sol"));
  // The forecast's lowest altitude: no minimum below 40 degrees (columns 60-63).
  const std::string forecast = folder.dir.read("data.dat");
  ASSERT_FALSE(forecast.empty());
  for (std::size_t at = 0; at < forecast.size(); at = forecast.find('\n', at) + 1) {
    EXPECT_GE(std::stod(forecast.substr(at + 60, 4)), 40.0) << forecast.substr(at, 117);
  }
  // The forecast's title and names were printed: no --quiet.
  EXPECT_NE(r.out.find("START J.D."), std::string::npos);
}

// Without --date the night is today's in Japan's zone, the programs' own clock.
TEST(PlanNight, PlansTodayInJapanWithoutADate) {
  const NightFolder folder;
  auto title_of_today = [&] {
    return e2e::run("/usr/bin/env", folder.dir.path(), "",
                    {"TZ=Asia/Tokyo", "date", "+=== %Y/%_m/%_d ==="})
        .out;
  };
  // Taken before and after the run, for a run across midnight in Tokyo.
  const std::string before = title_of_today();
  const e2e::RunResult r = folder.run({"--quiet", "--start=20:00"});
  const std::string after = title_of_today();
  ASSERT_EQ(r.exit_code, 0) << r.err;
  const std::string plan = folder.dir.read("obsday3.txt");
  const std::string title = plan.substr(0, plan.find('\r')) + "\n";
  EXPECT_TRUE(title == before || title == after) << title << before;
}

TEST(PlanNight, StopsAtTheFirstFailingStepWithItsStatus) {
  const NightFolder folder;
  fs::remove(folder.dir.path() / "condition.dat");
  folder.dir.write("obsday2.dat", "kept\r\n");
  const e2e::RunResult r = folder.run({"--date=2026-01-18", "--quiet"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("eclfore: "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("condition.dat"), std::string::npos) << r.err;
  EXPECT_FALSE(folder.dir.exists("data.sot"));
  EXPECT_FALSE(folder.dir.exists("obsday3.txt"));
  EXPECT_EQ(folder.dir.read("obsday2.dat"), "kept\r\n");

  // A program's usage fault comes back as status 2, nothing after it run.
  const NightFolder second;
  const e2e::RunResult bad_sky = second.run({"--date=2026-01-18", "--sky=north"});
  EXPECT_EQ(bad_sky.exit_code, 2);
  EXPECT_NE(bad_sky.err.find("nightmark: --sky=north"), std::string::npos) << bad_sky.err;
  EXPECT_FALSE(second.dir.exists("obsday3.txt"));
}

TEST(PlanNight, RefusesWhatItDoesNotKnowBeforeAnyStep) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--date=2026-1-18"},
                                               {"--date=tomorrow"},
                                               {"--night=2026-01-18"},
                                               {"2026-01-18"}}) {
    const NightFolder folder;
    const e2e::RunResult r = folder.run(args);
    EXPECT_EQ(r.exit_code, 2) << args.front();
    EXPECT_NE(r.err.find("plan-night.sh: "), std::string::npos) << r.err;
    EXPECT_FALSE(folder.dir.exists("data.dat")) << args.front();
  }
}

}  // namespace
