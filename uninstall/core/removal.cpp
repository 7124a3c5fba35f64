// Removing the logged files and folders, the registry key and the settings
// file (see removal.h). Divisions: single removals, files, the Quick Launch
// link, folders, registry and settings.
#include "core/removal.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "common/paths.h"
#include "common/text.h"
#include "core/path_rules.h"
#include "core/state.h"
#include "driver/driver.h"
#include "log/settings_log.h"
#include "platform/removal.h"
#include "platform/shell.h"
#include "resources/uninstall_ids.h"
#include "shortcuts/shortcuts.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

// --- Single removals ----------------------------------------------------------

// The attributes of an existing entry; false when there is none.
bool EntryAttributes(const char* path, std::uint32_t* attributes) {
  platform::FoundEntry entry;
  platform::Search search = platform::FindFirstEntry(path, &entry);
  if (search == 0) return false;
  platform::EndSearch(search);
  *attributes = entry.attributes;
  return true;
}

bool Exists(const char* path) {
  std::uint32_t attributes;
  return EntryAttributes(path, &attributes);
}

int ReasonFor(Verdict verdict) {
  switch (verdict) {
    case Verdict::NotFull:
      return IDS_WHY_NOT_FULL;
    case Verdict::TooLong:
      return IDS_WHY_TOO_LONG;
    case Verdict::DotComponent:
      return IDS_WHY_DOTS;
    case Verdict::BadCharacter:
      return IDS_WHY_CHARACTERS;
    case Verdict::DriveRoot:
      return IDS_WHY_DRIVE_ROOT;
    case Verdict::SystemFolder:
      return IDS_WHY_SYSTEM_FOLDER;
    case Verdict::ThroughLink:
      return IDS_WHY_THROUGH_LINK;
    case Verdict::Elsewhere:
    case Verdict::Allowed:
      break;
  }
  return IDS_WHY_ELSEWHERE;
}

// A logged entry that is not there.
void NotThere(RemovalRun* run, const char* path) {
  bool high = false;
  for (const char* p = path; *p != '\0'; ++p) high = high || static_cast<unsigned char>(*p) >= 0x80;
  if (high && run->other_code_page)
    run->report->Left(path, IDS_WHY_OTHER_CODE_PAGE);
  else
    run->report->NotFound();
}

void Record(RemovalRun* run, const char* path, Removal removal) {
  Report* report = run->report;
  if (removal == Removal::AtRestart) {
    char normal[kPathSize];
    if (NormalForm(path, normal, sizeof normal)) run->scheduled.push_back(normal);
  }
  switch (removal) {
    case Removal::Removed:
      report->Removed(path);
      break;
    case Removal::Missing:
      NotThere(run, path);
      break;
    case Removal::AtRestart:
      report->AtRestart(path);
      break;
    case Removal::Failed:
      report->Left(path, IDS_WHY_FAILED);
      break;
  }
}

// One logged file that passed the safety rule.
void RemoveFile(const char* path, RemovalRun* run) {
  Report* report = run->report;
  std::uint32_t attributes;
  if (!EntryAttributes(path, &attributes)) {
    NotThere(run, path);
    return;
  }
  if (attributes & platform::kDirectoryAttribute) {
    report->Left(path, IDS_WHY_NOT_A_FILE);
    return;
  }
  Record(run, path, RemoveWithRetry(path, false));
}

// --- Files -------------------------------------------------------------------

// "Cache\*.*": the files directly in the viewer's cache folder, then the
// folder itself when that left it empty (the viewer made it, not the user).
void RemoveCache(const char* pattern, RemovalRun* run) {
  Report* report = run->report;
  char folder[kValueSize];
  setup::CopyText(folder, sizeof folder, pattern);
  folder[LastComponent(folder) - folder - 1] = '\0';
  std::uint32_t attributes;
  if (!EntryAttributes(folder, &attributes)) return;  // the viewer never made one
  if (attributes & platform::kReparsePointAttribute) {
    report->Left(folder, IDS_WHY_THROUGH_LINK);
    return;
  }
  std::vector<std::string> files;
  platform::FoundEntry entry;
  platform::Search search = platform::FindFirstEntry(pattern, &entry);
  if (search != 0) {
    do {
      if (std::strcmp(entry.name, ".") == 0 || std::strcmp(entry.name, "..") == 0) continue;
      if ((entry.attributes & platform::kDirectoryAttribute) &&
          !(entry.attributes & platform::kReparsePointAttribute))
        continue;  // nothing deeper
      std::string path = std::string(folder) + "\\" + entry.name;
      if (path.size() < platform::kPathLimit) files.push_back(path);
    } while (platform::FindNextEntry(search, &entry));
    platform::EndSearch(search);
  }
  for (const std::string& file : files) RemoveFile(file.c_str(), run);
  if (platform::RemoveDirectoryAt(folder))
    report->Removed(folder);
  else if (Exists(folder))
    report->Left(folder, IDS_WHY_NOT_EMPTY);
}

}  // namespace

