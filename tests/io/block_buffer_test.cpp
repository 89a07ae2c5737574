// The block buffer hands on whole blocks, whatever the pieces and claims that fill them.
#include "io/block_buffer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBlock = io::BlockBuffer::kBlockBytes;

/// Keeps what it is handed, one entry a hand-on.
struct RecordingSink : io::BlockSink {
  void take(const char* bytes, std::size_t length) override { blocks.emplace_back(bytes, length); }
  std::string all() const {
    std::string joined;
    for (const std::string& block : blocks) joined += block;
    return joined;
  }
  std::vector<std::string> blocks;
};

TEST(BlockBuffer, HandsOnWholeBlocksAndTheRestAtTheFlush) {
  RecordingSink sink;
  io::BlockBuffer buffer(sink);
  std::string want;
  for (int i = 0; want.size() < 5 * kBlock + 123; ++i) {
    // Pieces of every length up to more than a block.
    const std::string piece(static_cast<std::size_t>(i * 7919 % 70001),
                            static_cast<char>('a' + i % 26));
    buffer.put(piece.data(), piece.size());
    want += piece;
  }
  EXPECT_EQ(buffer.collected_bytes(), want.size() % kBlock);
  buffer.flush();
  buffer.flush();  // nothing left: no empty hand-on
  ASSERT_FALSE(sink.blocks.empty());
  for (std::size_t k = 0; k + 1 < sink.blocks.size(); ++k) EXPECT_EQ(sink.blocks[k].size(), kBlock);
  EXPECT_EQ(sink.blocks.back().size(), want.size() % kBlock);
  EXPECT_EQ(sink.all(), want);
}

TEST(BlockBuffer, AClaimRunsPastTheBlockAndMovesToTheFrontOfTheNext) {
  RecordingSink sink;
  io::BlockBuffer buffer(sink);
  const std::string head(kBlock - 10, 'h');
  buffer.put(head.data(), head.size());
  char* const at = buffer.claim(30);
  ASSERT_NE(at, nullptr);
  std::fill(at, at + 30, 'c');
  EXPECT_TRUE(sink.blocks.empty()) << "the claim fits in the room behind the block";
  buffer.put("t", 1);  // the block is full: handed on, the claim's last 20 bytes moved
  ASSERT_EQ(sink.blocks.size(), 1u);
  EXPECT_EQ(sink.blocks[0], head + std::string(10, 'c'));
  EXPECT_EQ(std::string(buffer.collected(), buffer.collected_bytes()), std::string(20, 'c') + "t");
  EXPECT_EQ(buffer.claim(io::BlockBuffer::kClaimMostBytes + 1), nullptr);
  ASSERT_NE(buffer.claim(io::BlockBuffer::kClaimMostBytes), nullptr);
}

}  // namespace
