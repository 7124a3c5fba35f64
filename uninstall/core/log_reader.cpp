// Reading the uninstall log (see log_reader.h).
#include "core/log_reader.h"

#include <cstdio>
#include <cstring>

#include "common/distribution.h"
#include "common/paths.h"
#include "platform/platform.h"
#include "resources/uninstall_ids.h"
#include "shortcuts/shortcuts.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

// No path can hold '|': the value of a key that is not there.
constexpr char kAbsent[] = "|";

std::size_t ReadValue(const char* section, const char* key, char* buffer, std::size_t size) {
  return platform::ReadProfileText(setup::kSettingsFile, section, key, kAbsent, buffer, size);
}

int ReadCount(const char* key, bool* present, Report* report) {
  char text[64];
  ReadValue(setup::kUninstallSection, key, text, sizeof text);
  *present = std::strcmp(text, kAbsent) != 0;
  if (!*present) return 0;
  int count = setup::ParseInteger(text);
  if (count < 0) {
    report->Note(IDS_NOTE_NEGATIVE, key);
    return 0;
  }
  if (count > kEntryLimit) {
    report->Note(IDS_NOTE_TOO_MANY, key);
    return kEntryLimit;
  }
  return count;
}

}  // namespace

LogStatus ReadLogHeader(LogHeader* header, Report* report) {
  std::memset(header, 0, sizeof *header);
  ReadValue(setup::kUninstallSection, setup::kUninstallPathKey, header->install_folder,
            sizeof header->install_folder);
  if (std::strcmp(header->install_folder, kAbsent) == 0) header->install_folder[0] = '\0';
  bool files_present = false;
  bool directories_present = false;
  header->file_count = ReadCount(setup::kFileCountKey, &files_present, report);
  header->directory_count = ReadCount(setup::kDirectoryCountKey, &directories_present, report);
  if (header->install_folder[0] == '\0' && !files_present && !directories_present)
    return LogStatus::Missing;
  platform::ReadProfileText(setup::kSettingsFile, setup::kInstallSection, setup::kGroupKey, "",
                            header->group, sizeof header->group);
  ReadValue(setup::kUninstallSection, setup::kFastLinkKey, header->fastlink,
            sizeof header->fastlink);
  if (std::strcmp(header->fastlink, kAbsent) == 0) header->fastlink[0] = '\0';
  return LogStatus::Ready;
}

bool ReadLogEntry(EntryKind kind, int index, char* buffer, Report* report) {
  char key[24];
  std::snprintf(key, sizeof key,
                kind == EntryKind::File ? setup::kFileKeyPattern : setup::kDirectoryKeyPattern,
                index);
  ReadValue(setup::kUninstallSection, key, buffer, kValueSize);
  if (std::strcmp(buffer, kAbsent) == 0) {
    report->Note(IDS_NOTE_MISSING, key);
    return false;
  }
  if (buffer[0] == '\0') {
    report->Note(IDS_NOTE_EMPTY, key);
    return false;
  }
  return true;
}

}  // namespace uninstall
