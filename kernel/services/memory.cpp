// The allocator: a raw layer over the platform heap (fixed, zero-filled
// blocks) and the front used by all library code, which keeps holders current.
#include <cstring>

#include "pixbase/allocator.h"
#include "platform/platform.h"
#ifdef PIXBASE_TEST_HOOKS
#include "services/test_hooks.h"
#endif

namespace {

bool InjectedFailure() {
#ifdef PIXBASE_TEST_HOOKS
  return pixbase::testing::AllocationShouldFail();
#else
  return false;
#endif
}

// The test build counts the blocks that are alive, so that a test can tell
// that an operation left nothing behind.
void CountBlocks([[maybe_unused]] int32_t change) {
#ifdef PIXBASE_TEST_HOOKS
  pixbase::testing::CountLiveBlocks(change);
#endif
}

}  // namespace

extern "C" {

void* AllocateBlock(uint32_t size) {
  if (InjectedFailure()) return nullptr;
  void* block = pixbase::platform::HeapAllocateZeroed(size);
  if (block != nullptr) CountBlocks(1);
  return block;
}

// Null is no block, as the local heap takes it: its release is accepted.
void* ReleaseBlock(void* block) {
  if (block == nullptr) return nullptr;
  if (!pixbase::platform::HeapRelease(block)) return block;
  CountBlocks(-1);
  return nullptr;
}

// One resize is one allocation attempt for the fault injection: when it is
// made to fail, neither the growth in place nor the new block is had.
void* ResizeBlock(void* block, uint32_t size) {
  if (block == nullptr) return AllocateBlock(size);  // nothing to keep: a plain allocation
  bool injected = InjectedFailure();
  if (!injected && pixbase::platform::HeapResizeInPlace(block, size)) return block;
  void* moved = injected ? nullptr : pixbase::platform::HeapAllocateZeroed(size);
  if (moved != nullptr) CountBlocks(1);
  if (moved == nullptr) {
    // The caller holds nothing after a failed resize: the old block is gone.
    ReleaseBlock(block);
    return nullptr;
  }
  uint32_t old_size = pixbase::platform::HeapBlockSize(block);
  std::memcpy(moved, block, old_size < size ? old_size : size);
  ReleaseBlock(block);
  return moved;
}

void* AllocateMemory(uint32_t size) { return AllocateBlock(size); }

void ReleaseMemory(void* holder) {
  void** slot = static_cast<void**>(holder);
  if (slot == nullptr || *slot == nullptr) return;
  ReleaseBlock(*slot);
  *slot = nullptr;
}

void ReleasePointer(void* block) { ReleaseMemory(&block); }

void* ResizeMemory(void* holder, uint32_t size) {
  void** slot = static_cast<void**>(holder);
  if (*slot == nullptr) {
    *slot = AllocateMemory(size);
  } else {
    *slot = ResizeBlock(*slot, size);
  }
  return *slot;
}

}  // extern "C"
