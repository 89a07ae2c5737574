#include "io/atomic_output.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <fmt/format.h>

#include "io/run_error.h"
#include "signals_held.h"

namespace io {
namespace {

namespace fs = std::filesystem;

std::string reason(int error) { return std::strerror(error); }

/// Outputs in progress at once, at most (nightmark has three, plus a chart and exports).
constexpr int kMaxPendingFiles = 16;
/// Links followed from an output's name to its file, at most (as the kernel's ELOOP).
constexpr int kMaxSymlinkHops = 40;
/// Permission bits a file may carry.
constexpr mode_t kPermissionBits = 07777;
/// Permission bits of a new output before the umask, as fopen gives.
constexpr mode_t kNewFileBits = 0666;

// The signal handler reads these, so they are plain static storage: a fixed table of
// paths and flags, never a container that could be in the middle of a change.
char g_pending_paths[kMaxPendingFiles][PATH_MAX];
volatile std::sig_atomic_t g_pending_used[kMaxPendingFiles];
char g_signal_message[128];
std::size_t g_signal_message_length = 0;

constexpr int kCleanupSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void remove_pending_files(int sig) {
  const int saved_errno = errno;
  for (int i = 0; i < kMaxPendingFiles; ++i) {
    if (g_pending_used[i] != 0) ::unlink(g_pending_paths[i]);
  }
  if (g_signal_message_length > 0) {
    [[maybe_unused]] const ssize_t n = ::write(2, g_signal_message, g_signal_message_length);
  }
  errno = saved_errno;
  // Ends the process as the signal would have without the handler (the shell sees it).
  std::signal(sig, SIG_DFL);
  std::raise(sig);
}

/// Takes a free place in the table for `path`; -1 when the path does not fit or the
/// table is full. Call with the signals held.
int register_pending(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < kMaxPendingFiles; ++i) {
    if (g_pending_used[i] != 0) continue;
    std::memcpy(g_pending_paths[i], path.c_str(), path.size() + 1);
    g_pending_used[i] = 1;
    return i;
  }
  return -1;
}

/// The file an output name stands for: symlinks followed (also one that points to a
/// file not yet made, which the output then creates, as opening it would).
fs::path link_target(const std::string& path) {
  fs::path target = path;
  for (int hop = 0; hop < kMaxSymlinkHops; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(target, error))) break;
    const fs::path next = fs::read_symlink(target, error);
    if (error) break;
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  return target;
}

mode_t new_file_mode() {
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return kNewFileBits & ~mask;
}

[[noreturn]] void cannot_create(const std::string& path, int error) {
  throw RunError("cannot create " + path + ": " + reason(error));
}

/// Opens the output itself, truncated, as a plain program would.
int open_in_place(const std::string& path, const std::string& target) {
  const int fd =
      ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, kNewFileBits);
  if (fd < 0) cannot_create(path, errno);
  return fd;
}

/// Writes a folder's entries through to the disk, so that a rename survives a crash.
/// A file system that cannot sync a folder keeps the rename all the same.
void sync_folder(const fs::path& folder) {
  const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

SignalsHeld::SignalsHeld() {
  sigset_t held;
  sigemptyset(&held);
  for (const int sig : kCleanupSignals) sigaddset(&held, sig);
  sigprocmask(SIG_BLOCK, &held, &before_);
}

SignalsHeld::~SignalsHeld() { sigprocmask(SIG_SETMASK, &before_, nullptr); }

void check_replaceable(const std::string& path) {
  const fs::path target = link_target(path);
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) {
    if (errno == ENOENT) return;
    cannot_create(path, errno);
  }
  if (S_ISDIR(status.st_mode)) cannot_create(path, EISDIR);
  // A file the user made read-only is not to be replaced, as it could not be rewritten.
  if (::access(target.c_str(), W_OK) != 0) cannot_create(path, errno);
}

