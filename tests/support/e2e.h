#pragma once
/// Runs a built program in a temporary folder with scripted answers.

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

/// A fresh temporary folder, removed with everything in it at the end of the scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// Writes `content` byte for byte to the file `name` in the folder.
  void write(const std::string& name, const std::string& content) const;
  /// The bytes of the file `name`; fails the test when it cannot be read.
  std::string read(const std::string& name) const;
  bool exists(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

struct RunResult {
  int exit_code = -1;  ///< exit status, -1 when the program did not exit normally
  int signal = 0;      ///< the signal that ended it, 0 when none
  bool timed_out = false;
  long peak_memory_kib = 0;  ///< the program's peak resident memory, KiB, sampled while it ran
  std::string out;           ///< standard output
  std::string err;           ///< standard error
};

/// Runs `program` (an absolute path) with `args` in `dir`, standard input fed from
/// `input` (closed at its end), killed after `timeout`; `environment` (NAME=VALUE) is
/// set for it on top of the tests' own.
RunResult run(const std::string& program, const std::filesystem::path& dir,
              const std::string& input, const std::vector<std::string>& args = {},
              std::chrono::seconds timeout = std::chrono::seconds(10),
              const std::vector<std::string>& environment = {});

/// Reads a whole file as bytes (empty when it cannot be read).
std::string read_file(const std::filesystem::path& file);

}  // namespace e2e
