#include "writeback.h"

#include <fcntl.h>

#include <cerrno>

namespace io {
namespace {

/// Bytes of output after which their writing to the disk is started: short stretches
/// leave the sync at the close little to wait for (bench/README.md).
constexpr long long kWritebackBytes = 2LL << 20;
/// Bytes of output, at most, that are kept in the page cache while a long output is
/// written: the stretches on their way to the disk and the one being collected.
constexpr long long kCachedMostBytes = 16LL << 20;

/// Starts writing the bytes from `offset` on (`length` of them) to the disk without
/// waiting. A hint: a file system that cannot does nothing.
void start_writing(int descriptor, long long offset, long long length) {
  ::sync_file_range(descriptor, offset, length, SYNC_FILE_RANGE_WRITE);
}

/// Waits until the bytes from `offset` on (`length` of them) are on the disk, then
/// drops them from the page cache. False, with errno set, when their writing failed;
/// a file system (or a device, a pipe) that cannot do either does nothing, and true.
bool release_written(int descriptor, long long offset, long long length) {
  const unsigned int wait_for_disk =
      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER;
  if (::sync_file_range(descriptor, offset, length, wait_for_disk) != 0) {
    return errno == EINVAL || errno == ESPIPE || errno == ENOSYS;
  }
  ::posix_fadvise(descriptor, offset, length, POSIX_FADV_DONTNEED);
  return true;
}

}  // namespace

bool Writeback::handed_on(std::FILE* stream, std::size_t length) {
  handed_ += static_cast<long long>(length);
  if (handed_ - written_back_ < kWritebackBytes) return true;
  if (std::fflush(stream) != 0) return false;
  start_writing(descriptor_, written_back_, handed_ - written_back_);
  written_back_ = handed_;
  // On a virtual machine, fresh pages for every stretch of a long output cost the
  // kernel several times the copy (bench/README.md). The wait is for a stretch
  // started eight stretches before.
  if (handed_ - released_ > kCachedMostBytes) {
    const long long until = handed_ - kCachedMostBytes;
    if (!release_written(descriptor_, released_, until - released_)) return false;
    released_ = until;
  }
  return true;
}

}  // namespace io
