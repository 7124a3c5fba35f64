// Hooks of the test build (PIXBASE_TEST_HOOKS), absent from the shipped
// library: allocation fault injection, so that every "Memory allocation
// failed" path is run, an observer that stands in for message boxes, which
// a test cannot click, and probes of what the library arranged.
#ifndef PIXBASE_TEST_HOOKS_H
#define PIXBASE_TEST_HOOKS_H

#include <cstdint>

namespace pixbase::testing {

// From now on the next `succeed` allocations succeed, then `fail` fail, then
// all succeed again. fail == -1 fails every allocation after the successes.
void FailAllocationsAfter(int32_t succeed, int32_t fail = 1);
// Back to normal.
void StopFailingAllocations();
// Allocation attempts counted since the last FailAllocationsAfter/Stop.
int32_t AllocationAttempts();
// True when this allocation attempt must fail (called by the allocator).
bool AllocationShouldFail();
// Blocks of the allocator that are alive: the allocator counts each block it
// hands out (+1) and each it takes back (-1).
void CountLiveBlocks(int32_t change);
int32_t LiveBlocks();

// While set, message boxes are handed to the observer instead of shown.
using MessageBoxObserver = void (*)(const char* text, const char* caption);
void ObserveMessageBoxes(MessageBoxObserver observer);
MessageBoxObserver MessageBoxObserverInstalled();

// The format registry notes each time it arranges its release at process
// exit; a test reads how often that happened (once at most per process).
void NoteExitReleaseArranged();
int32_t ExitReleasesArranged();

}  // namespace pixbase::testing

#endif
