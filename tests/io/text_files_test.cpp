#include "io/text_files.h"
#include "formats/fixed_format.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class TextFiles : public testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("astro-text-" + std::to_string(::getpid()) + "-" +
                                     testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string file(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::vector<std::string> lines_of(const std::string& bytes) const {
    write("in.txt", bytes);
    io::LineReader reader(file("in.txt"));
    std::vector<std::string> lines;
    std::string line;
    while (reader.next(line)) lines.push_back(line);
    return lines;
  }

  fs::path dir_;
};

using Lines = std::vector<std::string>;

TEST_F(TextFiles, ReadsLinesWhateverTheirEnds) {
  EXPECT_EQ(lines_of("a\nb\n"), (Lines{"a", "b"}));
  EXPECT_EQ(lines_of("a\r\nb\r\n"), (Lines{"a", "b"}));
  // A last line without a line end is a line like any other.
  EXPECT_EQ(lines_of("a\nb"), (Lines{"a", "b"}));
  EXPECT_EQ(lines_of(""), Lines{});
  EXPECT_EQ(lines_of("\n\n"), (Lines{"", ""}));
  // Every CR is dropped wherever it stands.
  EXPECT_EQ(lines_of("a\rb\r\n\rc"), (Lines{"ab", "c"}));
  EXPECT_EQ(lines_of("x\ry\r"), Lines{"xy"});
}

TEST_F(TextFiles, StopsAtCtrlZ) {
  EXPECT_EQ(lines_of("a\nb\n\x1a"), (Lines{"a", "b"}));
  EXPECT_EQ(lines_of("a\nb\x1a"
                     "c\nd\n"),
            (Lines{"a", "b"}));
  EXPECT_EQ(lines_of("\x1a"
                     "a\n"),
            Lines{});
}

TEST_F(TextFiles, KeepsLongLinesUpToTheCapAsOneRecord) {
  const std::string kept(io::kMaxKeptLineBytes, 'z');
  EXPECT_EQ(lines_of(kept + "\r\nend\n"), (Lines{kept, "end"}));
  EXPECT_EQ(lines_of(kept + std::string(100000, 'y') + "\nend\n"), (Lines{kept, "end"}));
  // The dropped part is still searched for a NUL and a Ctrl-Z.
  std::string with_nul = kept;
  with_nul.back() = '\0';
  EXPECT_EQ(lines_of(kept + std::string(9000, 'y') + '\0' + "y\nend\n"), (Lines{with_nul, "end"}));
  EXPECT_EQ(lines_of(kept + std::string(9000, 'y') + "\x1a\nlost\n"), (Lines{kept}));
  write("cut.txt", kept + "more\n" + kept + "\r\n");
  io::LineReader reader(file("cut.txt"));
  std::string line;
  ASSERT_TRUE(reader.next(line));
  EXPECT_TRUE(reader.line_was_cut());
  ASSERT_TRUE(reader.next(line));
  EXPECT_FALSE(reader.line_was_cut()) << "a CR after the kept bytes is no lost text";
  EXPECT_EQ(reader.line_number(), 2);
}

TEST_F(TextFiles, SkipsAByteOrderMarkAtTheStartOnly) {
  EXPECT_EQ(lines_of("\xef\xbb\xbfV1 Cyg\n\xef\xbb\xbfx\n"), (Lines{"V1 Cyg", "\xef\xbb\xbfx"}));
  EXPECT_EQ(lines_of("\xef\xbb"), (Lines{"\xef\xbb"}));
}

TEST_F(TextFiles, BlockStraddlingLines) {
  // Lines that straddle the reader's internal blocks.
  std::string many;
  Lines want;
  for (int i = 0; i < 20000; ++i) {
    want.push_back(std::string(static_cast<std::size_t>(i % 97), 'a' + i % 26));
    many += want.back() + "\r\n";
  }
  EXPECT_EQ(lines_of(many), want);
}

TEST_F(TextFiles, CountsLines) {
  write("in.txt", "a\n\nc\n");
  io::LineReader reader(file("in.txt"));
  std::string line;
  ASSERT_TRUE(reader.next(line));
  ASSERT_TRUE(reader.next(line));
  ASSERT_TRUE(reader.next(line));
  EXPECT_EQ(reader.line_number(), 3);
  EXPECT_FALSE(reader.next(line));
}

