#include "io/atomic_output.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <fmt/format.h>

#include "io/message_text.h"
#include "io/run_error.h"
#include "signals_held.h"
#include "temporary_names.h"

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

/// The signals that end a process, can be caught, and come from outside it: a user, a
/// terminal, a timer or a resource limit. (The faults of the program itself, SIGSEGV
/// and its kin, keep their own handling.) The real-time signals are added at run time.
constexpr int kCleanupSignals[] = {SIGINT,  SIGTERM,   SIGHUP,  SIGQUIT, SIGUSR1,
                                   SIGUSR2, SIGALRM,   SIGXCPU, SIGPROF, SIGVTALRM,
                                   SIGPOLL, SIGSTKFLT, SIGPWR};

/// Adds every cleanup signal to `set`.
void add_cleanup_signals(sigset_t& set) {
  for (const int sig : kCleanupSignals) sigaddset(&set, sig);
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) sigaddset(&set, sig);
}

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
  throw RunError("cannot create " + escape_for_message(path) + ": " + reason(error));
}

/// True when the rename of a new file over `old` in `folder` would be refused: in a
/// sticky folder (/tmp) only the owner of a file or of the folder may replace it.
bool sticky_refuses_rename(const fs::path& folder, const struct stat& old) {
  struct stat status {};
  if (::stat(folder.empty() ? "." : folder.c_str(), &status) != 0) return false;
  const uid_t user = ::geteuid();
  return (status.st_mode & S_ISVTX) != 0 && user != 0 && old.st_uid != user &&
         status.st_uid != user;
}

/// The folder for unnamed files of outputs written in place.
std::string unnamed_file_folder() {
  const char* const tmpdir = std::getenv("TMPDIR");
  return tmpdir != nullptr && *tmpdir != '\0' ? tmpdir : "/tmp";
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
  add_cleanup_signals(held);
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
  struct stat old {};
  const bool exists = ::stat(target_.c_str(), &old) == 0;
  if (exists && !S_ISREG(old.st_mode)) {
    way_ = Way::kDirect;
    open_direct();
    return;
  }
  if (open_beside(exists, old)) return;
  // The old file is rewritten at the commit: it must be writable now, so that a run
  // that cannot write it fails before its work.
  const int probe = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (probe < 0) cannot_create(path_, errno);
  ::close(probe);
  way_ = Way::kInPlace;
  open_unnamed();
}

bool PendingFile::open_beside(bool exists, const struct stat& old) {
  const fs::path target(target_);
  const fs::path folder = target.parent_path();
  if (exists && sticky_refuses_rename(folder, old)) return false;
  remove_stale_temporaries(folder.string(), target.filename().string());
  std::string name = temporary_template(folder.string(), target.filename().string(), ::getpid());
  const SignalsHeld held;
  fd_ = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd_ < 0) {
    const int error = errno;
    // A folder the user may not write to, holding an output the user may write.
    if (exists && (error == EACCES || error == EPERM || error == EROFS)) return false;
    cannot_create(path_, error);
  }
  temp_path_ = name;
  slot_ = register_pending(temp_path_);
  if (slot_ < 0) {
    ::close(std::exchange(fd_, -1));
    ::unlink(temp_path_.c_str());
    if (temp_path_.size() >= PATH_MAX) cannot_create(path_, ENAMETOOLONG);
    throw RunError("cannot create " + escape_for_message(path_) +
                   ": too many output files at once");
  }
  if (!exists) {
    // mkstemp makes the file for its owner alone; a new file gets the bits fopen gives.
    ::fchmod(fd_, new_file_mode());
    return true;
  }
  struct stat made {};
  if (::fstat(fd_, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
      ::fchown(fd_, old.st_uid, old.st_gid) != 0) {
    // The new file would change hands (and lock its owner out): rewrite the old one.
    ::close(std::exchange(fd_, -1));
    discard();
    return false;
  }
  // After the chown, which clears set-user-ID bits. A failure leaves the file readable
  // by its owner, which is no loss of data.
  ::fchmod(fd_, old.st_mode & kPermissionBits);
  return true;
}

void PendingFile::open_direct() {
  // O_NONBLOCK: a FIFO without a reader is refused (ENXIO) instead of waited on.
  fd_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == ENXIO)
      throw RunError("cannot create " + escape_for_message(path_) + ": no process reads the FIFO");
    cannot_create(path_, errno);
  }
  // Written as usual from here: a reader that is slow holds the writes back.
  const int flags = ::fcntl(fd_, F_GETFL);
  if (flags >= 0) ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
}

void PendingFile::open_unnamed() {
  fd_ = ::open(unnamed_file_folder().c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
  if (fd_ < 0) fd_ = ::memfd_create("output", MFD_CLOEXEC);
  if (fd_ < 0) cannot_create(path_, errno);
  kept_fd_ = ::dup(fd_);
  if (kept_fd_ < 0) {
    const int error = errno;
    ::close(fd_);
    cannot_create(path_, error);
  }
}

PendingFile::~PendingFile() { discard(); }

const std::string& PendingFile::written_path() const {
  static const std::string unnamed;
  switch (way_) {
    case Way::kRename:
      return temp_path_;
    case Way::kDirect:
      return target_;
    case Way::kInPlace:
      break;
  }
  return unnamed;
}

void PendingFile::sync() const {
  // The unnamed file needs no sync: the old file is synced after the copy.
  if (way_ == Way::kInPlace) return;
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
    throw RunError("cannot write " + escape_for_message(path_) + ": " + reason(errno));
  }
}

