// The uninstaller removes its own file and folders.
//
// It is logged and runs from the install folder, and a running program's
// file cannot be deleted (on any Windows family). So at the end of a run it
// copies itself to the temporary folder and starts the copy with
//   /CLEANUP "<its own file>" "<highest folder to remove, or empty>"
// then ends. The copy retries deleting the original until the original has
// ended, removes the folders from the original's folder up to the given one
// while they are empty, and schedules its own file in the temporary folder
// for removal at the next restart. When no copy can be made or started, the
// original schedules its file and those folders for the next restart.
#ifndef LUMAVIEW_UNINSTALL_HANDOFF_H
#define LUMAVIEW_UNINSTALL_HANDOFF_H

#include "core/removal.h"

namespace uninstall {

constexpr char kCleanupOption[] = "/CLEANUP";
// The copy waits up to kCleanupAttempts * kCleanupPauseMs for the original.
constexpr int kCleanupAttempts = 40;
constexpr unsigned kCleanupPauseMs = 250;
// File names tried for the copy in the temporary folder.
constexpr char kCopyNameFormat[] = "LVUNINS%d.EXE";
constexpr int kCopyNames = 10;

// Makes the copy (before the summary); when none can be made, schedules
// the own file and folders for the next restart and restates the report.
void PrepareHandOff(RemovalRun* run);
// Starts the copy made by PrepareHandOff (after the summary, right before
// the end); on failure the same fallback.
void StartHandOff(RemovalRun* run);

// The copy's work; returns the exit code (0, or kExitNotStarted when the
// arguments do not name an uninstaller whose product is gone).
int RunCleanup(const char* own_file, const char* top_folder);

}  // namespace uninstall

#endif
