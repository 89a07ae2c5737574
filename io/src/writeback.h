#pragma once
/// The writing of a long output to the disk while it is written, and the release of
/// its pages from the page cache once they are on the disk.

#include <cstddef>
#include <cstdio>

namespace io {

/// Paces one output file's way to the disk: after every stretch of kWritebackBytes it
/// starts the writing of that stretch, so that the sync at the close waits for little
/// more than the last one, and it drops from the page cache what is on the disk, so
/// that the kernel takes the pages of the next stretches from the ones just freed.
class Writeback {
 public:
  /// For the file open as `descriptor`.
  explicit Writeback(int descriptor) : descriptor_(descriptor) {}

  /// Counts `length` bytes more handed to `stream`, the file's stream; when a stretch
  /// is complete, flushes the stream and starts the stretch's writing to the disk.
  /// False, with errno set, when the flush failed or the writing of an earlier stretch
  /// did (the wait takes the error, so the sync at the end would no longer see it).
  bool handed_on(std::FILE* stream, std::size_t length);

 private:
  int descriptor_;
  long long handed_ = 0;        ///< bytes handed to the stream
  long long written_back_ = 0;  ///< bytes whose writing to the disk has been started
  long long released_ = 0;      ///< bytes on the disk and out of the page cache
};

}  // namespace io
