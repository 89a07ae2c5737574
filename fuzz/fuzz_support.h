#pragma once
/// What every fuzz target shares: a check that stops the run loudly, and the fuzz
/// input as a file that the readers open by name.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "io/text_files.h"

namespace fuzz {

/// Reports a broken invariant with the input that broke it still in the fuzzer's
/// hands: abort() makes libFuzzer save the input, and fails the replay test.
[[noreturn]] inline void fail(const char* what, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
  std::abort();
}

/// The fuzz bytes as text (NUL and 0xFF bytes included).
inline std::string_view as_text(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

/// A file holding the fuzz input, rewritten for every input. It lives in memory
/// (memfd), so nothing is left behind when the fuzzer stops on a crash, and its
/// /proc path opens it afresh, at offset 0, like any file name.
class InputFile {
 public:
  InputFile() : fd_(memfd_create("fuzz-input", 0)) {
    if (fd_ < 0) fail("memfd_create", __FILE__, __LINE__);
    path_ = "/proc/self/fd/" + std::to_string(fd_);
  }
  ~InputFile() { close(fd_); }
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  /// Replaces the content with `bytes`; returns the path to open.
  const std::string& hold(std::string_view bytes) {
    resize(0);
    write_at(0, bytes);
    return path_;
  }

  /// Writes `bytes` at byte `offset`, leaving the rest of the content as it is.
  void write_at(std::size_t offset, std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n =
          pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
      if (n <= 0) fail("pwrite", __FILE__, __LINE__);
      done += static_cast<std::size_t>(n);
    }
  }

  void resize(std::size_t size) {
    if (ftruncate(fd_, static_cast<off_t>(size)) != 0) fail("ftruncate", __FILE__, __LINE__);
  }

  const std::string& path() const { return path_; }

 private:
  int fd_;
  std::string path_;
};

/// The one input file of the process.
inline InputFile& input_file() {
  static InputFile file;
  return file;
}

struct StreamCloser {
  void operator()(std::FILE* stream) const { std::fclose(stream); }
};
using Stream = std::unique_ptr<std::FILE, StreamCloser>;

/// The bytes as a read stream, standard input to a dialogue; none for no bytes
/// when the C library refuses an empty buffer (older versions do).
inline Stream open_stream(std::string& bytes) {
  Stream in(fmemopen(bytes.data(), bytes.size(), "r"));
  if (!in && !bytes.empty()) fail("fmemopen", __FILE__, __LINE__);
  return in;
}

/// Calls `use(line)` for every line of the fuzz bytes as the programs read them.
template <class Use>
void for_each_line(std::string_view bytes, Use use) {
  io::LineReader reader(input_file().hold(bytes));
  std::string line;
  while (reader.next(line)) use(std::string_view(line));
}

}  // namespace fuzz

#define FUZZ_CHECK(condition) \
  ((condition) ? static_cast<void>(0) : ::fuzz::fail(#condition, __FILE__, __LINE__))
