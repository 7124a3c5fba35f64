// What setup leaves on the machine, as the scenarios of setup and of the
// uninstaller both read it: the default install folder, the settings file
// with its uninstall log, the uninstall entry and the shell folders key. The
// texts are written out here, not taken from the programs' headers, so that
// a program that puts something in the wrong place fails its scenarios.
#ifndef LUMAVIEW_E2E_SCENARIOS_PRODUCT_H
#define LUMAVIEW_E2E_SCENARIOS_PRODUCT_H

#include <cstdlib>
#include <string>
#include <vector>

#include "robot.h"

namespace product {

inline constexpr char kRoot[] = "C:\\Corvane\\Widelens\\";
inline constexpr char kSettings[] = "Lumaview.INI";
inline constexpr char kUninstallKey[] =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumaview";
inline constexpr char kShellFolders[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// A key of the settings file (e2e::kMissing when it is absent).
inline std::string Setting(const char* section, const std::string& key) {
  return e2e::ProfileText(kSettings, section, key);
}

inline bool SettingsFileExists() { return e2e::Exists(e2e::WindowsFolder() + "\\" + kSettings); }

// The entries PREFIX1..PREFIXn of the uninstall log, n being the value of
// COUNT_KEY, in order.
inline std::vector<std::string> LogEntries(const char* count_key, const std::string& prefix) {
  std::vector<std::string> entries;
  const int count = std::atoi(Setting("UNINSTALL", count_key).c_str());
  for (int i = 1; i <= count; ++i)
    entries.push_back(Setting("UNINSTALL", prefix + std::to_string(i)));
  return entries;
}
inline std::vector<std::string> LoggedFiles() { return LogEntries("FILENUM", "FILE"); }
inline std::vector<std::string> LoggedDirectories() { return LogEntries("PATHNUM", "DIR"); }

}  // namespace product

#endif
