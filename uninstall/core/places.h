// The product's places and the safety rule over every logged entry.
//
// The uninstaller removes only:
//   - files and folders inside the install folder (UNINSTALLPATH), and the
//     install folder itself;
//   - files inside the program group folder (a direct child of a Programs
//     folder, named by [INSTALL] GROUP), and that folder itself;
//   - the Quick Launch link (FASTLINK): a ".lnk" file directly inside the
//     Quick Launch folder that the registry names;
//   - folders that setup created on the way to the install folder (logged
//     ancestors of it), when empty, but never a drive root or a folder of
//     the system (the Windows, system and temporary folders, the Programs
//     and Quick Launch folders, or one holding any of them).
// An entry reached through a junction or symbolic link below one of these
// places is refused too: it would lead somewhere else.
#ifndef LUMAVIEW_UNINSTALL_PLACES_H
#define LUMAVIEW_UNINSTALL_PLACES_H

#include <cstddef>

#include "platform/platform.h"

namespace uninstall {

constexpr std::size_t kPathSize = setup::platform::kPathLimit;
constexpr int kProgramsFolders = 2;  // the all-users and the per-user one
constexpr int kSystemFolders = 8;

struct ProductPlaces {
  char install[kPathSize];  // normal forms (see path_rules.h)
  char groups[kProgramsFolders][kPathSize];
  int group_count;
  char quick_launch[kPathSize];  // empty when the registry names none
  char system[kSystemFolders][kPathSize];
  int system_count;
};

// Why an entry is refused; Allowed when it may be removed.
enum class Verdict {
  Allowed,
  NotFull,       // not a full local path
  TooLong,       // beyond the path limit
  DotComponent,  // "." or ".." components, or a trailing dot or space
  BadCharacter,  // refused characters or wildcards
  DriveRoot,     // a drive root
  SystemFolder,  // a folder of the system, or one holding it
  Elsewhere,     // outside the product's places
  ThroughLink,   // reached through a junction or symbolic link
};

// Finds the places from the install folder the log names and the group name;
// false when the install folder itself cannot be used (its verdict then says
// why).
bool FindProductPlaces(const char* install_folder, const char* group_name, ProductPlaces* places,
                       Verdict* install_verdict);

// The verdicts for the three kinds of entries. `normal` receives the entry's
// normal form (kPathSize bytes).
Verdict JudgeFile(const ProductPlaces& places, const char* path, char* normal);
Verdict JudgeDirectory(const ProductPlaces& places, const char* path, char* normal);
Verdict JudgeQuickLaunchLink(const ProductPlaces& places, const char* path, char* normal);
// True when the entry is the viewer's cache pattern: the install folder
// followed by "Cache\*.*".
bool IsCachePattern(const ProductPlaces& places, const char* path);

}  // namespace uninstall

#endif
