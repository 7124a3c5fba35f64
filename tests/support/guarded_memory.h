// Memory followed directly by a page that may not be touched, so that a read
// one byte past the end faults at once instead of passing unseen.
#ifndef LUMAVIEW_TESTS_GUARDED_MEMORY_H
#define LUMAVIEW_TESTS_GUARDED_MEMORY_H

#include <cstddef>

namespace lumaview::testing {

class GuardedMemory {
 public:
  // Room for `bytes` (at most one page) ending exactly at the guard page.
  explicit GuardedMemory(size_t bytes);
  ~GuardedMemory();
  GuardedMemory(const GuardedMemory&) = delete;
  GuardedMemory& operator=(const GuardedMemory&) = delete;

  bool usable() const { return base_ != nullptr; }
  // The first of the `bytes` bytes; the byte after the last is inaccessible.
  void* data() const { return data_; }

 private:
  void* base_ = nullptr;  // the two pages
  void* data_ = nullptr;
};

}  // namespace lumaview::testing

#endif
