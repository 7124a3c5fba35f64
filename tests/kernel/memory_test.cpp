// The allocator: zero-filled blocks, holders kept current, resizing in place
// or by moving, and the failure paths through the fault-injection hook.
#include "pixbase/memory.h"

#include <gtest/gtest.h>

#include <cstring>

#include "services/test_hooks.h"

namespace {

using pixbase::testing::FailAllocationsAfter;
using pixbase::testing::StopFailingAllocations;

bool AllZero(const void* block, size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  for (size_t i = 0; i < size; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

class MemoryTest : public ::testing::Test {
 protected:
  void TearDown() override { StopFailingAllocations(); }
};

TEST_F(MemoryTest, NewBlocksAreZeroAndReleaseClearsTheHolder) {
  void* block = AllocateMemory(4096);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllZero(block, 4096));
  ReleaseMemory(&block);
  EXPECT_EQ(block, nullptr);
  ReleaseMemory(&block);  // a second release through the same holder is harmless
  EXPECT_EQ(block, nullptr);
  ReleaseMemory(nullptr);
}

TEST_F(MemoryTest, ReleasePointerLeavesTheCallersCopy) {
  void* block = AllocateMemory(16);
  void* copy = block;
  ReleasePointer(block);
  EXPECT_EQ(block, copy);
  ReleasePointer(nullptr);
}

TEST_F(MemoryTest, ResizeOfANullHolderAllocatesZeroedMemory) {
  void* block = nullptr;
  ASSERT_NE(ResizeMemory(&block, 100), nullptr);
  EXPECT_NE(block, nullptr);
  EXPECT_TRUE(AllZero(block, 100));
  ReleaseMemory(&block);
}

TEST_F(MemoryTest, GrowthKeepsContentsAndReadsZeroInPlaceOrMoved) {
  auto* block = static_cast<unsigned char*>(AllocateMemory(64));
  std::memset(block, 0xAB, 64);
  // Shrinking keeps the first bytes; growing back over the old bytes must not
  // bring them back, whether the block grows in place or moves.
  ASSERT_NE(ResizeMemory(&block, 8), nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], 0xAB);
  ASSERT_NE(ResizeMemory(&block, 64), nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], 0xAB);
  EXPECT_TRUE(AllZero(block + 8, 56));
  // A large growth cannot stay in place.
  ASSERT_NE(ResizeMemory(&block, 1 << 20), nullptr);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(block[i], 0xAB);
  EXPECT_TRUE(AllZero(block + 8, (1 << 20) - 8));
  ReleaseMemory(&block);
}

TEST_F(MemoryTest, FailedResizeReleasesTheOldBlockAndClearsTheHolder) {
  void* block = AllocateMemory(32);
  FailAllocationsAfter(0, -1);
  EXPECT_EQ(ResizeMemory(&block, 1 << 20), nullptr);
  EXPECT_EQ(block, nullptr);  // the old block is gone (the sanitizers see no leak)
  EXPECT_EQ(AllocateMemory(8), nullptr);
  StopFailingAllocations();
  void* raw = AllocateBlock(32);
  FailAllocationsAfter(0, 1);
  EXPECT_EQ(ResizeBlock(raw, 1 << 20), nullptr);
}

TEST_F(MemoryTest, FaultInjectionFailsTheNthAllocationOnly) {
  FailAllocationsAfter(2, 1);
  void* first = AllocateMemory(4);
  void* second = AllocateMemory(4);
  void* third = AllocateMemory(4);
  void* fourth = AllocateMemory(4);
  EXPECT_NE(first, nullptr);
  EXPECT_NE(second, nullptr);
  EXPECT_EQ(third, nullptr);
  EXPECT_NE(fourth, nullptr);
  EXPECT_EQ(pixbase::testing::AllocationAttempts(), 4);
  for (void* block : {first, second, fourth}) ReleasePointer(block);
}

TEST_F(MemoryTest, RawLayerReportsAcceptedReleases) {
  void* block = AllocateBlock(10);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllZero(block, 10));
  EXPECT_EQ(ReleaseBlock(block), nullptr);
}

// Null is no block, as the local heap takes it: released as accepted, and
// resized as a plain allocation.
TEST_F(MemoryTest, TheRawLayerTakesNullAsNoBlock) {
  EXPECT_EQ(ReleaseBlock(nullptr), nullptr);
  auto* block = static_cast<unsigned char*>(ResizeBlock(nullptr, 24));
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllZero(block, 24));
  block[23] = 1;
  EXPECT_EQ(ReleaseBlock(block), nullptr);
  FailAllocationsAfter(0, 1);
  EXPECT_EQ(ResizeBlock(nullptr, 24), nullptr);
}

}  // namespace
