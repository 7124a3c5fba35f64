// Paths read from the uninstall log, judged as text and brought to one form.
//
// The log is plain text that anyone can edit, so a path is used only when it
// is a full path of a local drive ("X:\" and components), with no "." or ".."
// component, no component the system would silently change (a trailing dot
// or space) and no character the system refuses or takes as a wildcard.
// Paths are walked in the ANSI code page: the second byte of a double-byte
// character is never taken for a backslash.
//
// Paths are compared in their normal form: the short (8.3) form of the
// longest part that exists, followed by the rest as written, without a
// trailing backslash (a drive root is "X:"). Setup logs long forms but
// records the install folder in its short form; the normal form makes them
// comparable.
#ifndef LUMAVIEW_UNINSTALL_PATH_RULES_H
#define LUMAVIEW_UNINSTALL_PATH_RULES_H

#include <cstddef>

namespace uninstall {

enum class PathFault {
  None,
  NotFull,       // not "X:\..." (relative, a network path, a device name)
  TooLong,       // does not fit the system's path limit
  DotComponent,  // a "." or ".." component, or one ending in a dot or space
  BadCharacter,  // a character the system refuses in names, or a wildcard
  DriveRoot,     // the root of a drive itself
};

// Judges a path as text. One trailing backslash is allowed (a directory);
// `allow_pattern` admits "*" and "?" in the last component only.
PathFault CheckPathText(const char* path, bool allow_pattern);

// The normal form of a path (see above); false when it does not fit.
bool NormalForm(const char* path, char* buffer, std::size_t size);

// Normal forms are compared with setup::SamePath (common/paths.h).
// True when `path` lies below `folder` (both normal forms), at any depth.
bool PathInside(const char* path, const char* folder);
// The parent of a normal form (cut at its last backslash, a root stays "X:");
// false when the path has no parent. `buffer` may be `path` itself.
bool ParentOf(const char* path, char* buffer, std::size_t size);
// The last component of a path (after its last backslash).
const char* LastComponent(const char* path);

}  // namespace uninstall

#endif
