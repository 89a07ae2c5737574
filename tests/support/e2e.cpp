#include "e2e.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace e2e {

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "ebt-e2e-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

void TempDir::write(const std::string& name, const std::string& content) const {
  std::ofstream out(path_ / name, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out) throw std::runtime_error("cannot write " + (path_ / name).string());
}

std::string TempDir::read(const std::string& name) const { return read_file(path_ / name); }

bool TempDir::exists(const std::string& name) const {
  std::error_code ignored;
  return fs::symlink_status(path_ / name, ignored).type() != fs::file_type::not_found;
}

std::string read_file(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

namespace {

/// The high-water mark of the resident memory of process `pid`, KiB, once it runs
/// `program` (before its exec the forked child still counts the test's own memory,
/// which the child's rusage would include too); 0 when it cannot be read.
long peak_memory_of(pid_t pid, const std::string& program) {
  const std::string proc = "/proc/" + std::to_string(pid);
  std::error_code error;
  if (fs::read_symlink(proc + "/exe", error) != fs::path(program)) return 0;
  std::ifstream status(proc + "/status");
  std::string key;
  long kib = 0;
  while (status >> key) {
    if (key == "VmHWM:" && status >> kib) return kib;
    status.ignore(std::numeric_limits<std::streamsize>::max(), '\n');
  }
  return 0;
}

}  // namespace

RunResult run(const std::string& program, const fs::path& dir, const std::string& input,
              const std::vector<std::string>& args, std::chrono::seconds timeout,
              const std::vector<std::string>& environment) {
  const fs::path in_file = dir / ".e2e-stdin";
  const fs::path out_file = dir / ".e2e-stdout";
  const fs::path err_file = dir / ".e2e-stderr";
  {
    std::ofstream in(in_file, std::ios::binary | std::ios::trunc);
    in << input;
  }
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    if (chdir(dir.c_str()) != 0) _exit(127);
    for (const std::string& setting : environment) {
      const std::size_t equals = setting.find('=');
      if (equals == std::string::npos ||
          setenv(setting.substr(0, equals).c_str(), setting.c_str() + equals + 1, 1) != 0) {
        _exit(127);
      }
    }
    const int in_fd = open(in_file.c_str(), O_RDONLY);
    const int out_fd = open(out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err_fd = open(err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in_fd < 0 || out_fd < 0 || err_fd < 0) _exit(127);
    dup2(in_fd, 0);
    dup2(out_fd, 1);
    dup2(err_fd, 2);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  RunResult result;
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (true) {
    result.peak_memory_kib = std::max(result.peak_memory_kib, peak_memory_of(pid, program));
    const pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) break;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      result.timed_out = true;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status) && !result.timed_out) result.signal = WTERMSIG(status);
  result.out = read_file(out_file);
  result.err = read_file(err_file);
  std::error_code ignored;
  fs::remove(in_file, ignored);
  fs::remove(out_file, ignored);
  fs::remove(err_file, ignored);
  return result;
}

}  // namespace e2e
