// The product's places and the safety rule (see places.h).
#include "core/places.h"

#include <cstring>

#include "common/paths.h"
#include "common/text.h"
#include "core/path_rules.h"
#include "driver/driver.h"
#include "platform/removal.h"
#include "platform/shell.h"
#include "shortcuts/shortcuts.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

Verdict FromFault(PathFault fault) {
  switch (fault) {
    case PathFault::None:
      return Verdict::Allowed;
    case PathFault::NotFull:
      return Verdict::NotFull;
    case PathFault::TooLong:
      return Verdict::TooLong;
    case PathFault::DotComponent:
      return Verdict::DotComponent;
    case PathFault::BadCharacter:
      return Verdict::BadCharacter;
    case PathFault::DriveRoot:
      return Verdict::DriveRoot;
  }
  return Verdict::NotFull;
}

void AddSystemFolder(ProductPlaces* places, const char* path) {
  if (path[0] == '\0' || places->system_count >= kSystemFolders) return;
  if (NormalForm(path, places->system[places->system_count], kPathSize)) ++places->system_count;
}

// Joins a folder, a backslash and a name; false when it does not fit.
bool Join(char* buffer, std::size_t size, const char* folder, const char* name) {
  setup::CopyText(buffer, size, folder);
  setup::EnsureTrailingBackslash(buffer, size);
  std::size_t wanted = std::strlen(buffer) + std::strlen(name);
  return setup::AppendText(buffer, size, name) == wanted;
}

bool IsSystemFolderOrHolder(const ProductPlaces& places, const char* normal) {
  for (int i = 0; i < places.system_count; ++i) {
    if (setup::SamePath(normal, places.system[i]) || PathInside(places.system[i], normal))
      return true;
  }
  return false;
}

// A junction or symbolic link among the folders between `root` and the
// entry (the entry itself not counted).
bool CrossesLink(const char* root, const char* normal) {
  char folder[kPathSize];
  if (!ParentOf(normal, folder, sizeof folder)) return false;
  while (PathInside(folder, root)) {
    platform::FoundEntry entry;
    platform::Search search = platform::FindFirstEntry(folder, &entry);
    if (search != 0) {
      platform::EndSearch(search);
      if (entry.attributes & platform::kReparsePointAttribute) return true;
    }
    if (!ParentOf(folder, folder, sizeof folder)) break;
  }
  return false;
}

// Judges the text and finds the normal form; Allowed when both are fine.
Verdict Prepare(const char* path, bool allow_pattern, char* normal) {
  Verdict verdict = FromFault(CheckPathText(path, allow_pattern));
  if (verdict != Verdict::Allowed) return verdict;
  return NormalForm(path, normal, kPathSize) ? Verdict::Allowed : Verdict::TooLong;
}

}  // namespace

bool FindProductPlaces(const char* install_folder, const char* group_name, ProductPlaces* places,
                       Verdict* install_verdict) {
  std::memset(places, 0, sizeof *places);
  char folder[kPathSize];
  char windows[kPathSize];
  if (platform::WindowsDirectory(windows, sizeof windows) > 0) {
    AddSystemFolder(places, windows);
    if (Join(folder, sizeof folder, windows, "SYSTEM")) AddSystemFolder(places, folder);
    if (Join(folder, sizeof folder, windows, "SYSTEM32")) AddSystemFolder(places, folder);
  }
  if (platform::TemporaryDirectory(folder, sizeof folder) > 0) AddSystemFolder(places, folder);
  char programs[kProgramsFolders][512];
  setup::GetCommonProgramsFolder(programs[0], sizeof programs[0]);
  setup::GetProgramsFolder(programs[1], sizeof programs[1]);
  for (const char* each : programs) {
    if (std::strlen(each) < kPathSize) AddSystemFolder(places, each);
  }
  setup::GetQuickLaunchFolder(folder, sizeof folder);
  if (folder[0] != '\0' && CheckPathText(folder, false) == PathFault::None &&
      NormalForm(folder, places->quick_launch, kPathSize))
    AddSystemFolder(places, folder);

  *install_verdict = Prepare(install_folder, false, places->install);
  if (*install_verdict == Verdict::Allowed && IsSystemFolderOrHolder(*places, places->install))
    *install_verdict = Verdict::SystemFolder;
  if (*install_verdict != Verdict::Allowed) {
    places->install[0] = '\0';
    return false;
  }

  // Only a name that names a direct child of a Programs folder.
  if (setup::GroupNameIsSafe(group_name)) {
    for (const char* each : programs) {
      char group[kPathSize];
      if (each[0] == '\0' || !Join(group, sizeof group, each, group_name)) continue;
      if (NormalForm(group, places->groups[places->group_count], kPathSize)) ++places->group_count;
    }
  }
  return true;
}

Verdict JudgeFile(const ProductPlaces& places, const char* path, char* normal) {
  Verdict verdict = Prepare(path, false, normal);
  if (verdict != Verdict::Allowed) return verdict;
  const char* root = nullptr;
  if (PathInside(normal, places.install)) root = places.install;
  for (int i = 0; root == nullptr && i < places.group_count; ++i) {
    if (PathInside(normal, places.groups[i])) root = places.groups[i];
  }
  if (root == nullptr) return Verdict::Elsewhere;
  return CrossesLink(root, normal) ? Verdict::ThroughLink : Verdict::Allowed;
}

Verdict JudgeDirectory(const ProductPlaces& places, const char* path, char* normal) {
  Verdict verdict = Prepare(path, false, normal);
  if (verdict != Verdict::Allowed) return verdict;
  if (IsSystemFolderOrHolder(places, normal)) return Verdict::SystemFolder;
  if (setup::SamePath(normal, places.install)) return Verdict::Allowed;
  if (PathInside(normal, places.install))
    return CrossesLink(places.install, normal) ? Verdict::ThroughLink : Verdict::Allowed;
  for (int i = 0; i < places.group_count; ++i) {
    if (setup::SamePath(normal, places.groups[i])) return Verdict::Allowed;
    if (PathInside(normal, places.groups[i]))
      return CrossesLink(places.groups[i], normal) ? Verdict::ThroughLink : Verdict::Allowed;
  }
  // A folder setup made on the way to the install folder.
  if (PathInside(places.install, normal)) return Verdict::Allowed;
  return Verdict::Elsewhere;
}

Verdict JudgeQuickLaunchLink(const ProductPlaces& places, const char* path, char* normal) {
  Verdict verdict = Prepare(path, false, normal);
  if (verdict != Verdict::Allowed) return verdict;
  if (places.quick_launch[0] == '\0') return Verdict::Elsewhere;
  char folder[kPathSize];
  if (!ParentOf(normal, folder, sizeof folder) || !setup::SamePath(folder, places.quick_launch))
    return Verdict::Elsewhere;
  const char* name = LastComponent(normal);
  std::size_t length = std::strlen(name);
  if (length < 5 || !setup::SameTextIgnoringCase(name + length - 4, ".lnk"))
    return Verdict::Elsewhere;
  return Verdict::Allowed;
}

bool IsCachePattern(const ProductPlaces& places, const char* path) {
  if (CheckPathText(path, true) != PathFault::None) return false;
  char normal[kPathSize];
  char expected[kPathSize];
  if (!NormalForm(path, normal, sizeof normal) ||
      !Join(expected, sizeof expected, places.install, setup::kCachePattern))
    return false;
  return setup::SamePath(normal, expected);
}

}  // namespace uninstall
