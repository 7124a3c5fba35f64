// The viewer's record in the settings file "Lumaview.INI": while it runs, its
// main window handle as [SETTING] Monitor, in decimal, which setup and the
// uninstaller read as an integer before they replace or remove the installed
// files; 0 once it has ended.
//
// The file is reached through setup's platform seam (platform/platform.h),
// with the names of common/distribution.h: the same profile functions setup
// reads the entry with, on Windows and on the simulated machine of the tests.
#ifndef LUMAVIEW_VIEWER_SETTINGS_RECORD_H
#define LUMAVIEW_VIEWER_SETTINGS_RECORD_H

#include <cstdint>

namespace viewer {

// The decimal text a window handle is recorded as: its low 32 bits as an
// unsigned number (setup turns the integer it reads back into a handle the
// same way). `buffer` holds 11 bytes.
void MonitorText(std::uintptr_t window, char (&buffer)[11]);

// Records the running viewer's main window.
bool RecordMonitor(std::uintptr_t window);

// Writes 0 when the entry still names `window`. Another viewer started later
// has recorded its own window there, and setup must still find that one, so
// a viewer that ends after it leaves the entry alone. True when 0 was
// written.
bool ClearMonitor(std::uintptr_t window);

}  // namespace viewer

#endif
