// Outputs in folders and files that are not simply the user's: read-only and sticky
// folders, files of other users, FIFOs, links between outputs, size limits, signals
// and names at the longest a folder takes. The built programs run in a temporary
// folder; other users through setpriv, where the tests run as root.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "e2e.h"
#include "programs.h"
#include "shell.h"

namespace robustness {
namespace {

namespace fs = std::filesystem;

const char* const kPlanFiles[] = {"obsday3.txt", "lplanet.adf", "lightpl.mrk"};

/// The user and group ids of `path` (the link itself, not what it points to).
std::pair<uid_t, gid_t> owner_of(const fs::path& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return {-1, -1};
  return {status.st_uid, status.st_gid};
}

class OutputSafety : public testing::Test {
 protected:
  void SetUp() override {
    dir_.write("star.dat", kStarLine + "\r\n");
    dir_.write("condition.dat", kConditions);
    dir_.write("data.dat", kOld);
    dir_.write("obsday2.dat", kDailyList);
    for (const char* name : kPlanFiles) dir_.write(name, kOld);
    // Other users must reach the folder and read the inputs.
    fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    for (const auto& entry : fs::directory_iterator(dir_.path())) {
      fs::permissions(entry.path(), fs::perms::group_read | fs::perms::others_read,
                      fs::perm_options::add);
    }
  }
  /// Skips the test unless other users can be played: root and setpriv.
  void need_other_users() {
    if (::geteuid() != 0 || sh(dir_, "command -v setpriv >/dev/null") != 0) {
      GTEST_SKIP() << "needs root and setpriv to run the programs as other users";
    }
  }
  void chown(const std::string& name, uid_t user, gid_t group) const {
    ASSERT_EQ(::lchown((dir_.path() / name).c_str(), user, group), 0) << name;
  }
  void chmod(const std::string& name, mode_t mode) const {
    ASSERT_EQ(::chmod((dir_.path() / name).c_str(), mode), 0) << name;
  }
  e2e::RunResult run(const char* program, const std::string& answers,
                     const std::vector<std::string>& args = {}) {
    return e2e::run(program, dir_.path(), answers, args, std::chrono::seconds(20));
  }
  e2e::TempDir dir_;
};

// 1: a set in a folder the user may not write to is rewritten in place, and only when
// every file of it can be: a read-only mark file leaves the plan as it was.
TEST_F(OutputSafety, SetInAReadOnlyFolderIsTouchedOnlyWhenAllCanBeWritten) {
  need_other_users();
  for (const char* name : kPlanFiles) chown(name, 1001, 1001);
  chmod("lplanet.adf", 0444);
  const std::string as_1001 =
      "printf '20\\n0\\n0\\n' | setpriv --reuid=1001 --regid=1001 --clear-groups "
      "\"$NIGHTMARK\" >/dev/null 2>.err";
  EXPECT_EQ(sh(dir_, as_1001), 1);
  EXPECT_NE(dir_.read(".err").find("nightmark: cannot create lplanet.adf: Permission denied"),
            std::string::npos)
      << dir_.read(".err");
  for (const char* name : kPlanFiles) EXPECT_EQ(dir_.read(name), kOld) << name;

  chmod("lplanet.adf", 0644);
  EXPECT_EQ(sh(dir_, as_1001), 0) << dir_.read(".err");
  EXPECT_TRUE(dir_.read("obsday3.txt").starts_with(kDailyHead));
  EXPECT_NE(dir_.read("lplanet.adf").find("mark"), std::string::npos);
  for (const char* name : kPlanFiles) {
    EXPECT_EQ(owner_of(dir_.path() / name), std::make_pair(uid_t{1001}, gid_t{1001})) << name;
  }
}

// 2: in a sticky folder another user's files cannot be renamed over: they are
// rewritten in place, so the set is replaced whole.
TEST_F(OutputSafety, StickyFolderSetIsReplacedWhole) {
  need_other_users();
  fs::remove(dir_.path() / "obsday3.txt");
  chmod(".", 01777);
  for (const char* name : {"lplanet.adf", "lightpl.mrk"}) {
    chown(name, 1001, 1001);
    chmod(name, 0666);
  }
  EXPECT_EQ(sh(dir_,
               "printf '20\\n0\\n0\\n' | setpriv --reuid=1002 --regid=1002 --clear-groups "
               "\"$NIGHTMARK\" >/dev/null 2>.err"),
            0)
      << dir_.read(".err");
  EXPECT_TRUE(dir_.read("obsday3.txt").starts_with(kDailyHead));
  for (const char* name : {"lplanet.adf", "lightpl.mrk"}) {
    EXPECT_NE(dir_.read(name), kOld) << name;
    EXPECT_EQ(owner_of(dir_.path() / name).first, 1001u) << name;
  }
  expect_no_temporary_files(dir_);
}

// 3: a replaced file keeps its owner and group, so that its owner can run again.
TEST_F(OutputSafety, ReplacedFileKeepsItsOwnerAndGroup) {
  if (::geteuid() == 0) {
    // Root replaces by a rename and gives the new file the old one's owner.
    chown("data.dat", 1001, 2000);
    ASSERT_EQ(run(ECLFORE_BIN, kEclforeAnswers).exit_code, 0);
    EXPECT_NE(dir_.read("data.dat"), kOld);
    EXPECT_EQ(owner_of(dir_.path() / "data.dat"), std::make_pair(uid_t{1001}, gid_t{2000}));
  }
  need_other_users();
  dir_.write("data.dat", kOld);
  chown(".", 0, 2000);
  chmod(".", 0775);
  chown("data.dat", 1001, 2000);
  chmod("data.dat", 0664);
  EXPECT_EQ(sh(dir_,
               "printf '2006\\n3\\n20\\n3\\n0\\n' | setpriv --reuid=1002 --regid=1002 "
               "--groups=2000 \"$ECLFORE\" >/dev/null 2>.err"),
            0)
      << dir_.read(".err");
  EXPECT_NE(dir_.read("data.dat"), kOld);
  EXPECT_EQ(owner_of(dir_.path() / "data.dat"), std::make_pair(uid_t{1001}, gid_t{2000}));
  EXPECT_EQ(sh(dir_,
               "printf '2006\\n4\\n20\\n3\\n0\\n' | setpriv --reuid=1001 --regid=1001 "
               "--groups=2000 \"$ECLFORE\" >/dev/null 2>.err"),
            0)
      << dir_.read(".err");
  expect_no_temporary_files(dir_);
}

// 6: an output that is a FIFO is written when a process reads it and refused at once
// when none does; never waited on.
TEST_F(OutputSafety, FifoOutputIsRefusedWithoutAReaderAndNeverWaitedOn) {
  for (const char* name : {"data.dat", "lplanet.adf"}) {
    fs::remove(dir_.path() / name);
    ASSERT_EQ(::mkfifo((dir_.path() / name).c_str(), 0644), 0);
  }
  auto result = run(ECLFORE_BIN, kEclforeAnswers);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("eclfore: cannot create data.dat: no process reads the FIFO"),
            std::string::npos)
      << result.err;
  result = run(NIGHTMARK_BIN, kNightmarkAnswers);
  EXPECT_FALSE(result.timed_out);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(result.err.find("nightmark: cannot create lplanet.adf: no process reads the FIFO"),
            std::string::npos)
      << result.err;
  EXPECT_EQ(dir_.read("obsday3.txt"), kOld);

