#pragma once
/// Reading the system's text files, and the warnings about their lines.
///
/// Only regular files are read (a pipe or a device could block the run or never end); a
/// UTF-8 byte-order mark at the start is skipped; every CR is dropped wherever it stands,
/// a Ctrl-Z byte ends the input, and a last line without a line end is a line like any
/// other. Output files are written by output_file.h.

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "io/run_error.h"

namespace io {

/// End-of-input byte of text files.
inline constexpr char kCtrlZ = '\x1a';

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
/// An input file, closed at the end of its scope.
using InputStream = std::unique_ptr<std::FILE, FileCloser>;

/// Opens the input file `path` for reading, without blocking: a FIFO, a device or a
/// socket is refused ("cannot read PATH: not a regular file (a FIFO)"), a folder too
/// ("cannot read PATH: Is a directory"). A UTF-8 byte-order mark at its start is
/// skipped. Throws RunError naming the file; a missing file gives nullptr when
/// `missing_is_empty`, an error otherwise.
InputStream open_input_file(const std::string& path, bool missing_is_empty = false);

/// Longest part of a line a LineReader keeps, bytes (CRs not counted): far more than
/// any field of the system's files needs.
inline constexpr std::size_t kMaxKeptLineBytes = 4096;

/// Reads a text file line by line, streaming: memory does not grow with the file nor
/// with the length of a line.
///
/// A line longer than kMaxKeptLineBytes is cut there: the rest is read and dropped, and
/// the line is still one record (one line number). A Ctrl-Z in the dropped part still
/// ends the input; a NUL byte in the dropped part is kept as the last byte of the line,
/// so that every test for a NUL sees it. A cut line is never "short".
class LineReader {
 public:
  /// Opens `path` (see open_input_file); throws RunError naming the file when it cannot.
  explicit LineReader(const std::string& path);
  /// As above, but a missing file gives a reader that is not open (is_open() false)
  /// instead of an error. The file is opened once.
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
  /// True when the line last read was longer than kMaxKeptLineBytes and was cut.
  bool line_was_cut() const { return line_was_cut_; }
  const std::string& path() const { return path_; }

 private:
  LineReader(const std::string& path, InputStream file);
  bool fill();
  /// Appends the bytes of a line, CRs left out, up to kMaxKeptLineBytes.
  void keep(std::string& line, const char* text, std::size_t length);

  std::string path_;
  InputStream file_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool finished_ = false;
  bool line_was_cut_ = false;
  bool dropped_nul_ = false;
  long line_number_ = 0;
  bool owns_warnings_ = true;  ///< false once moved from
};

/// A warning on standard error naming the file and line: "FILE:LINE: what", every byte
/// that is not printable ASCII escaped. At most 100 are printed for one reading of a
/// file (one LineReader); the reader says at its end how many lines were skipped besides.
void warn_line(const std::string& path, long line_number, std::string_view what);
/// A warning on standard error naming the file: "FILE: what", escaped as above.
void warn_file(const std::string& path, std::string_view what);
/// Ends the warnings of `path` that warn_line printed outside a LineReader of that name
/// (records of a file read whole, or of standard input): says how many were withheld,
/// as a reader does at its end, and starts the count afresh.
void finish_warnings(const std::string& path);

}  // namespace io