PendingFile::PendingFile(const std::string& path) : path_(path) {
  check_replaceable(path);
  const fs::path target = link_target(path);
  target_ = target.string();
  struct stat status {};
  const bool exists = ::stat(target_.c_str(), &status) == 0;
  if (exists && !S_ISREG(status.st_mode)) {
    // A device or a FIFO is not a file to replace.
    in_place_ = true;
    fd_ = open_in_place(path_, target_);
    return;
  }
  const mode_t mode = exists ? (status.st_mode & kPermissionBits) : new_file_mode();
  const fs::path folder = target.parent_path();
  std::string name =
      fmt::format("{}.{}.tmp-{}-XXXXXX", (folder.empty() ? fs::path() : folder / "").string(),
                  target.filename().string(), ::getpid());
  const SignalsHeld held;
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    // A folder the user may not write to, holding an output the user may write.
    if (error == EACCES || error == EPERM || error == EROFS) {
      in_place_ = true;
      fd_ = open_in_place(path_, target_);
      return;
    }
    cannot_create(path_, error);
  }
  temp_path_ = name;
  slot_ = register_pending(temp_path_);
  if (slot_ < 0) {
    ::close(fd_);
    ::unlink(temp_path_.c_str());
    throw RunError("cannot create " + path_ + ": too many output files at once");
  }
  // mkstemp makes the file for its owner alone; the new file keeps the old one's bits.
  // A failure leaves it readable by its owner, which is no loss of data.
  ::fchmod(fd_, mode);
}

PendingFile::~PendingFile() { discard(); }

void PendingFile::sync() const {
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
    throw RunError("cannot write " + path_ + ": " + reason(errno));
  }
}

void PendingFile::commit() {
  if (in_place_ || slot_ < 0) return;
  const SignalsHeld held;
  if (::rename(temp_path_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    discard();
    throw RunError("cannot replace " + path_ + ": " + reason(error));
  }
  g_pending_used[slot_] = 0;
  slot_ = -1;
  sync_folder(fs::path(target_).parent_path());
}

void PendingFile::discard() noexcept {
  if (slot_ < 0) return;
  const SignalsHeld held;
  ::unlink(temp_path_.c_str());
  g_pending_used[slot_] = 0;
  slot_ = -1;
}

void install_output_cleanup(std::string_view program_name) {
  static bool installed = false;
  if (installed) return;
  installed = true;
  const std::string message = std::string(program_name) + ": stopped by a signal\n";
  g_signal_message_length = std::min(message.size(), sizeof g_signal_message);
  std::memcpy(g_signal_message, message.data(), g_signal_message_length);
  struct sigaction action {};
  action.sa_handler = remove_pending_files;
  sigemptyset(&action.sa_mask);
  for (const int sig : kCleanupSignals) sigaddset(&action.sa_mask, sig);
  for (const int sig : kCleanupSignals) {
    // A signal the caller chose to ignore (nohup) stays ignored.
    struct sigaction old {};
    sigaction(sig, nullptr, &old);
    if (old.sa_handler != SIG_IGN) sigaction(sig, &action, nullptr);
  }
  std::signal(SIGPIPE, SIG_IGN);
}

void refuse_shared_files(std::initializer_list<std::string_view> inputs,
                         std::initializer_list<std::string_view> outputs) {
  struct Named {
    std::string name;
    struct stat status;
    bool is_input;
  };
  std::vector<Named> seen;
  auto visit = [&](std::string_view name, bool is_input) {
    Named entry{std::string(name), {}, is_input};
    if (::stat(entry.name.c_str(), &entry.status) != 0) return;
    for (const Named& earlier : seen) {
      if (earlier.status.st_dev != entry.status.st_dev ||
          earlier.status.st_ino != entry.status.st_ino) {
        continue;
      }
      if (!is_input) {
        throw RunError("cannot write " + entry.name + ": it is the same file as the " +
                       (earlier.is_input ? "input " : "output ") + earlier.name);
      }
    }
    seen.push_back(entry);
  };
  for (const std::string_view input : inputs) visit(input, true);
  for (const std::string_view output : outputs) visit(output, false);
}

}  // namespace io
