#include "io/block_buffer.h"

#include <utility>

namespace io {

BlockBuffer::BlockBuffer(BlockSink& sink)
    : sink_(sink), bytes_(std::make_unique<char[]>(kBlockBytes + kClaimMostBytes)) {}

void BlockBuffer::hand_on_block() {
  sink_.take(bytes_.get(), kBlockBytes);
  std::memmove(bytes_.get(), bytes_.get() + kBlockBytes, used_ - kBlockBytes);
  used_ -= kBlockBytes;
}

void BlockBuffer::put_across_blocks(const char* bytes, std::size_t length) {
  if (used_ >= kBlockBytes) hand_on_block();
  while (used_ + length > kBlockBytes) {
    const std::size_t part = kBlockBytes - used_;
    std::memcpy(bytes_.get() + used_, bytes, part);
    used_ += part;
    bytes += part;
    length -= part;
    hand_on_block();
  }
  std::memcpy(bytes_.get() + used_, bytes, length);
  used_ += length;
}

void BlockBuffer::flush() {
  if (used_ == 0) return;
  sink_.take(bytes_.get(), used_);
  used_ = 0;
}

}  // namespace io
