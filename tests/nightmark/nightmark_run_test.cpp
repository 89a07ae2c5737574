// nightmark runs that a case folder cannot set up: directories or /dev/full in
// place of files, a recent list beyond its capacity, and the exact warnings.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e.h"
#include "worked_files.h"

namespace {

namespace fs = std::filesystem;

using nightmark_files::kAllSky;
using nightmark_files::kHeader;
using nightmark_files::kTitle;
using nightmark_files::kZzOri;

/// A folder holding the worked example's daily list and old output files.
struct NightFolder {
  e2e::TempDir dir;
  NightFolder() {
    dir.write("obsday2.dat", kTitle + kHeader + kZzOri);
    for (const char* name : {"obsday3.txt", "lplanet.adf", "lightpl.mrk"}) {
      dir.write(name, "old\r\n");
    }
  }
  e2e::RunResult run(const std::string& input = kAllSky) const {
    return e2e::run(NIGHTMARK_BIN, dir.path(), input);
  }
};

TEST(NightmarkOutputs, UnwritableFileEndsTheRunWithItsName) {
  struct Case {
    const char* name;  // replaced by a directory or /dev/full
    bool full_disk;
    bool marks_untouched;  // failure before the mark files are opened
  };
  for (const Case c : {Case{"obsday3.txt", false, true}, Case{"obsday3.txt", true, true},
                       Case{"lplanet.adf", false, false}, Case{"lightpl.mrk", true, false}}) {
    NightFolder f;
    fs::remove(f.dir.path() / c.name);
    if (c.full_disk) {
      fs::create_symlink("/dev/full", f.dir.path() / c.name);
    } else {
      fs::create_directory(f.dir.path() / c.name);
    }
    const e2e::RunResult r = f.run();
    EXPECT_EQ(r.exit_code, 1) << c.name;
    EXPECT_NE(r.err.find(c.name), std::string::npos) << r.err;
    if (c.marks_untouched) {
      EXPECT_EQ(f.dir.read("lplanet.adf"), "old\r\n") << c.name;
      EXPECT_EQ(f.dir.read("lightpl.mrk"), "old\r\n") << c.name;
    }
  }
}

TEST(NightmarkOutputs, MarksComeFromThePlanAsComputedNotAsReadBack) {
  NightFolder f;
  ASSERT_EQ(f.run().exit_code, 0);
  const std::string adf = f.dir.read("lplanet.adf");
  const std::string mrk = f.dir.read("lightpl.mrk");
  ASSERT_EQ(adf, "eqt 0536.0,+1234.0,mark 8,\"ZZ_K21\",1\r\n");
  // A plan that goes where nothing can be read back from it still gives the marks.
  fs::remove(f.dir.path() / "obsday3.txt");
  fs::create_symlink("/dev/null", f.dir.path() / "obsday3.txt");
  const e2e::RunResult r = f.run();
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(f.dir.read("lplanet.adf"), adf);
  EXPECT_EQ(f.dir.read("lightpl.mrk"), mrk);
}

TEST(NightmarkOutputs, UnreadableRecentListEndsTheRun) {
  NightFolder f;
  fs::create_directory(f.dir.path() / "recent_obs.txt");
  const e2e::RunResult r = f.run();
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("recent_obs.txt"), std::string::npos) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(f.dir.read("obsday3.txt"), "old\r\n");
}

TEST(NightmarkRecentList, LinesAfterThe2000thAreIgnoredWithOneWarning) {
  NightFolder f;
  std::string names;
  for (int i = 1; i <= 2005; ++i) {
    names += (i == 2000 ? "ZZ Ori" : i == 2001 ? "ASASJ091012" : "XX " + std::to_string(i));
    names += "\n";
  }
  f.dir.write("recent_obs.txt", names);
  const std::string asas =
      "ASASJ091012-0507.2  K002 p 22.00  EA   49    9 10    -5  7  11.0 11.6     0.8765432  "
      "2452000.1234 2453800.0417\r\n";
  f.dir.write("obsday2.dat", kTitle + kHeader + kZzOri + asas);
  const e2e::RunResult r = f.run();
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err,
            "warning: recent_obs.txt:2001: more than 2000 names; this line and all after "
            "it are ignored\n");
  EXPECT_EQ(f.dir.read("lplanet.adf"),
            "eqt 0536.0,+1234.0,mark 8,\"ZZ_K21\",4\r\n"
            "eqt 0910.0,-0507.0,mark 8,\"J091012-0507.2_K22\",1\r\n");
}

TEST(NightmarkWarnings, NameFileAndLine) {
  NightFolder f;
  f.dir.write("obsday2.dat", "=== 2006/13/ 5 ===\r\n" + kHeader + "\r\nZZ Ori  K001\r\n" +
                                 "TOO Far             K001 p +INF   EA   45    5 36    12 34\r\n" +
                                 kZzOri);
  const e2e::RunResult r = f.run();
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.err,
            "warning: obsday2.dat:1: title date 2006/13/5 is not a calendar date; altitudes "
            "are computed for it as it is\n"
            "warning: obsday2.dat:4: line shorter than 58 characters skipped\n"
            "warning: obsday2.dat:5: time or position is not a finite number; line skipped\n");
}

TEST(NightmarkFailures, MessagesNameTheFileOrAnswer) {
  struct Case {
    const char* daily_list;  // nullptr: no obsday2.dat
    const char* input;
    const char* message;
  };
  const Case cases[] = {
      {nullptr, "", "nightmark: cannot open obsday2.dat: No such file or directory\n"},
      {"=== 2006/ 3/ 5 ===\n", "",
       "nightmark: obsday2.dat: fewer than two lines (a title and a column header)\n"},
      {"=== 2006/ 3/5\nName\n", "",
       "nightmark: obsday2.dat:1: title line shorter than 14 characters\n"},
      {"=== 2006/ 3/ 5\nName\n", "20\n",
       "nightmark: start minute: the input ended before an answer\n"},
      {"=== 2006/ 3/ 5\nName\n", "20 0 all\n",
       "nightmark: sky choice: \"all\" is not a whole number\n"},
      {"=== 2006/ 3/ 5\nName\n", "99999999999\n",
       "nightmark: start hour: \"99999999999\" is beyond the range of whole numbers\n"},
  };
  for (const Case& c : cases) {
    NightFolder f;
    if (c.daily_list == nullptr) {
      fs::remove(f.dir.path() / "obsday2.dat");
    } else {
      f.dir.write("obsday2.dat", c.daily_list);
    }
    const e2e::RunResult r = f.run(c.input);
    EXPECT_EQ(r.exit_code, 1) << c.message;
    EXPECT_EQ(r.err, c.message);
    EXPECT_EQ(f.dir.read("obsday3.txt"), "old\r\n") << c.message;
  }
}

}  // namespace