Removal RemoveWithRetry(const char* path, bool directory) {
  for (int attempt = 0; attempt < kRemoveAttempts; ++attempt) {
    if (attempt == 1) platform::SetNormalAttributes(path);  // perhaps read-only
    bool removed = directory ? platform::RemoveDirectoryAt(path) : platform::DeleteFileAt(path);
    if (removed) return Removal::Removed;
    if (!Exists(path)) return attempt == 0 ? Removal::Missing : Removal::Removed;
    if (attempt + 1 < kRemoveAttempts) platform::Pause(kRetryPauseMs);
  }
  return platform::ScheduleRemovalAtRestart(path) ? Removal::AtRestart : Removal::Failed;
}

void RemoveLoggedFiles(const LogHeader& header, RemovalRun* run) {
  char path[kValueSize];
  char normal[kPathSize];
  for (int index = header.file_count; index >= 1; --index) {
    if (!ReadLogEntry(EntryKind::File, index, path, run->report)) continue;
    if (IsCachePattern(*run->places, path)) {
      RemoveCache(path, run);
      continue;
    }
    Verdict verdict = JudgeFile(*run->places, path, normal);
    if (verdict != Verdict::Allowed) {
      run->report->Left(path, ReasonFor(verdict));
    } else if (TheUninstall.module[0] != '\0' && setup::SamePath(normal, TheUninstall.module)) {
      // This program: its copy in the temporary folder removes it.
      if (run->own_file[0] == '\0') {
        setup::CopyText(run->own_file, sizeof run->own_file, path);
        run->report->WithUninstaller(path);
      }
    } else {
      RemoveFile(path, run);
    }
  }
}

// --- The Quick Launch link ------------------------------------------------------

void RemoveQuickLaunchLink(const LogHeader& header, RemovalRun* run) {
  if (header.fastlink[0] == '\0') return;
  char normal[kPathSize];
  Verdict verdict = JudgeQuickLaunchLink(*run->places, header.fastlink, normal);
  if (verdict != Verdict::Allowed)
    run->report->Left(header.fastlink, ReasonFor(verdict));
  else
    RemoveFile(header.fastlink, run);
}

// --- Folders --------------------------------------------------------------------

namespace {

struct LoggedFolder {
  std::string path;    // as logged
  std::string normal;  // its normal form: one folder, however often logged
  bool done;
};

enum class Contents {
  Empty,
  OnlyThisProgram,  // this program's file, perhaps in folders holding nothing else
  OnlyPending,      // besides that, only what goes at the next restart
  Other,            // something that stays
};

bool IsScheduled(const RemovalRun& run, const char* normal) {
  for (const std::string& each : run.scheduled) {
    if (setup::SamePath(each.c_str(), normal)) return true;
  }
  return false;
}

Contents WhatRemains(const char* normal, const RemovalRun& run) {
  char pattern[kPathSize];
  setup::CopyText(pattern, sizeof pattern, normal);
  if (setup::AppendText(pattern, sizeof pattern, "\\*.*") != std::strlen(normal) + 4)
    return Contents::Other;
  bool own = false;
  bool pending = false;
  bool other = false;
  std::vector<std::string> folders;
  platform::FoundEntry entry;
  platform::Search search = platform::FindFirstEntry(pattern, &entry);
  if (search != 0) {
    do {
      if (std::strcmp(entry.name, ".") == 0 || std::strcmp(entry.name, "..") == 0) continue;
      char child[kPathSize];
      char child_normal[kPathSize];
      setup::CopyText(child, sizeof child, normal);
      setup::AppendText(child, sizeof child, "\\");
      if (setup::AppendText(child, sizeof child, entry.name) !=
              std::strlen(normal) + 1 + std::strlen(entry.name) ||
          !NormalForm(child, child_normal, sizeof child_normal)) {
        other = true;
      } else if (run.own_file[0] != '\0' && setup::SamePath(child_normal, TheUninstall.module)) {
        // Only when the log lists this program: otherwise it is not the
        // product's, and nobody takes it away.
        own = true;
      } else if (IsScheduled(run, child_normal)) {
        pending = true;
      } else if ((entry.attributes & platform::kDirectoryAttribute) &&
                 !(entry.attributes & platform::kReparsePointAttribute)) {
        folders.push_back(child_normal);
      } else {
        other = true;
      }
    } while (!other && platform::FindNextEntry(search, &entry));
    platform::EndSearch(search);
  }
  for (const std::string& folder : folders) {
    if (other) break;
    switch (WhatRemains(folder.c_str(), run)) {
      case Contents::OnlyThisProgram:
        own = true;
        break;
      case Contents::OnlyPending:
        pending = true;
        break;
      default:  // an empty folder nobody logged is someone else's
        other = true;
    }
  }
  if (other) return Contents::Other;
  if (pending) return Contents::OnlyPending;
  return own ? Contents::OnlyThisProgram : Contents::Empty;
}

int Depth(const std::string& normal) {
  int depth = 0;
  for (char c : normal) depth += c == '\\' ? 1 : 0;  // a trail byte only adds to the count
  return depth;
}

// After a folder inside the install folder went, its parents up to the
// install folder that are now empty: setup made them on the way to a logged
// folder without logging them.
void RemoveEmptyParents(const char* normal, const ProductPlaces& places, Report* report) {
  char folder[kPathSize];
  if (!ParentOf(normal, folder, sizeof folder)) return;
  while (PathInside(folder, places.install) && platform::RemoveDirectoryAt(folder)) {
    report->Removed(folder);
    if (!ParentOf(folder, folder, sizeof folder)) return;
  }
}

}  // namespace

