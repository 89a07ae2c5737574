#include "io/output_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "io/atomic_output.h"
#include "io/message_text.h"
#include "io/run_error.h"
#include "writeback.h"

namespace io {
namespace {

std::string reason(int error) { return std::strerror(error); }

/// A stream on the pending file of `path`; throws RunError "cannot create PATH: REASON".
std::FILE* open_stream(PendingFile& pending, const std::string& path) {
  std::FILE* const file = ::fdopen(pending.descriptor(), "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(pending.descriptor());
    pending.discard();
    throw RunError("cannot create " + escape_for_message(path) + ": " + reason(error));
  }
  return file;
}

}  // namespace

class OutputFile::Stream final : public BlockSink {
 public:
  /// Makes the pending file of `path` and a stream on it; throws RunError
  /// "cannot create PATH: REASON".
  explicit Stream(const std::string& path)
      : pending(path), file(open_stream(pending, path)), writeback(pending.descriptor()) {}
  Stream(const Stream&) = delete;
  Stream& operator=(const Stream&) = delete;
  /// The old file stays as it was unless the output was committed.
  ~Stream() {
    close_stream();
    pending.discard();
  }

  /// Writes a whole block (or the last bytes) to the stream; a long file goes to the
  /// disk while the program works on.
  void take(const char* bytes, std::size_t length) override {
    if (std::fwrite(bytes, 1, length, file) != length) owner->fail("cannot write");
    if (!writeback.handed_on(file, length)) owner->fail("cannot write");
  }

  /// Closes the stream, whatever became of its bytes; the old file stays as it was.
  void close_stream() noexcept {
    if (file != nullptr) std::fclose(std::exchange(file, nullptr));
  }

  PendingFile pending;
  std::FILE* file;
  Writeback writeback;
  OutputFile* owner = nullptr;  ///< told of a failure
};

OutputFile::OutputFile(const std::string& path)
    : OutputFile(path, std::make_unique<Stream>(path)) {}

OutputFile::OutputFile(const std::string& path, std::unique_ptr<Stream> stream)
    : block_(*stream), open_(true), path_(path), stream_(std::move(stream)) {
  stream_->owner = this;
}

OutputFile::~OutputFile() {
  // Written to a device or a FIFO there is no old content to keep: what was written
  // stays.
  if (open_ && stream_->pending.direct() && block_.collected_bytes() > 0) {
    std::fwrite(block_.collected(), 1, block_.collected_bytes(), stream_->file);
  }
}

const std::string& OutputFile::written_path() const { return stream_->pending.written_path(); }

void OutputFile::fail(const char* what) {
  const int error = errno;
  open_ = false;
  stream_->close_stream();
  stream_->pending.discard();
  throw RunError(std::string(what) + " " + escape_for_message(path_) + ": " + reason(error));
}

void OutputFile::fail_closed() const {
  throw RunError("write to closed file " + escape_for_message(path_));
}

void OutputFile::write(std::string_view text) {
  check_open();
  // Copied a line at a time: memchr finds the line ends far faster than a byte loop.
  while (!text.empty()) {
    const auto* newline = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    if (newline == nullptr) {
      block_.put(text.data(), text.size());
      return;
    }
    const auto before = static_cast<std::size_t>(newline - text.data());
    block_.put(text.data(), before);
    block_.put(kLineEnd.data(), kLineEnd.size());
    text.remove_prefix(before + 1);
  }
}

void OutputFile::finish() {
  if (!open_) return;
  block_.flush();
  if (std::fflush(stream_->file) != 0) fail("cannot write");
  stream_->pending.sync();
  open_ = false;
  std::FILE* const file = std::exchange(stream_->file, nullptr);
  if (std::fclose(file) != 0) {
    const int error = errno;
    stream_->pending.discard();
    throw RunError("cannot close " + escape_for_message(path_) + ": " + reason(error));
  }
}

void OutputFile::prepare() { stream_->pending.prepare(); }

void OutputFile::commit() { stream_->pending.commit(); }

void OutputFile::close() {
  finish();
  prepare();
  commit();
}

}  // namespace io
