// Platform seams of the exported platform services: drives, clocks, file
// mapping, starting commands and temporary files.
#ifndef PIXBASE_PLATFORM_SYSTEM_SERVICES_H
#define PIXBASE_PLATFORM_SYSTEM_SERVICES_H

#include <cstddef>
#include <cstdint>

namespace pixbase::platform {

// --- Drives and clocks -----------------------------------------------------
// The logical drive mask: bit 0 for A, bit 1 for B, and so on.
uint32_t LogicalDriveMask();
// The current system time in 100-nanosecond ticks since 1 January 1601 UTC.
uint64_t SystemTimeTicks();
// True where the process's own processor times are kept (the Windows NT
// family; everywhere natively).
bool ProcessTimesKept();
// Kernel plus user time of the process in 100-nanosecond ticks.
bool ProcessCpuTicks(uint64_t* ticks);

// --- File mapping ----------------------------------------------------------
// Maps `length` bytes (the whole file for 0) of the file open on the C
// runtime descriptor from offset 0: protection 2 writable, 3 readable and
// writable, anything else read-only. Null on failure.
void* MapDescriptor(int descriptor, size_t length, int protection);
// False when `view` is not the start of a mapped view.
bool UnmapView(void* view);

// --- Commands --------------------------------------------------------------
// Runs the command line (the buffer may be changed by the system). In the
// background: 0 once started, without waiting. Otherwise the exit code, or
// the wait's result when the wait does not report the end. -1 when it cannot
// be started or its exit code cannot be read.
int RunCommandLine(char* command, bool background, bool minimised);

// --- Temporary files -------------------------------------------------------
constexpr size_t kMaxPath = 260;
// The temporary directory, ending with a separator; false when unknown or
// longer than `size` - 1.
bool TemporaryDirectory(char* directory, size_t size);
// Creates a new empty file in `directory` named by the first three bytes of
// `prefix` and a unique hexadecimal number with the ending ".tmp"; writes
// its path into `path` (kMaxPath bytes) and returns the number, or 0.
uint32_t CreateUniqueTempFile(const char* directory, const char* prefix, char* path);

}  // namespace pixbase::platform

#endif
