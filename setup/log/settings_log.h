// The settings file "Lumaview.INI" and its uninstall log, and the
// uninstall registry entry.
//
// The settings file lives in the Windows directory (the profile functions are
// given its bare name). Its [UNINSTALL] section is a numbered list of every
// file (FILEn, counted by FILENUM) and directory (DIRn, counted by PATHNUM)
// that setup created, read by the uninstaller.
#ifndef LUMAVIEW_SETUP_SETTINGS_LOG_H
#define LUMAVIEW_SETUP_SETTINGS_LOG_H

namespace setup {

constexpr const char* kSettingsFile = "Lumaview.INI";
constexpr const char* kInstallSection = "INSTALL";
constexpr const char* kUninstallSection = "UNINSTALL";
constexpr const char* kSettingSection = "SETTING";
// [SETTING] Monitor: the decimal window handle of a running viewer, 0 or
// missing for none; written by the viewer, read by setup.
constexpr const char* kMonitorKey = "Monitor";
constexpr const char* kAdBarSection = "ADBarParamter";
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

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
