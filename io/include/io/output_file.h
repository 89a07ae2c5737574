#pragma once
/// Writing the system's text files: every line end is CR LF, and a failed write or
/// close is reported, never passed over; an output replaces its old file only once it
/// is complete (see atomic_output.h).

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "io/block_buffer.h"
#include "io/run_error.h"

namespace io {

/// An output text file, '\n' written as CR LF. The old file of that name stays as it
/// was until close() (or the commit of its OutputSet) replaces it with the complete new
/// one; a file that is destroyed unclosed, after an error say, leaves it as it was.
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
    block_.put(text.data(), text.size());
  }
  /// The next `length` bytes of the file, to be written in place before any other call
  /// (they must hold no '\n'): a pointer into the block, or null when `length` exceeds
  /// kClaimMostBytes (then write them with write_text).
  char* claim(std::size_t length) {
    check_open();
    return block_.claim(length);
  }
  /// Most bytes one claim() takes.
  static constexpr std::size_t kClaimMostBytes = BlockBuffer::kClaimMostBytes;
  /// Writes one character, '\n' as CR LF.
  void write(char c) {
    if (c == '\n') {
      end_line();
      return;
    }
    check_open();
    block_.put(&c, 1);
  }
  /// Ends a line, as write("\n") would: CR LF.
  void end_line() {
    check_open();
    block_.put(kLineEnd.data(), kLineEnd.size());
  }
  /// Completes the file and replaces the old one with it; throws RunError when anything
  /// written did not reach the disk (the old file then stays as it was).
  void close();
  /// Completes the file (flushed, synced, closed) without replacing the old one yet:
  /// for the files of an OutputSet. Throws RunError as close() does.
  void finish();
  /// Checks that the finished file can replace the old one (see PendingFile::prepare);
  /// nothing on disk changes.
  void prepare();
  /// Replaces the old file with the finished one.
  void commit();
  /// The file the bytes are in until the commit (empty when an unnamed one).
  const std::string& written_path() const;
  const std::string& path() const { return path_; }

 private:
  /// The C library's stream on the file being written, and its way to the disk: the
  /// block buffer's sink.
  class Stream;

  OutputFile(const std::string& path, std::unique_ptr<Stream> stream);

  /// Every line end of an output file.
  static constexpr std::string_view kLineEnd = "\r\n";

  void check_open() const {
    if (!open_) fail_closed();
  }
  [[noreturn]] void fail_closed() const;
  /// Closes the stream, leaves the old file as it was and throws RunError
  /// "WHAT PATH: REASON" with the reason errno gives.
  [[noreturn]] void fail(const char* what);

  // The block first and the flag beside it: the inline writes find both at the start of
  // the object.
  BlockBuffer block_;
  bool open_ = false;
  std::string path_;
  std::unique_ptr<Stream> stream_;
};

/// The text that printf's "%s" prints of a string: up to its first NUL, if any.
inline std::string_view as_c_string(const std::string& text) { return text.c_str(); }

}  // namespace io
