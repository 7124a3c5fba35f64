// The kernel's platform seam: everything that differs between Win32 and POSIX.
// This header holds the heap, the C runtime's streams and the process; its
// neighbours hold shared libraries, directory search, semaphores and the
// system services.
//
// Each operation is named after what the portable code relies on. The Win32
// side (platform/win32) uses the calls of the Windows interface; the POSIX side
// (platform/posix) gives the nearest honest equivalent and says so where it
// differs. No other kernel file includes a system header beyond the C and C++
// standard libraries.
#ifndef PIXBASE_PLATFORM_H
#define PIXBASE_PLATFORM_H

#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "pixbase/streams.h"

namespace pixbase::platform {

// --- Heap: fixed, zero-filled blocks ---------------------------------------
void* HeapAllocateZeroed(uint32_t size);
// True when the heap accepted the release.
bool HeapRelease(void* block);
// Resizes without moving; growth reads as zero. False when it cannot.
bool HeapResizeInPlace(void* block, uint32_t size);
// The block's actual size as the heap reports it.
uint32_t HeapBlockSize(const void* block);

// --- C runtime streams and descriptors -------------------------------------
bool StreamOpenForReading(FILE* stream);  // opened for reading or update
bool StreamOpenForWriting(FILE* stream);  // opened for writing or update
void LockStream(FILE* stream);
void UnlockStream(FILE* stream);
int StreamDescriptor(FILE* stream);
FILE* OpenDescriptorStream(int descriptor, const char* mode);
long DescriptorLength(int descriptor);
int StatDescriptor(int descriptor, PixbaseStatus* status);
int StatPath(const char* path, PixbaseStatus* status);
int CheckPathAccess(const char* path, int mode);
int SetDescriptorMode(int descriptor, int mode);

// --- Process ---------------------------------------------------------------
// True on the Windows 95 family (platform identifier 1).
bool IsWindows9x();
// Ends the process at once, running no clean-up.
[[noreturn]] void TerminateProcessNow(int code);

enum class BoxIcon { Exclamation, Information };
// A foreground, task-modal box with one OK button and no owner window.
void ShowMessageBox(const char* text, const char* caption, BoxIcon icon);

// Writes the system's text for the calling thread's last error into `text`
// (`size` bytes, cut to fit) and returns its length; 0 when there is none.
// Allocates nothing of the C++ heap, so that it cannot throw.
size_t LastSystemErrorText(char* text, size_t size);

}  // namespace pixbase::platform

#endif