  EXPECT_EQ(sh(dir_,
               "cat data.dat >.got & reader=$!; sleep 0.2\n"
               "printf '2006\\n3\\n20\\n3\\n0\\n' | timeout 20 \"$ECLFORE\" >/dev/null; "
               "status=$?; wait $reader; exit $status"),
            0);
  EXPECT_TRUE(dir_.read(".got").starts_with("EX Demo")) << dir_.read(".got");
}

// 7: a file size limit is a write error, not a silent death; a run killed outright
// leaves a temporary file that the next run in the folder removes.
TEST_F(OutputSafety, SizeLimitAndKilledRunsLeaveNoTemporaryFile) {
  std::string stars;
  for (int i = 0; i < 20000; ++i) stars += kStarLine + "\r\n";
  dir_.write("star.dat", stars);
  // The limit is set in the shell that starts eclfore, SIGXFSZ left at its default.
  EXPECT_EQ(sh(dir_,
               "ulimit -f 10; printf '2006\\n3\\n20\\n3\\n0\\n' | \"$ECLFORE\" >/dev/null "
               "2>.err"),
            1);
  EXPECT_NE(dir_.read(".err").find("eclfore: cannot write data.dat: File too large"),
            std::string::npos)
      << dir_.read(".err");
  EXPECT_EQ(dir_.read("data.dat"), kOld);
  expect_no_temporary_files(dir_);

  // Killed outright: the temporary file stays, until the next run. The star names
  // go to a FIFO nobody reads, so eclfore stops on a full pipe with its temporary
  // file open, however fast the machine; the wait for it is bounded all the same.
  ASSERT_GT(sh(dir_,
               "printf '2006\\n3\\n20\\n3\\n0\\n' >.a; mkfifo .names; exec 3<>.names\n"
               "\"$ECLFORE\" <.a >.names 2>/dev/null & pid=$!\n"
               "tries=0; until ls .data.dat.tmp-* >/dev/null 2>&1 || [ $tries -ge 3000 ]; do\n"
               "  tries=$((tries + 1)); sleep 0.01; done\n"
               "ls .data.dat.tmp-* >/dev/null 2>&1 || { kill -KILL $pid; exit 3; }\n"
               "kill -KILL $pid; wait $pid"),
            128)
      << "3: no temporary file was seen";
  EXPECT_EQ(dir_.read("data.dat"), kOld);
  // One of a process still running stays: this test's own.
  const std::string running = ".data.dat.tmp-" + std::to_string(::getpid()) + "-AbCdEf";
  dir_.write(running, "");
  dir_.write("star.dat", kStarLine + "\r\n");
  ASSERT_EQ(run(ECLFORE_BIN, kEclforeAnswers).exit_code, 0);
  EXPECT_TRUE(dir_.exists(running));
  fs::remove(dir_.path() / running);
  expect_no_temporary_files(dir_);
}

// 12: two outputs that are one file, through a link to a file not yet made, are
// refused; a link at an output the run does not write is no concern of the run.
TEST_F(OutputSafety, OutputsThatAreOneFileAreRefusedAndOnlyWrittenOnesChecked) {
  fs::remove(dir_.path() / "lplanet.adf");
  fs::remove(dir_.path() / "lightpl.mrk");
  fs::create_symlink("lplanet.adf", dir_.path() / "lightpl.mrk");
  auto result = run(NIGHTMARK_BIN, kNightmarkAnswers);
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(
      result.err.find("cannot write lightpl.mrk: it is the same file as the output lplanet.adf"),
      std::string::npos)
      << result.err;
  EXPECT_FALSE(dir_.exists("lplanet.adf"));
  EXPECT_EQ(dir_.read("obsday3.txt"), kOld);

  fs::remove(dir_.path() / "lightpl.mrk");
  fs::create_symlink("obsday2.dat", dir_.path() / "obsday3.svg");
  result = run(NIGHTMARK_BIN, kNightmarkAnswers);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  result = run(NIGHTMARK_BIN, kNightmarkAnswers, {"--chart"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_NE(
      result.err.find("cannot write obsday3.svg: it is the same file as the input obsday2.dat"),
      std::string::npos)
      << result.err;
  EXPECT_EQ(dir_.read("obsday2.dat"), kDailyList);
}

// 15: every name the folder takes can be written, though the temporary name is longer.
TEST_F(OutputSafety, LongestOutputNamesAreWritten) {
  const std::string gcvs = e2e::read_file(fs::path(E2E_CASES_DIR) / "starimport" /
                                          "gcvs_extract_flag_2_to_file" / "in" / "gcvs5.txt");
  ASSERT_FALSE(gcvs.empty());
  dir_.write("gcvs5.txt", gcvs);
  for (const std::size_t length : {240u, 250u, 255u}) {
    const std::string name = std::string(length - 4, 'n') + ".dat";
    dir_.write(name, kOld);
    const auto result = run(STARIMPORT_BIN, "", {"--flag=2", "-o", name, "gcvs5.txt"});
    EXPECT_EQ(result.exit_code, 0) << length << ": " << result.err;
    EXPECT_NE(dir_.read(name), kOld) << length;
    // A temporary file left would be cut to the longest name: this one's own.
    fs::remove(dir_.path() / name);
  }
  expect_no_temporary_files(dir_);
}

}  // namespace
}  // namespace robustness
