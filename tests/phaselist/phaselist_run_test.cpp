// Runs of the built phaselist that need more than a case folder: a full disk and
// the wording of the warnings about catalogue lines it skips.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

const std::string kAnswers = "2006 3 7 4 30\n2006 3 7 5 45\n";
const std::string kPrompts =
    "Star date & time (ex. 1998 1 1 21 0 JST) Stop date & time (ex. 1998 1 1 23 0 JST) ";
const std::string kTableHead =
    "Date & Time ; start 2006/ 3/ 7  4:30 - stop 2006/ 3/ 7  5:45 (JST)\r\n"
    "\r\n"
    "Name                origin       period      type   range     phase(Hi) - phase(Hi)\r\n"
    "-------------------------------------------------------------------------------------\r\n";

/// A catalogue line with the given name, epoch and period fields and flag; the
/// position and magnitudes are those of the sample star EX Demo.
std::string star_line(const std::string& name, const std::string& epoch, const std::string& period,
                      char flag = '2') {
  std::string line = name;
  line.resize(20, ' ');
  line += std::string(13 - epoch.size(), ' ') + epoch;
  line += std::string(13 - period.size(), ' ') + period;
  line += " 21 30 00  +20 15       EA  9.8 10.9      ";
  line += flag;
  line += " C012\n";
  return line;
}

TEST(PhaselistRun, SkippedLinesAreWarnedWithFileAndLine) {
  e2e::TempDir dir;
  std::string with_nul = star_line("NUL Star", "2453000.1234", "1.2345678");
  with_nul[2] = '\0';
  dir.write("star.dat",
            "\n" +                                                      // 1: silent
                std::string(30, ' ') + "\n" +                           // 2: silent
                "Too short 2453000.1234 1.2345678\n" +                  // 3
                star_line("Blank epoch", "", "1.2345678") +             // 4
                star_line("Negative period", "2453000.1234", "-1.5") +  // 5
                star_line("Infinite epoch", "+INF", "1.2345678") +      // 6
                star_line("Tiny period", "2453000.1234", "1e-9") +      // 7
                with_nul +                                              // 8
                star_line("Not flagged", "", "1.2345678", '1') +        // 9: not read
                star_line("EX Demo", "2453000.1234", "1.2345678"));     // 10
  const e2e::RunResult r = e2e::run(PHASELIST_BIN, dir.path(), kAnswers);
  ASSERT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.err,
            "warning: star.dat:3: line of 32 characters is too short for a star (82 needed); "
            "skipped\n"
            "warning: star.dat:4: blank epoch field; skipped\n"
            "warning: star.dat:5: negative period; skipped\n"
            "warning: star.dat:6: epoch is not a finite number; skipped\n"
            "warning: star.dat:7: cycle count since the epoch does not fit 32 bits; skipped\n"
            "warning: star.dat:8: line holds a NUL byte; skipped\n");
  // The flagged stars are echoed before their elements are looked at.
  EXPECT_EQ(r.out, kPrompts +
                       "Blank epoch         Negative period     Infinite epoch      "
                       "Tiny period         EX Demo             ");
  EXPECT_EQ(dir.read("isou.txt"),
            kTableHead +
                "EX Demo             2453000.1234  1.234567800 EA    9.8-10.9  0.96(14)  -  "
                "0.01(29)\r\n");
}

TEST(PhaselistRun, FullDiskIsAFailure) {
  e2e::TempDir dir;
  dir.write("star.dat", star_line("EX Demo", "2453000.1234", "1.2345678"));
  fs::create_symlink("/dev/full", dir.path() / "isou.txt");
  const e2e::RunResult r = e2e::run(PHASELIST_BIN, dir.path(), kAnswers);
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("isou.txt"), std::string::npos) << r.err;
}

TEST(PhaselistRun, FailedAnswerNamesIt) {
  e2e::TempDir dir;
  dir.write("star.dat", star_line("EX Demo", "2453000.1234", "1.2345678"));
  const e2e::RunResult r = e2e::run(PHASELIST_BIN, dir.path(), "2006 3 7 4 30\n2006 3 7 5:45\n");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err,
            "phaselist: stop date & time: \":45\" is not a whole number (five whole numbers: "
            "year month day hour minute)\n");
  EXPECT_FALSE(dir.exists("isou.txt"));
}

}  // namespace
