// The names the programs of the distribution agree on: setup, the
// uninstaller and the viewer each use them from here, so that one side can
// never drift from another. Divisions: the settings file "Lumaview.INI" and
// its sections and keys, the uninstall registry entry and the uninstaller's
// file, the event a running setup or uninstaller holds, and the message
// setup and the uninstaller send to a running viewer.
#ifndef LUMAVIEW_SETUP_COMMON_DISTRIBUTION_H
#define LUMAVIEW_SETUP_COMMON_DISTRIBUTION_H

namespace setup {

// --- The settings file ------------------------------------------------------------
// It lives in the Windows directory (the profile functions are given its bare
// name).
constexpr const char* kSettingsFile = "Lumaview.INI";
// [INSTALL] GROUP: the program group setup made.
constexpr const char* kInstallSection = "INSTALL";
constexpr const char* kGroupKey = "GROUP";
// [UNINSTALL]: the install folder (UNINSTALLPATH, its short form), the
// Quick Launch link setup made (FASTLINK, its short form) and the numbered
// list of every file (FILEn, counted by FILENUM) and directory
// (DIRn, counted by PATHNUM) that setup created, read by the uninstaller.
constexpr const char* kUninstallSection = "UNINSTALL";
constexpr const char* kUninstallPathKey = "UNINSTALLPATH";
constexpr const char* kFastLinkKey = "FASTLINK";
constexpr const char* kFileCountKey = "FILENUM";
constexpr const char* kFileKeyPattern = "FILE%d";
constexpr const char* kDirectoryCountKey = "PATHNUM";
constexpr const char* kDirectoryKeyPattern = "DIR%d";
// [SETTING] Monitor: the decimal window handle of a running viewer, 0 or
// missing for none; written by the viewer, read by setup and the
// uninstaller.
constexpr const char* kSettingSection = "SETTING";
constexpr const char* kMonitorKey = "Monitor";
constexpr const char* kAdBarSection = "ADBarParamter";

// --- Uninstall entry and files ------------------------------------------------------
constexpr const char* kUninstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kUninstallSubkey = "Lumaview";
constexpr const char* kUninstallerFile = "UNINST32.EXE";
// The viewer's cache below the install folder, as a search pattern.
constexpr const char* kCachePattern = "Cache\\*.*";

// --- One installer at a time ------------------------------------------------------
// Held by a running setup or uninstaller; a second one finds it and stops.
constexpr const char* kInstanceEventName = "Corvane";

// --- The running viewer ------------------------------------------------------------
// Sent synchronously to the running viewer (the window named by [SETTING]
// Monitor) before its files are replaced or removed, with wParam
// kViewerReleaseFiles and lParam 0: the viewer lets go of its files and
// closes.
constexpr unsigned kViewerNotifyMessage = 19592;
constexpr unsigned kViewerReleaseFiles = 16;
// The longest a sender waits for the viewer to take that message.
constexpr unsigned kViewerNotifyTimeoutMs = 5000;

}  // namespace setup

#endif
