// The viewer's record in the settings file "Lumaview.INI": while it runs, its
// main window handle as [SETTING] Monitor, in decimal, which setup reads as an
// integer before it replaces the installed files; 0 once it has ended.
//
// The file is reached through a tiny seam (SettingsStore) so that the rule
// can be checked without Windows: the Win32 side maps it onto the profile
// functions, the tests onto a profile kept in memory.
#ifndef LUMAVIEW_VIEWER_SETTINGS_RECORD_H
#define LUMAVIEW_VIEWER_SETTINGS_RECORD_H

#include <cstdint>

namespace viewer {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The key as setup reads it: an integer, `fallback` when it is missing.
  virtual std::uint32_t ReadNumber(const char* section, const char* key,
                                   std::uint32_t fallback) = 0;
  virtual bool WriteText(const char* section, const char* key, const char* value) = 0;
};

// The decimal text a window handle is recorded as: its low 32 bits as an
// unsigned number (setup turns the integer it reads back into a handle the
// same way). `buffer` holds 11 bytes.
void MonitorText(std::uintptr_t window, char (&buffer)[11]);

// Records the running viewer's main window.
bool RecordMonitor(SettingsStore& store, std::uintptr_t window);

// Writes 0 when the entry still names `window`. Another viewer started later
// has recorded its own window there, and setup must still find that one, so
// a viewer that ends after it leaves the entry alone. True when 0 was
// written.
bool ClearMonitor(SettingsStore& store, std::uintptr_t window);

}  // namespace viewer

#endif
