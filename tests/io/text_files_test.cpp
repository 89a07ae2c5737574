#include "io/text_files.h"

#include <gtest/gtest.h>

#include <unistd.h>

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

}  // namespace
