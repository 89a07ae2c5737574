#pragma once
/// Outputs that replace their old file only when they are complete.
///
/// An output's bytes go to a temporary file in the folder of the file its name stands
/// for (through symlinks): ".NAME.tmp-PID-XXXXXX", a name no program reads. Only when the
/// output is complete and synced is the temporary file renamed over the old one, which
/// until then keeps its content byte for byte; on any failure, and at SIGINT, SIGTERM or
/// SIGHUP, the temporary file is removed. The new file takes the old one's permission bits.
/// Two exceptions are written in place, as a plain program would: an output that is not a
/// regular file (a device such as /dev/null, a FIFO), and an output in a folder where no
/// temporary file can be made although the output itself may be written.

#include <initializer_list>
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
  /// The file the bytes are in now: the temporary file, or the output when in place.
  const std::string& written_path() const { return in_place_ ? target_ : temp_path_; }
  bool in_place() const { return in_place_; }
  /// Writes the file's bytes through to the disk; throws RunError "cannot write PATH".
  void sync() const;
  /// Renames the temporary file over the output; throws RunError "cannot replace PATH"
  /// (the temporary file is removed then). Nothing to do when in place.
  void commit();
  /// Removes the temporary file; the old output stays as it was.
  void discard() noexcept;

 private:
  std::string path_;
  std::string target_;     ///< the file `path_` stands for, symlinks followed
  std::string temp_path_;  ///< empty when in place
  int fd_ = -1;
  int slot_ = -1;  ///< in the table the signal handler clears
  bool in_place_ = false;
};

/// Throws RunError "cannot create PATH: REASON" when the output `path` (symlinks
/// followed) is a folder or an existing file the user may not write (a read-only file).
void check_replaceable(const std::string& path);

/// Installs, once, handlers that remove the temporary files of outputs in progress at
/// SIGINT, SIGTERM and SIGHUP and then end the process by the same signal (after
/// "PROGRAM: stopped by signal N" on standard error); SIGPIPE is ignored, so that a
/// closed pipe on standard output is a write error, not a silent death.
void install_output_cleanup(std::string_view program_name);

/// Refuses a run whose output is one of its inputs or another of its outputs (the same
/// device and inode, through a symlink or a hard link): throws RunError
/// "cannot write OUT: it is the same file as the input IN" before anything is written.
/// Names that do not exist are passed over.
void refuse_shared_files(std::initializer_list<std::string_view> inputs,
                         std::initializer_list<std::string_view> outputs);

}  // namespace io
