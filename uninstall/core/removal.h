// Removing what the log lists, in this order: the FILE entries from the
// highest index down (the viewer's "Cache\*.*" pattern expands to the files
// directly in that folder), the Quick Launch link, the DIR entries from the
// highest index down (each only when empty; never a recursive delete), then
// the uninstall registry key and the settings file.
//
// A file that cannot be deleted is retried a few times (its read-only
// attribute cleared), then scheduled for removal at the next restart. The
// uninstaller's own file, and the folders that hold nothing but it, are left
// to the copy that runs from the temporary folder (handoff.h).
#ifndef LUMAVIEW_UNINSTALL_REMOVAL_H
#define LUMAVIEW_UNINSTALL_REMOVAL_H

#include <string>
#include <vector>

#include "core/log_reader.h"
#include "core/places.h"
#include "core/report.h"

namespace uninstall {

constexpr int kRemoveAttempts = 5;
constexpr unsigned kRetryPauseMs = 200;

struct RemovalRun {
  const ProductPlaces* places;
  Report* report;
  // This program's file as logged (empty when the log does not list it);
  // it is removed by the copy in the temporary folder.
  char own_file[kPathSize];
  // The highest logged folder that stays only because it holds this
  // program; empty when none.
  char own_top_folder[kPathSize];
  // The log was written under the Chinese code page (its group name is the
  // Chinese one) and is read under another: a name with bytes above ASCII
  // that is not found names something that stays.
  bool other_code_page;
  // Normal forms of what was scheduled for removal at the next restart.
  std::vector<std::string> scheduled;
};

void RemoveLoggedFiles(const LogHeader& header, RemovalRun* run);
void RemoveQuickLaunchLink(const LogHeader& header, RemovalRun* run);
void RemoveLoggedDirectories(const LogHeader& header, RemovalRun* run);
void RemoveRegistryEntry(Report* report);
void RemoveSettingsFile(Report* report);

enum class Removal { Removed, Missing, AtRestart, Failed };
// Deletes a file (or an empty folder) with the retries and the fallback to
// the next restart described above.
Removal RemoveWithRetry(const char* path, bool directory);

}  // namespace uninstall

#endif