TEST_F(TextFiles, ReportsFilesThatCannotBeRead) {
  try {
    io::LineReader reader(file("missing.dat"));
    FAIL() << "opened a missing file";
  } catch (const io::RunError& e) {
    EXPECT_NE(std::string(e.what()).find("missing.dat"), std::string::npos);
  }
  EXPECT_FALSE(io::LineReader::open_if_exists(file("missing.dat")).is_open());

  fs::create_directory(dir_ / "folder.dat");
  EXPECT_THROW(
      {
        io::LineReader reader(file("folder.dat"));
        std::string line;
        reader.next(line);
      },
      io::RunError);
}

TEST_F(TextFiles, WritesCrLfLineEnds) {
  io::OutputFile out(file("out.txt"));
  out.write("one\n");
  out.print("%4d %5.2f\n", 7, 21.5);
  out.print("%s", std::string(1000, 'q').c_str());
  out.write("\n");
  out.close();
  EXPECT_EQ(read("out.txt"), "one\r\n   7 21.50\r\n" + std::string(1000, 'q') + "\r\n");
}

TEST_F(TextFiles, NumberAndCharacterWritesGiveThePrintBytes) {
  // The same pieces through print and through the direct writers, across many
  // output blocks so that pieces straddle their boundaries.
  io::OutputFile by_print(file("print.txt"));
  io::OutputFile direct(file("direct.txt"));
  for (int i = 0; i < 30000; ++i) {
    const double value = (i - 15000) * 0.0137;
    by_print.print("%s%12.4f %4d|%2.0f", "name", value, i, value);
    direct.write("name");
    formats::write_fixed(direct, value, 12, 4);
    direct.write(' ');
    formats::write_int(direct, i, 4);
    direct.write('|');
    formats::write_fixed(direct, value, 2, 0);
    if (i % 7 == 0) {
      by_print.print("%s", std::string(static_cast<std::size_t>(i % 300), 'w').c_str());
      direct.write(std::string(static_cast<std::size_t>(i % 300), 'w'));
    }
    if (i % 5 == 0) {
      // Bytes claimed in place, running past the ends of blocks.
      const auto length = static_cast<std::size_t>(i % 170);
      const char letter = static_cast<char>('a' + i % 26);
      by_print.print("%s", std::string(length, letter).c_str());
      char* const at = direct.claim(length);
      ASSERT_NE(at, nullptr);
      std::fill(at, at + length, letter);
    }
    by_print.write("\n");
    if (i % 2 == 0) {
      direct.end_line();
    } else {
      direct.write('\n');
    }
  }
  // One piece longer than a whole block, and a claim beyond what one may take.
  by_print.print("%s\n", std::string(200000, 'z').c_str());
  direct.write(std::string(200000, 'z') + "\n");
  EXPECT_EQ(direct.claim(io::OutputFile::kClaimMostBytes + 1), nullptr);
  by_print.close();
  direct.close();
  const std::string printed = read("print.txt");
  EXPECT_GT(printed.size(), 1000000u);
  EXPECT_EQ(read("direct.txt"), printed);
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

TEST_F(TextFiles, ALongOutputLeavesThePageCacheAsItGoesAndKeepsEveryByte) {
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

TEST_F(TextFiles, WriteConvertsEveryLineEnd) {
  io::OutputFile out(file("out.txt"));
  out.write("");
  out.write("\n\na\nb");
  out.write(std::string_view("c\0d\n", 4));
  out.close();
  EXPECT_EQ(read("out.txt"), std::string("\r\n\r\na\r\nbc\0d\r\n", 13));
  EXPECT_THROW(formats::write_fixed(out, 1.0, 4, 1), io::RunError);
  EXPECT_THROW(out.write('x'), io::RunError);
}

TEST_F(TextFiles, ReportsAFullDisk) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::create_symlink("/dev/full", dir_ / "full.txt");
  io::OutputFile out(file("full.txt"));
  out.write("a line that cannot be stored\n");
  EXPECT_THROW(out.close(), io::RunError);

  // More than a block: the failure shows while writing.
  io::OutputFile numbers(file("full.txt"));
  EXPECT_THROW(
      {
        for (int i = 0; i < 100000; ++i) formats::write_fixed(numbers, i, 12, 4);
        numbers.close();
      },
      io::RunError);
}

TEST_F(TextFiles, ReportsAnOutputThatCannotBeCreated) {
  fs::create_directory(dir_ / "out.txt");
  EXPECT_THROW(io::OutputFile(file("out.txt")), io::RunError);
}

}  // namespace
