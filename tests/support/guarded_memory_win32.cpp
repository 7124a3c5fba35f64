// Guarded memory on Windows: two pages committed, the second made
// inaccessible.
#include <windows.h>

#include "guarded_memory.h"

namespace lumaview::testing {

namespace {
size_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
}
}  // namespace

GuardedMemory::GuardedMemory(size_t bytes) {
  const size_t page = PageSize();
  if (bytes > page) return;
  void* pages = VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (pages == nullptr) return;
  char* guard = static_cast<char*>(pages) + page;
  DWORD previous = 0;
  if (!VirtualProtect(guard, page, PAGE_NOACCESS, &previous)) {
    VirtualFree(pages, 0, MEM_RELEASE);
    return;
  }
  base_ = pages;
  data_ = guard - bytes;
}

GuardedMemory::~GuardedMemory() {
  if (base_ != nullptr) VirtualFree(base_, 0, MEM_RELEASE);
}

}  // namespace lumaview::testing
