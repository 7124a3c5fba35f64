// How library code reports: the rules every operation follows when it fails.
#ifndef PIXBASE_RAISE_H
#define PIXBASE_RAISE_H

#include "pixbase/exceptions.h"

namespace pixbase {

inline constexpr char kMemoryAllocationFailed[] = "Memory allocation failed";

// Every failed allocation is an error of severity 400 with a reason naming
// the operation, for example "Unable to allocate string".
inline void RaiseOutOfMemory(const char* reason) {
  RaiseError(OutOfMemoryError, reason, kMemoryAllocationFailed);
}

}  // namespace pixbase

#endif
