#pragma once
/// Outputs that replace their old file only when they are complete.
///
/// An output's bytes go to a temporary file in the folder of the file its name stands
/// for (through symlinks): ".NAME.tmp-PID-XXXXXX", a name no program reads (NAME cut
/// where the whole would be too long a file name). Only when the output is complete and
/// synced is the temporary file renamed over the old one, which until then keeps its
/// content byte for byte; the new file takes the old one's permission bits, owner and
/// group. On any failure, and at every signal that ends the process and can be caught,
/// the temporary file is removed; one left by a process killed outright is removed by
/// the next run that writes the same output.
///
/// Where a rename would lose something, the old file is rewritten in place instead, but
/// only at the commit: the bytes wait in an unnamed file (gone with the process) until
/// every file of the run is complete and known to be writable. That is the case of a
/// folder the user may not write to, of a sticky folder (/tmp) where the old file is
/// another user's, and of an old file whose owner or group the new one could not take.
/// An output that is not a regular file (a device such as /dev/null, a FIFO) is written
/// as it is; a FIFO that no process reads is refused, never waited on.

#include <sys/stat.h>

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "io/run_error.h"

namespace io {

/// Where the bytes of one output go until it is complete.
class PendingFile {
 public:
  /// Opens the output `path`: checks that the name can be replaced (see
  /// check_replaceable), then makes the temporary file. Throws RunError
  /// "cannot create PATH: REASON".
  explicit PendingFile(const std::string& path);
  /// Removes the temporary file unless it was committed.
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  /// The descriptor the bytes go to; the caller closes it (before commit).
  int descriptor() const { return fd_; }
  /// The output's name, as given.
  const std::string& path() const { return path_; }
  /// The file the bytes are in now: the temporary file, or the output when written as
  /// it is (a device, a FIFO); empty when they wait in an unnamed file.
  const std::string& written_path() const;
  /// True when the bytes go straight to the output (a device, a FIFO).
  bool direct() const { return way_ == Way::kDirect; }
  /// Writes the file's bytes through to the disk; throws RunError "cannot write PATH".
  void sync() const;
  /// Checks, before any output of the run is replaced, that this one can be: the name
  /// is still replaceable, and an output rewritten in place is opened for writing and
  /// has room for its new bytes. Throws RunError "cannot create PATH: REASON" (or
  /// "cannot write PATH: REASON"); nothing on disk has changed then.
  void prepare();
  /// Puts the complete file in place of the old one (prepare() first when it was not
  /// called); throws RunError "cannot replace PATH" or "cannot write PATH" (the
  /// temporary file is removed then). Nothing to do when written as it is.
  void commit();
  /// Removes the temporary file; the old output stays as it was.
  void discard() noexcept;

 private:
  enum class Way {
    kRename,   ///< a temporary file beside the output, renamed over it
    kInPlace,  ///< an unnamed file, copied into the old file at the commit
    kDirect,   ///< the output itself (not a regular file)
  };

  void open_direct();
  void open_unnamed();
  /// Makes the temporary file beside the output; false where a rename would not do.
  bool open_beside(bool exists, const struct stat& old);
  void copy_into_place();

  std::string path_;
  std::string target_;     ///< the file `path_` stands for, symlinks followed
  std::string temp_path_;  ///< the temporary file's name when renamed
  int fd_ = -1;
  int kept_fd_ = -1;    ///< the unnamed file, kept open for the copy at the commit
  int target_fd_ = -1;  ///< the old file opened for the copy, once prepared
  int slot_ = -1;       ///< in the table the signal handler clears
  Way way_ = Way::kRename;
};

/// Throws RunError "cannot create PATH: REASON" when the output `path` (symlinks
/// followed) is a folder or an existing file the user may not write (a read-only file).
void check_replaceable(const std::string& path);

/// Installs, once, handlers that remove the temporary files of outputs in progress at
/// every signal that ends a process and is sent from outside it (SIGINT, SIGTERM,
/// SIGHUP, SIGQUIT, SIGUSR1, SIGALRM, SIGXCPU, SIGPROF, the real-time signals, ...)
/// and then end the process by the same signal (after "PROGRAM: stopped by a signal" on
/// standard error). SIGPIPE and SIGXFSZ are ignored, so that a closed pipe on standard
/// output and a file size limit are write errors ("File too large"), not a silent death.
void install_output_cleanup(std::string_view program_name);

/// Refuses a run whose output is one of its inputs or another of its outputs (the same
/// device and inode, through a symlink or a hard link; for names not yet made, the same
/// file their symlinks lead to): throws RunError "cannot write OUT: it is the same file
/// as the input IN" (or "... as the output OUT2") before anything is written.
void refuse_shared_files(std::span<const std::string_view> inputs,
                         std::span<const std::string_view> outputs);
inline void refuse_shared_files(std::initializer_list<std::string_view> inputs,
                                std::initializer_list<std::string_view> outputs) {
  refuse_shared_files(std::span(inputs.begin(), inputs.size()),
                      std::span(outputs.begin(), outputs.size()));
}

}  // namespace io
