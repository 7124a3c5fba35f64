// Hooks of the test build (PIXBASE_TEST_HOOKS), absent from the shipped
// library: allocation fault injection, so that every "Memory allocation
// failed" path is run, and an observer that stands in for message boxes, which
// a test cannot click.
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

// While set, message boxes are handed to the observer instead of shown.
using MessageBoxObserver = void (*)(const char* text, const char* caption);
void ObserveMessageBoxes(MessageBoxObserver observer);
MessageBoxObserver MessageBoxObserverInstalled();

}  // namespace pixbase::testing

#endif
