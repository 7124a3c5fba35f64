// The test program's replacement of the global operator new and delete (see
// operator_new_failure.h): malloc and free underneath, so the sanitizers
// still see every block, with a switch that makes new fail.
#include "operator_new_failure.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<int> g_failing{0};
thread_local int t_allowed = 0;

bool MustFail() { return g_failing.load(std::memory_order_relaxed) > 0 && t_allowed == 0; }

void* Take(std::size_t size) { return std::malloc(size == 0 ? 1 : size); }

}  // namespace

namespace lumaview::testing {

OperatorNewFails::OperatorNewFails() { ++g_failing; }
OperatorNewFails::~OperatorNewFails() { --g_failing; }
OperatorNewAllowed::OperatorNewAllowed() { ++t_allowed; }
OperatorNewAllowed::~OperatorNewAllowed() { --t_allowed; }

}  // namespace lumaview::testing

void* operator new(std::size_t size) {
  void* block = MustFail() ? nullptr : Take(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return MustFail() ? nullptr : Take(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return MustFail() ? nullptr : Take(size);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }
