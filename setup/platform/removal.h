// Platform seam, removal concepts (what the uninstaller asks of the system
// beyond setup's needs): waiting between retries, the temporary folder,
// copying a file and starting a program, removal at the next restart,
// deleting a registry key, and a message sent with a time-out.
// Implemented by win32/removal.cpp and simulated/removal.cpp.
#ifndef LUMAVIEW_SETUP_PLATFORM_REMOVAL_H
#define LUMAVIEW_SETUP_PLATFORM_REMOVAL_H

#include <cstddef>
#include <cstdint>

#include "platform/platform.h"

namespace setup::platform {

// --- Time ----------------------------------------------------------------------
// Waits this long; the only wait the logic takes (between retries and while
// another program closes).
void Pause(unsigned milliseconds);

// --- Programs --------------------------------------------------------------------
// The folder for temporary files, with its trailing backslash; its length, 0
// when it cannot be had or does not fit.
std::size_t TemporaryDirectory(char* buffer, std::size_t size);
// Copies a file, replacing an existing target; false on failure.
bool CopyFileTo(const char* source, const char* target);
// Starts a program with a command line made of its quoted path, a space and
// `arguments`; does not wait for it. False when it could not be started.
bool StartProgram(const char* path, const char* arguments);

// --- Files ---------------------------------------------------------------------------
// Arranges for a file or an empty directory to be deleted when the system
// next starts (the NT family: MoveFileEx; the Windows 95 family: WININIT.INI).
bool ScheduleRemovalAtRestart(const char* path);

// --- Registry --------------------------------------------------------------------------
// Deletes a subkey (which holds no subkeys of its own) of an open key.
bool DeleteRegistrySubkey(RegistryKey parent, const char* name);

// Messages with a time-out: SendToWindowWithin (platform/platform.h).

}  // namespace setup::platform

#endif
