// The uninstaller's own removal through a copy in the temporary folder (see
// handoff.h).
#include "core/handoff.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "common/distribution.h"
#include "common/paths.h"
#include "common/text.h"
#include "core/path_rules.h"
#include "core/state.h"
#include "platform/removal.h"
#include "platform/shell.h"
#include "shortcuts/shortcuts.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

// The copy made by PrepareHandOff; empty when none.
char copy_path[kPathSize];

// Schedules the own file, then its folders up to the top one, for the next
// restart (the system carries them out in this order).
void ScheduleOwnRemoval(RemovalRun* run) {
  platform::ScheduleRemovalAtRestart(run->own_file);
  char folder[kPathSize];
  if (run->own_top_folder[0] != '\0' && ParentOf(TheUninstall.module, folder, sizeof folder)) {
    while (setup::SamePath(folder, run->own_top_folder) ||
           PathInside(folder, run->own_top_folder)) {
      platform::ScheduleRemovalAtRestart(folder);
      if (setup::SamePath(folder, run->own_top_folder) || !ParentOf(folder, folder, sizeof folder))
        break;
    }
  }
  run->report->Restate(ItemState::WithUninstaller, ItemState::AtRestart);
}

}  // namespace

void PrepareHandOff(RemovalRun* run) {
  copy_path[0] = '\0';
  if (run->own_file[0] == '\0') return;
  char folder[kPathSize];
  if (platform::TemporaryDirectory(folder, sizeof folder) > 0) {
    for (int i = 0; i < kCopyNames; ++i) {
      char name[32];
      std::snprintf(name, sizeof name, kCopyNameFormat, i);
      char path[kPathSize];
      setup::CopyText(path, sizeof path, folder);
      if (setup::AppendText(path, sizeof path, name) != std::strlen(folder) + std::strlen(name))
        break;
      if (platform::CopyFileTo(TheUninstall.module, path)) {
        setup::CopyText(copy_path, sizeof copy_path, path);
        return;
      }
    }
  }
  ScheduleOwnRemoval(run);
}

void StartHandOff(RemovalRun* run) {
  if (copy_path[0] == '\0') return;
  std::string arguments = std::string(kCleanupOption) + " \"" + TheUninstall.module + "\" \"" +
                          run->own_top_folder + "\"";
  if (platform::StartProgram(copy_path, arguments.c_str())) return;
  platform::DeleteFileAt(copy_path);
  ScheduleOwnRemoval(run);
}

int RunCleanup(const char* own_file, const char* top_folder) {
  // Only an uninstaller whose product is gone, and only folders above it.
  char file[kPathSize];
  char top[kPathSize] = "";
  char installed[16];
  platform::ReadProfileText(setup::kSettingsFile, setup::kUninstallSection,
                            setup::kUninstallPathKey, "", installed, sizeof installed);
  if (CheckPathText(own_file, false) != PathFault::None ||
      !NormalForm(own_file, file, sizeof file) ||
      !setup::SameTextIgnoringCase(LastComponent(file), setup::kUninstallerFile) ||
      installed[0] != '\0')
    return kExitNotStarted;
  if (top_folder[0] != '\0' && (CheckPathText(top_folder, false) != PathFault::None ||
                                !NormalForm(top_folder, top, sizeof top) || !PathInside(file, top)))
    return kExitNotStarted;

  bool deleted = false;
  for (int attempt = 0; attempt < kCleanupAttempts && !deleted; ++attempt) {
    if (platform::DeleteFileAt(file))
      deleted = true;
    else if (!setup::PathExists(file))
      deleted = true;
    else
      platform::Pause(kCleanupPauseMs);
  }
  if (!deleted) platform::ScheduleRemovalAtRestart(file);
  char folder[kPathSize];
  if (top[0] != '\0' && ParentOf(file, folder, sizeof folder)) {
    for (;;) {
      bool removed = deleted && platform::RemoveDirectoryAt(folder);
      if (!removed && !deleted) platform::ScheduleRemovalAtRestart(folder);
      if (!removed && deleted) break;  // something else lives there: it stays
      if (setup::SamePath(folder, top) || !ParentOf(folder, folder, sizeof folder)) break;
    }
  }
  // This copy itself, in the temporary folder.
  if (TheUninstall.module[0] != '\0') platform::ScheduleRemovalAtRestart(TheUninstall.module);
  return kExitRemoved;
}

}  // namespace uninstall
