// nightmark runs that a case folder (tests/e2e/nightmark) cannot set up: /dev/full or
// /dev/null in place of an output file.
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

// A directory in place of obsday3.txt or lplanet.adf: the case folders
// obsday3_txt_is_a_folder and lplanet_adf_is_a_folder.
TEST(NightmarkOutputs, FullDiskEndsTheRunWithTheFileName) {
  struct Case {
    const char* name;      // replaced by /dev/full
    bool marks_untouched;  // failure before the mark files are opened
  };
  for (const Case c : {Case{"obsday3.txt", true}, Case{"lightpl.mrk", false}}) {
    NightFolder f;
    fs::remove(f.dir.path() / c.name);
    fs::create_symlink("/dev/full", f.dir.path() / c.name);
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

}  // namespace