void RemoveLoggedDirectories(const LogHeader& header, RemovalRun* run) {
  std::vector<LoggedFolder> folders;
  char path[kValueSize];
  char normal[kPathSize];
  for (int index = header.directory_count; index >= 1; --index) {
    if (!ReadLogEntry(EntryKind::Directory, index, path, run->report)) continue;
    Verdict verdict = JudgeDirectory(*run->places, path, normal);
    if (verdict != Verdict::Allowed) {
      if (run->report->Find(path) == nullptr) run->report->Left(path, ReasonFor(verdict));
      continue;
    }
    bool known = false;
    for (const LoggedFolder& folder : folders)
      known = known || setup::SamePath(folder.normal.c_str(), normal);
    if (!known) folders.push_back(LoggedFolder{path, normal, false});
  }
  // In log order, highest index first; a folder that still held a folder
  // logged after it is tried again once that one is gone.
  for (bool progress = true; progress;) {
    progress = false;
    for (LoggedFolder& folder : folders) {
      if (folder.done) continue;
      if (!Exists(folder.normal.c_str())) {
        folder.done = true;
        NotThere(run, folder.path.c_str());
      } else if (platform::RemoveDirectoryAt(folder.normal.c_str())) {
        folder.done = true;
        progress = true;
        run->report->Removed(folder.path.c_str());
        RemoveEmptyParents(folder.normal.c_str(), *run->places, run->report);
      }
    }
  }
  // What stays, deepest first: a folder holding only what goes later goes
  // later too.
  std::vector<LoggedFolder*> remaining;
  for (LoggedFolder& folder : folders) {
    if (!folder.done) remaining.push_back(&folder);
  }
  std::stable_sort(remaining.begin(), remaining.end(),
                   [](const LoggedFolder* a, const LoggedFolder* b) {
                     return Depth(a->normal) > Depth(b->normal);
                   });
  for (LoggedFolder* folder : remaining) {
    const char* normal_form = folder->normal.c_str();
    switch (WhatRemains(normal_form, *run)) {
      case Contents::OnlyThisProgram:
        run->report->WithUninstaller(folder->path.c_str());
        // The highest such folder: every other one lies below it.
        if (run->own_top_folder[0] == '\0' || PathInside(run->own_top_folder, normal_form))
          setup::CopyText(run->own_top_folder, sizeof run->own_top_folder, normal_form);
        break;
      case Contents::OnlyPending:
        if (platform::ScheduleRemovalAtRestart(normal_form)) {
          run->scheduled.push_back(folder->normal);
          run->report->AtRestart(folder->path.c_str());
        } else {
          run->report->Left(folder->path.c_str(), IDS_WHY_FAILED);
        }
        break;
      case Contents::Other:
        run->report->Left(folder->path.c_str(), IDS_WHY_NOT_EMPTY);
        break;
      case Contents::Empty:
        Record(run, folder->path.c_str(), RemoveWithRetry(normal_form, true));
        break;
    }
  }
}

// --- Registry and settings ---------------------------------------------------------

void RemoveRegistryEntry(Report* report) {
  std::string key = std::string(setup::kUninstallKey) + "\\" + setup::kUninstallSubkey;
  platform::RegistryKey entry =
      platform::OpenRegistryKey(platform::RegistryRoot::LocalMachine, key.c_str());
  if (entry == 0) return;  // not registered
  platform::CloseRegistryKey(entry);
  std::string shown = UiText(IDS_ITEM_REGISTRY) + " (HKEY_LOCAL_MACHINE\\" + key + ")";
  platform::RegistryKey uninstall =
      platform::OpenRegistryKey(platform::RegistryRoot::LocalMachine, setup::kUninstallKey);
  bool removed =
      uninstall != 0 && platform::DeleteRegistrySubkey(uninstall, setup::kUninstallSubkey);
  if (uninstall != 0) platform::CloseRegistryKey(uninstall);
  if (removed)
    report->Removed(shown.c_str());
  else
    report->Left(shown.c_str(), IDS_WHY_FAILED);
}

void RemoveSettingsFile(Report* report) {
  char path[kPathSize];
  if (platform::WindowsDirectory(path, sizeof path) == 0) return;
  setup::EnsureTrailingBackslash(path, sizeof path);
  std::size_t length = std::strlen(path);
  if (setup::AppendText(path, sizeof path, setup::kSettingsFile) !=
      length + std::strlen(setup::kSettingsFile))
    return;
  setup::DeleteSettingsFile();
  std::string shown = UiText(IDS_ITEM_SETTINGS) + " (" + path + ")";
  if (setup::PathExists(path))
    report->Left(shown.c_str(), IDS_WHY_FAILED);
  else
    report->Removed(shown.c_str());
}

}  // namespace uninstall
