// Hooks of the test build; see test_hooks.h.
#include "services/test_hooks.h"

#include <atomic>

namespace pixbase::testing {
namespace {
std::atomic<int32_t> g_succeed{-1};  // -1: injection off
std::atomic<int32_t> g_fail{0};
std::atomic<int32_t> g_attempts{0};
std::atomic<int32_t> g_live_blocks{0};
std::atomic<MessageBoxObserver> g_box_observer{nullptr};
std::atomic<int32_t> g_exit_releases_arranged{0};
}  // namespace

void FailAllocationsAfter(int32_t succeed, int32_t fail) {
  g_attempts = 0;
  g_fail = fail;
  g_succeed = succeed;
}

void StopFailingAllocations() {
  g_succeed = -1;
  g_fail = 0;
  g_attempts = 0;
}

int32_t AllocationAttempts() { return g_attempts; }

bool AllocationShouldFail() {
  int32_t attempt = g_attempts++;
  int32_t succeed = g_succeed;
  if (succeed < 0 || attempt < succeed) return false;
  int32_t fail = g_fail;
  return fail < 0 || attempt < succeed + fail;
}

void CountLiveBlocks(int32_t change) { g_live_blocks += change; }

int32_t LiveBlocks() { return g_live_blocks; }

void ObserveMessageBoxes(MessageBoxObserver observer) { g_box_observer = observer; }

MessageBoxObserver MessageBoxObserverInstalled() { return g_box_observer; }

void NoteExitReleaseArranged() { ++g_exit_releases_arranged; }

int32_t ExitReleasesArranged() { return g_exit_releases_arranged; }

}  // namespace pixbase::testing
