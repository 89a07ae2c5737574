#pragma once
/// The bytes of an output collected in memory and handed on in whole blocks. Its copies
/// are inline: an output file writes every piece of every line through them.

#include <cstddef>
#include <cstring>
#include <memory>

namespace io {

/// Where the blocks of a BlockBuffer go.
class BlockSink {
 public:
  /// Takes `length` bytes from `bytes` on; throws RunError when they cannot be written.
  virtual void take(const char* bytes, std::size_t length) = 0;

 protected:
  BlockSink() = default;
  ~BlockSink() = default;
  BlockSink(const BlockSink&) = default;
  BlockSink& operator=(const BlockSink&) = default;
};

/// Collects bytes and hands them to its sink in whole blocks of kBlockBytes, so that
/// every block but the last starts and ends on a page of the file: the kernel then
/// never takes a page in two writes, which costs it markedly more time for a long
/// output (bench/README.md).
class BlockBuffer {
 public:
  static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
  /// Most bytes one claim() takes: a claim may run past the block's end into this room,
  /// so that every block handed on is whole.
  static constexpr std::size_t kClaimMostBytes = 4096;

  explicit BlockBuffer(BlockSink& sink);
  BlockBuffer(const BlockBuffer&) = delete;
  BlockBuffer& operator=(const BlockBuffer&) = delete;

  /// Copies bytes in as they are, handing each full block to the sink.
  void put(const char* bytes, std::size_t length) {
    if (used_ + length <= kBlockBytes) {
      std::memcpy(bytes_.get() + used_, bytes, length);
      used_ += length;
    } else {
      put_across_blocks(bytes, length);
    }
  }
  /// The next `length` bytes, to be written in place before any other call: a pointer
  /// into the block, or null when `length` exceeds kClaimMostBytes.
  char* claim(std::size_t length) {
    if (length > kClaimMostBytes) return nullptr;
    if (used_ >= kBlockBytes) hand_on_block();
    char* const at = bytes_.get() + used_;
    used_ += length;
    return at;
  }
  /// Hands every collected byte to the sink (a last block that is not whole).
  void flush();
  /// The bytes collected and not handed on.
  std::size_t collected_bytes() const { return used_; }
  const char* collected() const { return bytes_.get(); }

 private:
  void put_across_blocks(const char* bytes, std::size_t length);
  /// Hands the first kBlockBytes of the collected bytes (used_ at least that many) to
  /// the sink and moves what a claim put past them to the front.
  void hand_on_block();

  BlockSink& sink_;
  /// Bytes not yet handed on: [0, used_) of kBlockBytes and the room of a claim.
  std::unique_ptr<char[]> bytes_;
  std::size_t used_ = 0;
};

}  // namespace io
