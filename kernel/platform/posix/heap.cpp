// Heap on POSIX: the C allocator. Each block carries a small header holding
// the size the caller asked for, so that growth in place can be zero-filled
// up to the new size (the allocator's usable size bounds what fits in place).
#include <malloc.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/platform.h"

namespace pixbase::platform {
namespace {

// Keeps the caller's block aligned as malloc's own blocks are.
struct alignas(std::max_align_t) BlockHeader {
  uint32_t size;
};

BlockHeader* HeaderOf(const void* block) {
  return reinterpret_cast<BlockHeader*>(static_cast<char*>(const_cast<void*>(block)) -
                                        sizeof(BlockHeader));
}

}  // namespace

void* HeapAllocateZeroed(uint32_t size) {
  auto* header = static_cast<BlockHeader*>(std::calloc(1, sizeof(BlockHeader) + size));
  if (header == nullptr) return nullptr;
  header->size = size;
  return header + 1;
}

bool HeapRelease(void* block) {
  std::free(HeaderOf(block));
  return true;
}

bool HeapResizeInPlace(void* block, uint32_t size) {
  BlockHeader* header = HeaderOf(block);
  size_t capacity = malloc_usable_size(header) - sizeof(BlockHeader);
  if (size > capacity) return false;
  if (size > header->size)
    std::memset(static_cast<char*>(block) + header->size, 0, size - header->size);
  header->size = size;
  return true;
}

uint32_t HeapBlockSize(const void* block) { return HeaderOf(block)->size; }

}  // namespace pixbase::platform
