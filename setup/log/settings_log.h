// The settings file "Lumaview.INI" and its uninstall log, and the
// uninstall registry entry: setup's writing of them. Their names are the
// distribution's (common/distribution.h).
#ifndef LUMAVIEW_SETUP_SETTINGS_LOG_H
#define LUMAVIEW_SETUP_SETTINGS_LOG_H

#include "common/distribution.h"

namespace setup {

// Both counters start at 0 with every run; the file is not consulted.
void ResetUninstallLog();
void LogInstalledFile(const char* path);
void LogInstalledDirectory(const char* path);
// Creates a directory and its missing ancestors, logging each ancestor it
// made and finally the whole path (as given, even when it existed) when it
// is there.
void ForceDirectories(const char* path);
// Registers the product under HKLM\...\Uninstall\<subkey>; failures are
// silent.
void RegisterUninstallEntry(const char* subkey, const char* display_name, const char* command);
void DeleteSettingsFile();

}  // namespace setup

#endif