void PendingFile::prepare() {
  if (way_ == Way::kDirect) return;
  if (way_ == Way::kRename) {
    if (slot_ < 0) return;
    check_replaceable(path_);
    return;
  }
  if (target_fd_ >= 0 || kept_fd_ < 0) return;
  target_fd_ = ::open(target_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (target_fd_ < 0) cannot_create(path_, errno);
  struct stat status {};
  if (::fstat(target_fd_, &status) != 0 || !S_ISREG(status.st_mode)) {
    discard();
    cannot_create(path_, EINVAL);
  }
  // Room for the new bytes before the first old one is overwritten: a full disk is
  // then found here. A file system that cannot reserve space is written all the same.
  struct stat unnamed {};
  if (::fstat(kept_fd_, &unnamed) == 0 && unnamed.st_size > 0 &&
      ::fallocate(target_fd_, FALLOC_FL_KEEP_SIZE, 0, unnamed.st_size) != 0 &&
      (errno == ENOSPC || errno == EDQUOT || errno == EFBIG)) {
    const int error = errno;
    discard();
    throw RunError("cannot write " + escape_for_message(path_) + ": " + reason(error));
  }
}

void PendingFile::copy_into_place() {
  constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  std::vector<char> chunk(kChunkBytes);
  off_t offset = 0;
  for (;;) {
    const ssize_t got = ::pread(kept_fd_, chunk.data(), chunk.size(), offset);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) throw RunError("cannot write " + escape_for_message(path_) + ": " + reason(errno));
    if (got == 0) break;
    for (ssize_t done = 0; done < got;) {
      const ssize_t put = ::pwrite(target_fd_, chunk.data() + done,
                                   static_cast<std::size_t>(got - done), offset + done);
      if (put < 0 && errno == EINTR) continue;
      if (put < 0)
        throw RunError("cannot write " + escape_for_message(path_) + ": " + reason(errno));
      done += put;
    }
    offset += got;
  }
  if (::ftruncate(target_fd_, offset) != 0 ||
      (::fsync(target_fd_) != 0 && errno != EINVAL && errno != EROFS)) {
    throw RunError("cannot write " + escape_for_message(path_) + ": " + reason(errno));
  }
}

void PendingFile::commit() {
  if (way_ == Way::kDirect) return;
  if (way_ == Way::kInPlace) {
    prepare();
    if (target_fd_ < 0) return;
    const SignalsHeld held;
    try {
      copy_into_place();
    } catch (...) {
      discard();
      throw;
    }
    discard();
    return;
  }
  if (slot_ < 0) return;
  const SignalsHeld held;
  if (::rename(temp_path_.c_str(), target_.c_str()) != 0) {
    const int error = errno;
    discard();
    throw RunError("cannot replace " + escape_for_message(path_) + ": " + reason(error));
  }
  g_pending_used[slot_] = 0;
  slot_ = -1;
  sync_folder(fs::path(target_).parent_path());
}

void PendingFile::discard() noexcept {
  if (kept_fd_ >= 0) ::close(std::exchange(kept_fd_, -1));
  if (target_fd_ >= 0) ::close(std::exchange(target_fd_, -1));
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
  add_cleanup_signals(action.sa_mask);
  for (int sig = 1; sig < NSIG; ++sig) {
    if (sigismember(&action.sa_mask, sig) != 1) continue;
    // A signal the caller chose to ignore (nohup) stays ignored.
    struct sigaction old {};
    sigaction(sig, nullptr, &old);
    if (old.sa_handler != SIG_IGN) sigaction(sig, &action, nullptr);
  }
  std::signal(SIGPIPE, SIG_IGN);
  // Beyond the file size limit a write fails with EFBIG, reported as any write error.
  std::signal(SIGXFSZ, SIG_IGN);
}

void refuse_shared_files(std::span<const std::string_view> inputs,
                         std::span<const std::string_view> outputs) {
  // A name is known by its device and inode; one not yet made by the path its
  // symlinks lead to, so that two outputs through one dangling link are caught too.
  struct Named {
    std::string name;
    bool exists;
    struct stat status;
    std::string future_path;
    bool is_input;
  };
  std::vector<Named> seen;
  auto visit = [&](std::string_view name, bool is_input) {
    Named entry{std::string(name), false, {}, {}, is_input};
    entry.exists = ::stat(entry.name.c_str(), &entry.status) == 0;
    if (!entry.exists) {
      if (errno != ENOENT) return;
      std::error_code error;
      entry.future_path = fs::weakly_canonical(link_target(entry.name), error).string();
      if (error) return;
    }
    for (const Named& earlier : seen) {
      const bool same = entry.exists
                            ? earlier.exists && earlier.status.st_dev == entry.status.st_dev &&
                                  earlier.status.st_ino == entry.status.st_ino
                            : !earlier.exists && earlier.future_path == entry.future_path;
      if (same && !is_input) {
        throw RunError("cannot write " + escape_for_message(entry.name) +
                       ": it is the same file as the " + (earlier.is_input ? "input " : "output ") +
                       escape_for_message(earlier.name));
      }
    }
    seen.push_back(entry);
  };
  for (const std::string_view input : inputs) visit(input, true);
  for (const std::string_view output : outputs) visit(output, false);
}

}  // namespace io
