// Outputs that replace their old file only when complete.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "io/atomic_output.h"
#include "io/output_file.h"
#include "io/output_set.h"

namespace {

namespace fs = std::filesystem;

class AtomicOutput : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("atomic-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& text) const {
    std::ofstream(path(name), std::ios::binary) << text;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::size_t entries() const {
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_), {}));
  }
  fs::path dir_;
};

TEST_F(AtomicOutput, OldFileStaysUntilCloseAndKeepsItsPermissionBits) {
  write("out.dat", "old\r\n");
  ::chmod(path("out.dat").c_str(), 0640);
  {
    io::OutputFile out(path("out.dat"));
    out.write("new\n");
    EXPECT_EQ(read("out.dat"), "old\r\n");
    EXPECT_EQ(entries(), 2u) << "the temporary file beside it";
    out.close();
  }
  EXPECT_EQ(read("out.dat"), "new\r\n");
  EXPECT_EQ(entries(), 1u);
  struct stat st {};
  ASSERT_EQ(::stat(path("out.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicOutput, UnclosedFileLeavesTheOldOneAndNoTemporaryFile) {
  write("out.dat", "old\r\n");
  {
    io::OutputFile out(path("out.dat"));
    out.write(std::string(200000, 'x'));
  }
  EXPECT_EQ(read("out.dat"), "old\r\n");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicOutput, SymlinkedOutputReplacesTheFileItPointsTo) {
  fs::create_directory(dir_ / "real");
  write("real/out.dat", "old\r\n");
  fs::create_symlink("real/out.dat", dir_ / "out.dat");
  io::OutputFile out(path("out.dat"));
  out.write("new\n");
  out.close();
  EXPECT_TRUE(fs::is_symlink(dir_ / "out.dat"));
  EXPECT_EQ(read("real/out.dat"), "new\r\n");
}

TEST_F(AtomicOutput, SetIsReplacedOnlyAsAWhole) {
  write("a.txt", "old a");
  write("b.txt", "old b");
  {
    io::OutputSet set;
    set.add(path("a.txt")).write("new a");
    set.add(path("b.txt")).write("new b");
    EXPECT_THROW(set.add(path("")), io::RunError);  // a folder's name
  }
  EXPECT_EQ(read("a.txt"), "old a");
  EXPECT_EQ(read("b.txt"), "old b");
  EXPECT_EQ(entries(), 2u);
  io::OutputSet set;
  set.add(path("a.txt")).write("new a");
  set.add(path("b.txt")).write("new b");
  set.commit();
  EXPECT_EQ(read("a.txt") + read("b.txt"), "new anew b");
}

TEST_F(AtomicOutput, SharedFilesAreRefused) {
  write("in.dat", "x");
  fs::create_hard_link(dir_ / "in.dat", dir_ / "hard.dat");
  EXPECT_THROW(io::refuse_shared_files({path("in.dat")}, {path("hard.dat")}), io::RunError);
  EXPECT_THROW(io::refuse_shared_files({}, {path("in.dat"), path("hard.dat")}), io::RunError);
  EXPECT_NO_THROW(io::refuse_shared_files({path("in.dat")}, {path("missing.dat")}));
  // Two outputs through a link to a file not yet made.
  fs::create_symlink("b.dat", dir_ / "a.dat");
  EXPECT_THROW(io::refuse_shared_files({}, {path("b.dat"), path("a.dat")}), io::RunError);
  EXPECT_NO_THROW(io::refuse_shared_files({}, {path("a.dat"), path("c.dat")}));
}

TEST_F(AtomicOutput, LongestNameIsWrittenAndItsTemporaryFileCut) {
  const std::string name(255, 'n');
  write(name, "old");
  io::OutputFile out(path(name));
  out.write("new");
  std::string temporary;
  for (const auto& entry : fs::directory_iterator(dir_)) {
    if (entry.path().filename() != name) temporary = entry.path().filename().string();
  }
  EXPECT_EQ(temporary.size(), 255u);
  EXPECT_TRUE(temporary.starts_with(".nnn")) << temporary;
  out.close();
  EXPECT_EQ(read(name), "new");
  EXPECT_EQ(entries(), 1u);
}

TEST_F(AtomicOutput, TemporaryFilesOfEndedProcessesAreRemoved) {
  // A process that has ended, and one that runs (this one's parent).
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ASSERT_GT(ended, 0);
  ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
  const std::string stale = ".out.dat.tmp-" + std::to_string(ended) + "-AbCdEf";
  const std::string tail = ".tmp-" + std::to_string(ended) + "-AbCdEf";
  const std::string stale_cut = "." + std::string(255 - 1 - tail.size(), 'n') + tail;
  const std::string running = ".out.dat.tmp-" + std::to_string(::getppid()) + "-AbCdEf";
  const std::string other = ".other.dat.tmp-" + std::to_string(ended) + "-AbCdEf";
  for (const std::string& name : {stale, running, other}) write(name, "x");
  io::OutputFile(path("out.dat")).close();
  EXPECT_FALSE(fs::exists(dir_ / stale));
  EXPECT_TRUE(fs::exists(dir_ / running));
  EXPECT_TRUE(fs::exists(dir_ / other)) << "another output's";
  const std::string long_name(255, 'n');
  write(stale_cut, "x");
  io::OutputFile(path(long_name)).close();
  EXPECT_FALSE(fs::exists(dir_ / stale_cut)) << "one whose name was cut";
}

}  // namespace
