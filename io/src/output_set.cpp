#include "io/output_set.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "signals_held.h"

namespace io {

OutputSet::OutputSet() = default;
OutputSet::~OutputSet() = default;

OutputFile& OutputSet::add(const std::string& path) {
  files_.push_back(std::make_unique<OutputFile>(path));
  return *files_.back();
}

void OutputSet::commit() {
  for (const auto& file : files_) file->finish();
  // Every file checked (and those rewritten in place opened) before the first is
  // replaced: a file that cannot be written leaves all as they were.
  for (const auto& file : files_) file->prepare();
  if (files_.empty()) return;
  // Another run in the same folder renames its set under the same lock.
  const std::filesystem::path folder = std::filesystem::path(files_.front()->path()).parent_path();
  const int lock =
      ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (lock >= 0) ::flock(lock, LOCK_EX);
  {
    // A signal waits until the whole set is in place.
    const SignalsHeld held;
    try {
      for (const auto& file : files_) file->commit();
    } catch (...) {
      if (lock >= 0) ::close(lock);
      throw;
    }
  }
  if (lock >= 0) ::close(lock);
}

}  // namespace io
