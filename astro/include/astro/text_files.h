#pragma once
/// Reading and writing the system's text files.
///
/// Input: every CR is dropped wherever it stands, a Ctrl-Z byte ends the input, and a
/// last line without a line end is a line like any other. Output: every line end is
/// CR LF, and a failed write or close is reported, never passed over.

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace astro {

/// A failure that ends a run: the message names the file or the answer at fault.
struct RunError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

/// Reads a text file line by line, streaming (memory does not grow with the file).
class LineReader {
 public:
  /// Opens `path` for reading; throws RunError naming the file when it cannot.
  explicit LineReader(const std::string& path);
  /// As above, but a missing file gives a reader that is not open (is_open() false)
  /// instead of an error.
  static LineReader open_if_exists(const std::string& path);
  ~LineReader();
  LineReader(LineReader&& other) noexcept;
  LineReader& operator=(LineReader&&) = delete;
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool is_open() const { return file_ != nullptr; }
  /// Reads the next line into `line` without its line end; false at the end of the
  /// input. Throws RunError on a read error (a directory of that name, say).
  bool next(std::string& line);
  /// 1-based number of the line last read.
  long line_number() const { return line_number_; }
  const std::string& path() const { return path_; }

 private:
  struct NotOpened {};
  LineReader(const std::string& path, NotOpened);
  bool fill();

  std::string path_;
  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool finished_ = false;
  long line_number_ = 0;
};

/// An output text file: created or truncated on opening, '\n' written as CR LF.
class OutputFile {
 public:
  /// Creates or truncates `path`; throws RunError naming the file when it cannot.
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// Writes text, each '\n' as CR LF.
  void write(std::string_view text);
  /// Writes one character, '\n' as CR LF.
  void write(char c) {
    if (c == '\n') {
      end_line();
      return;
    }
    check_open();
    put(&c, 1);
  }
  /// printf-style formatted write, each '\n' as CR LF.
  void print(const char* format, ...) __attribute__((format(printf, 2, 3)));
  /// Writes a number as print("%*.*f", width, precision, value) would (see
  /// format_fixed); precision 0 to kMaxFixedPrecision.
  void write_fixed(double value, int width, int precision);
  /// Writes a number as print("%*d", width, value) would.
  void write_int(int value, int width);
  /// Ends a line, as write("\n") would: CR LF.
  void end_line() {
    check_open();
    put(kLineEnd.data(), kLineEnd.size());
  }
  /// Flushes and closes; throws RunError when anything written did not reach the file.
  void close();
  const std::string& path() const { return path_; }

 private:
  /// Every line end of an output file.
  static constexpr std::string_view kLineEnd = "\r\n";

  [[noreturn]] void fail(const char* what);
  [[noreturn]] void fail_closed() const;
  void check_open() const {
    if (file_ == nullptr) fail_closed();
  }
  /// Copies bytes into the block as they are, handing each full block to the C library.
  void put(const char* text, std::size_t length) {
    if (length <= block_.size() - used_) {
      std::memcpy(block_.data() + used_, text, length);
      used_ += length;
    } else {
      put_across_blocks(text, length);
    }
  }
  void put_blanks(std::size_t count) {
    if (count <= block_.size() - used_) {
      std::memset(block_.data() + used_, ' ', count);
      used_ += count;
    } else {
      put_blanks_across_blocks(count);
    }
  }
  void put_across_blocks(const char* text, std::size_t length);
  void put_blanks_across_blocks(std::size_t count);
  /// Hands the collected bytes to the C library.
  void flush_block();

  std::string path_;
  std::FILE* file_ = nullptr;
  std::vector<char> block_;  ///< bytes not yet handed on: block_[0, used_)
  std::size_t used_ = 0;
};

/// The text that printf's "%s" prints of a string: up to its first NUL, if any.
inline std::string_view as_c_string(const std::string& text) { return text.c_str(); }

/// A warning on standard error naming the file and line: "FILE:LINE: what".
void warn_line(const std::string& path, long line_number, std::string_view what);
/// A warning on standard error naming the file: "FILE: what".
void warn_file(const std::string& path, std::string_view what);

}  // namespace astro
