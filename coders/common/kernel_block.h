// A block from the kernel's allocator held for the length of a scope
// (working rows of a decoder), released through its holder at the end.
#ifndef LUMAVIEW_CODERS_COMMON_KERNEL_BLOCK_H
#define LUMAVIEW_CODERS_COMMON_KERNEL_BLOCK_H

#include <cstdint>

#include "pixbase/pixbase.h"

namespace lumaview::coders {

class KernelBlock {
 public:
  KernelBlock() = default;
  ~KernelBlock() { ReleaseMemory(&block_); }
  KernelBlock(const KernelBlock&) = delete;
  KernelBlock& operator=(const KernelBlock&) = delete;

  // A zero-filled block of `size` bytes (at least one), replacing the held
  // one; false when the size does not fit the allocator or no memory is left.
  bool Allocate(uint64_t size) {
    ReleaseMemory(&block_);
    if (size > UINT32_MAX) return false;
    block_ = AllocateMemory(size == 0 ? 1u : static_cast<uint32_t>(size));
    return block_ != nullptr;
  }
  uint8_t* bytes() const { return static_cast<uint8_t*>(block_); }

 private:
  void* block_ = nullptr;
};

}  // namespace lumaview::coders

#endif
