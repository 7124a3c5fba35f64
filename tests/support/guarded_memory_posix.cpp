// Guarded memory on POSIX: two pages mapped, the second made inaccessible.
#include <sys/mman.h>
#include <unistd.h>

#include "guarded_memory.h"

namespace lumaview::testing {

namespace {
size_t PageSize() { return static_cast<size_t>(sysconf(_SC_PAGESIZE)); }
}  // namespace

GuardedMemory::GuardedMemory(size_t bytes) {
  const size_t page = PageSize();
  if (bytes > page) return;
  void* pages = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (pages == MAP_FAILED) return;
  char* guard = static_cast<char*>(pages) + page;
  if (mprotect(guard, page, PROT_NONE) != 0) {
    munmap(pages, 2 * page);
    return;
  }
  base_ = pages;
  data_ = guard - bytes;
}

GuardedMemory::~GuardedMemory() {
  if (base_ != nullptr) munmap(base_, 2 * PageSize());
}

}  // namespace lumaview::testing
