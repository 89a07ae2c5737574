#pragma once
/// Reading and writing the system's text files.
///
/// Input: only regular files are read (a pipe or a device could block the run or never
/// end); a UTF-8 byte-order mark at the start is skipped; every CR is dropped wherever it
/// stands, a Ctrl-Z byte ends the input, and a last line without a line end is a line like
/// any other. Output: every line end is CR LF, and a failed write or close is reported,
/// never passed over; an output replaces its old file only once it is complete (see
/// atomic_output.h).

#include <cstdio>
#include <cstring>
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

class PendingFile;

/// An output text file, '\n' written as CR LF. The old file of that name stays as it
/// was until close() (or the commit of its OutputSet) replaces it with the complete new
/// one (see atomic_output.h); a file that is destroyed unclosed, after an error say,
/// leaves it as it was.
class OutputFile {
 public:
  /// Opens `path` for a new content; throws RunError naming the file when it cannot
  /// (a folder or a read-only file of that name, a folder that cannot be written).
  explicit OutputFile(const std::string& path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  /// Writes text, each '\n' as CR LF.
  void write(std::string_view text);
  /// Writes text that holds no '\n', as it is (write() without looking for line ends).
  void write_text(std::string_view text) {
    check_open();
    put(text.data(), text.size());
  }
  /// The next `length` bytes of the file, to be written in place before any other call
  /// (they must hold no '\n'): a pointer into the block, or null when `length` exceeds
  /// kClaimMostBytes (then write them with write_text).
  char* claim(std::size_t length) {
    check_open();
    if (length > kClaimMostBytes) return nullptr;
    if (used_ >= kBlockBytes) hand_on_block();
    char* at = block_.data() + used_;
    used_ += length;
    return at;
  }
  /// Most bytes one claim() takes: a claim may run past the block's end into this room,
  /// so that every block handed on is whole.
  static constexpr std::size_t kClaimMostBytes = 4096;
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
  /// Ends a line, as write("\n") would: CR LF.
  void end_line() {
    check_open();
    put(kLineEnd.data(), kLineEnd.size());
  }
  /// Completes the file and replaces the old one with it; throws RunError when anything
  /// written did not reach the disk (the old file then stays as it was).
  void close();
  /// Completes the file (flushed, synced, closed) without replacing the old one yet:
  /// for the files of an OutputSet. Throws RunError as close() does.
  void finish();
  /// Replaces the old file with the finished one.
  void commit();
  /// The file the bytes are in until the commit.
  const std::string& written_path() const;
  const std::string& path() const { return path_; }

 private:
  /// Every line end of an output file.
  static constexpr std::string_view kLineEnd = "\r\n";
  /// Output is handed to the C library in whole blocks of this size, so that every
  /// write but the last starts and ends on a page of the file: the kernel then never
  /// takes a page in two writes, which cost it a quarter more time for a long output
  /// (bench/README.md).
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

  [[noreturn]] void fail(const char* what);
  [[noreturn]] void fail_closed() const;
  void check_open() const {
    if (file_ == nullptr) fail_closed();
  }
  /// Copies bytes into the block as they are, handing each full block to the C library.
  void put(const char* text, std::size_t length) {
    if (used_ + length <= kBlockBytes) {
      std::memcpy(block_.data() + used_, text, length);
      used_ += length;
    } else {
      put_across_blocks(text, length);
    }
  }
  void put_blanks(std::size_t count) {
    if (used_ + count <= kBlockBytes) {
      std::memset(block_.data() + used_, ' ', count);
      used_ += count;
    } else {
      put_blanks_across_blocks(count);
    }
  }
  void put_across_blocks(const char* text, std::size_t length);
  void put_blanks_across_blocks(std::size_t count);
  /// Puts `length` bytes into whole blocks: fill(to, from, count) writes the bytes
  /// from..from + count of them at `to`.
  template <typename Fill>
  void fill_across_blocks(std::size_t length, Fill fill);
  /// Hands the first kBlockBytes of the collected bytes (used_ at least that many) to
  /// the C library and moves what a claim put past them to the front.
  void hand_on_block();
  /// Hands all the collected bytes to the C library.
  void flush_block();
  /// Counts `length` bytes handed on, starts the writing of a long stretch to the disk
  /// and drops from the page cache what an earlier stretch put on it.
  void handed_on(std::size_t length);

  std::string path_;
  std::unique_ptr<PendingFile> pending_;
  std::FILE* file_ = nullptr;
  /// Bytes not yet handed on: block_[0, used_), kBlockBytes and the room of a claim.
  std::vector<char> block_;
  std::size_t used_ = 0;
  long long handed_ = 0;        ///< bytes handed to the C library
  long long written_back_ = 0;  ///< bytes whose writing to the disk has been started
  long long released_ = 0;      ///< bytes on the disk and out of the page cache
};

/// The text that printf's "%s" prints of a string: up to its first NUL, if any.
inline std::string_view as_c_string(const std::string& text) { return text.c_str(); }

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
