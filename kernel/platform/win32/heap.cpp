// Heap on Win32: the process's local heap, fixed and zero-initialised blocks.
#include <windows.h>

#include "platform/platform.h"

namespace pixbase::platform {

void* HeapAllocateZeroed(uint32_t size) { return LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, size); }

bool HeapRelease(void* block) { return LocalFree(static_cast<HLOCAL>(block)) == nullptr; }

bool HeapResizeInPlace(void* block, uint32_t size) {
  // Without LMEM_MOVEABLE a fixed block is only ever resized where it stands.
  return LocalReAlloc(static_cast<HLOCAL>(block), size, LMEM_ZEROINIT) == block;
}

uint32_t HeapBlockSize(const void* block) {
  return static_cast<uint32_t>(LocalSize(const_cast<HLOCAL>(block)));
}

}  // namespace pixbase::platform
