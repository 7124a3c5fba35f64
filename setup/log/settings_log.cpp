// The settings file and its uninstall log (see settings_log.h).
#include "log/settings_log.h"

#include <cstdio>
#include <cstring>

#include "common/paths.h"
#include "common/text.h"
#include "platform/platform.h"

namespace setup {
namespace {

int file_count = 0;
int directory_count = 0;

void AppendEntry(int* counter, const char* count_key, const char* entry_format, const char* path) {
  ++*counter;
  char number[16];
  std::snprintf(number, sizeof number, "%d", *counter);
  platform::WriteProfileText(kSettingsFile, kUninstallSection, count_key, number);
  char key[24];
  std::snprintf(key, sizeof key, entry_format, *counter);
  platform::WriteProfileText(kSettingsFile, kUninstallSection, key, path);
}

}  // namespace

void ResetUninstallLog() {
  file_count = 0;
  directory_count = 0;
}

void LogInstalledFile(const char* path) { AppendEntry(&file_count, "FILENUM", "FILE%d", path); }

void LogInstalledDirectory(const char* path) {
  AppendEntry(&directory_count, "PATHNUM", "DIR%d", path);
}

void ForceDirectories(const char* path) {
  char remembered[platform::kPathLimit];
  bool restore = platform::CurrentDirectory(remembered, sizeof remembered) > 0;
  char prefix[platform::kPathLimit];
  CopyText(prefix, sizeof prefix, path);
  // Every backslash but a leading one and one that ends the path (the whole
  // path follows below), stepping over double-byte characters.
  for (char* cut = FindNextBackslash(prefix); cut != nullptr; cut = FindNextBackslash(cut + 1)) {
    if (cut == prefix) continue;
    if (cut[1] == '\0') break;
    *cut = '\0';
    // Logged only when made: the uninstall log names nothing that is not on
    // disk, nor a directory that was there before.
    if (!IsDriveOnly(prefix) && !platform::EnterDirectory(prefix) &&
        platform::MakeDirectory(prefix))
      LogInstalledDirectory(prefix);
    *cut = '\\';
  }
  if (restore) platform::EnterDirectory(remembered);
  platform::MakeDirectory(path);
  if (DirectoryExists(path)) LogInstalledDirectory(path);
}

void RegisterUninstallEntry(const char* subkey, const char* display_name, const char* command) {
  platform::RegistryKey uninstall =
      platform::OpenRegistryKey(platform::RegistryRoot::LocalMachine, kUninstallKey);
  if (uninstall == 0) return;
  platform::RegistryKey entry = platform::CreateRegistrySubkey(uninstall, subkey);
  if (entry != 0) {
    // REG_SZ data end with the text's terminating zero, so that a reader
    // never runs past them.
    platform::SetRegistryText(entry, "DisplayName", display_name, std::strlen(display_name) + 1);
    platform::SetRegistryText(entry, "UninstallString", command, std::strlen(command) + 1);
    platform::CloseRegistryKey(entry);
  }
  platform::CloseRegistryKey(uninstall);
}

void DeleteSettingsFile() {
  char path[512];
  if (platform::WindowsDirectory(path, sizeof path) == 0) return;
  EnsureTrailingBackslash(path, sizeof path);
  AppendText(path, sizeof path, kSettingsFile);
  platform::DeleteFileAt(path);
}

}  // namespace setup
