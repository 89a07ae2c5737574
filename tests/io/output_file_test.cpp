// Output text files: CR LF line ends, pieces and claims across the blocks, a long output
// leaving the page cache, failures reported.
#include "io/output_file.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e.h"

namespace {

namespace fs = std::filesystem;

class OutputFileTest : public testing::Test {
 protected:
  std::string file(const std::string& name) const { return (dir_.path() / name).string(); }
  std::string read(const std::string& name) const { return dir_.read(name); }

  e2e::TempDir dir_;
};

TEST_F(OutputFileTest, WritesCrLfLineEnds) {
  io::OutputFile out(file("out.txt"));
  out.write("one\n");
  out.write_text("   7 21.50");
  out.end_line();
  out.write(std::string(1000, 'q'));
  out.write('\n');
  out.close();
  EXPECT_EQ(read("out.txt"), "one\r\n   7 21.50\r\n" + std::string(1000, 'q') + "\r\n");
}

TEST_F(OutputFileTest, PiecesAndClaimsGiveTheBytesOfWholeLines) {
  // The same lines written whole and in pieces (texts, characters, claimed bytes, line
  // ends), across many output blocks so that pieces straddle their boundaries.
  io::OutputFile whole(file("whole.txt"));
  io::OutputFile pieces(file("pieces.txt"));
  for (int i = 0; i < 30000; ++i) {
    std::string line = "name" + std::to_string(i * 7919 % 100003);
    pieces.write_text(line);
    pieces.write('|');
    line += '|';
    if (i % 7 == 0) {
      const std::string run(static_cast<std::size_t>(i % 300), 'w');
      pieces.write(run);
      line += run;
    }
    if (i % 5 == 0) {
      // Bytes claimed in place, running past the ends of blocks.
      const auto length = static_cast<std::size_t>(i % 170);
      const char letter = static_cast<char>('a' + i % 26);
      char* const at = pieces.claim(length);
      ASSERT_NE(at, nullptr);
      std::fill(at, at + length, letter);
      line += std::string(length, letter);
    }
    whole.write(line + "\n");
    if (i % 2 == 0) {
      pieces.end_line();
    } else {
      pieces.write('\n');
    }
  }
  // One piece longer than a whole block, and a claim beyond what one may take.
  whole.write(std::string(200000, 'z') + "\n");
  pieces.write(std::string(200000, 'z') + "\n");
  EXPECT_EQ(pieces.claim(io::OutputFile::kClaimMostBytes + 1), nullptr);
  whole.close();
  pieces.close();
  const std::string written = read("whole.txt");
  EXPECT_GT(written.size(), 1000000u);
  EXPECT_EQ(read("pieces.txt"), written);
}

// Pages of the file at `path` that are in the page cache, of its first `pages`.
std::size_t resident_pages(const std::string& path, std::size_t pages) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return 0;
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  void* const map = ::mmap(nullptr, pages * page, PROT_READ, MAP_SHARED, fd, 0);
  ::close(fd);
  if (map == MAP_FAILED) return 0;
  std::vector<unsigned char> in_core(pages);
  std::size_t resident = 0;
  if (::mincore(map, pages * page, in_core.data()) == 0) {
    resident = static_cast<std::size_t>(
        std::count_if(in_core.begin(), in_core.end(), [](unsigned char c) { return c & 1; }));
  }
  ::munmap(map, pages * page);
  return resident;
}

// Whether the file system drops a synced file's pages when told to (tmpfs cannot).
bool drops_cached_pages(const std::string& path) {
  std::ofstream(path, std::ios::binary) << std::string(1 << 16, 'p');
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  ::fsync(fd);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
  return resident_pages(path, 16) == 0;
}

TEST_F(OutputFileTest, ALongOutputLeavesThePageCacheAsItGoesAndKeepsEveryByte) {
  // Lines of varying length over some 48 MB: the early stretches go to the disk and out
  // of the page cache while the rest is written, without a byte lost or moved.
  io::OutputFile out(file("long.txt"));
  std::string expected;
  expected.reserve(50u << 20);
  for (int i = 0; expected.size() < (48u << 20); ++i) {
    const std::string line = std::to_string(i) + std::string(static_cast<std::size_t>(i % 97), 'x');
    out.write(line + "\n");
    expected += line + "\r\n";
  }
  out.close();
  const bool checks_cache = drops_cached_pages(file("probe.txt"));
  const std::size_t early = resident_pages(file("long.txt"), 1024);  // its first 4 MB
  EXPECT_EQ(read("long.txt"), expected);
  if (checks_cache) {
    EXPECT_EQ(early, 0u);
  }
}

TEST_F(OutputFileTest, WriteConvertsEveryLineEndAndAClosedFileTakesNothing) {
  io::OutputFile out(file("out.txt"));
  out.write("");
  out.write("\n\na\nb");
  out.write(std::string_view("c\0d\n", 4));
  out.close();
  EXPECT_EQ(read("out.txt"), std::string("\r\n\r\na\r\nbc\0d\r\n", 13));
  EXPECT_THROW(out.write_text("1.0"), io::RunError);
  EXPECT_THROW(out.write('x'), io::RunError);
  EXPECT_THROW(out.claim(1), io::RunError);
}

TEST_F(OutputFileTest, ReportsAFullDisk) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::create_symlink("/dev/full", dir_.path() / "full.txt");
  io::OutputFile out(file("full.txt"));
  out.write("a line that cannot be stored\n");
  EXPECT_THROW(out.close(), io::RunError);

  // More than a block: the failure shows while writing, and the file takes no more.
  io::OutputFile lines(file("full.txt"));
  EXPECT_THROW(
      {
        for (int i = 0; i < 100000; ++i) lines.write_text("   12.3456");
        lines.close();
      },
      io::RunError);
  EXPECT_THROW(lines.write_text("x"), io::RunError);
}

TEST_F(OutputFileTest, ReportsAnOutputThatCannotBeCreated) {
  fs::create_directory(dir_.path() / "out.txt");
  EXPECT_THROW(io::OutputFile(file("out.txt")), io::RunError);
}

}  // namespace
