// Path text rules and normal forms (see path_rules.h).
#include "core/path_rules.h"

#include <cstring>

#include "common/paths.h"
#include "common/text.h"
#include "platform/platform.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {
// Room for any path these helpers compare: longer ones are not product paths.
constexpr std::size_t kPathBuffer = 1024;
}  // namespace

namespace {

const char* Next(const char* p) { return platform::NextCharacter(p); }

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

PathFault CheckPathText(const char* path, bool allow_pattern) {
  std::size_t length = std::strlen(path);
  if (length >= platform::kPathLimit) return PathFault::TooLong;
  if (length < 3 || !IsDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\')
    return PathFault::NotFull;
  if (length == 3) return PathFault::DriveRoot;
  const char* last = setup::FindLastBackslash(path);
  // Components between backslashes: "X:\a\b" or "X:\a\b\".
  const char* component = path + 3;
  for (const char* p = component;; p = Next(p)) {
    if (*p == '\\' || *p == '\0') {
      std::size_t size = static_cast<std::size_t>(p - component);
      if (size == 0) {
        // Only a trailing backslash may end in nothing ("X:\a\"); "X:\a\\b" may not.
        if (!(*p == '\0' && component > path + 3)) return PathFault::NotFull;
      } else if (component[size - 1] == '.' || component[size - 1] == ' ') {
        return PathFault::DotComponent;  // ".", "..", "name." and "name " alike
      }
      if (*p == '\0') break;
      component = p + 1;
      continue;
    }
    unsigned char c = static_cast<unsigned char>(*p);
    if (platform::IsLeadByte(c) && p[1] != '\0') continue;  // a double-byte character
    if (c < 0x20 || std::strchr("/:\"<>|", c) != nullptr) return PathFault::BadCharacter;
    if (c == '*' || c == '?') {
      if (!allow_pattern || (last != nullptr && p < last)) return PathFault::BadCharacter;
    }
  }
  return PathFault::None;
}

bool NormalForm(const char* path, char* buffer, std::size_t size) {
  char work[platform::kPathLimit];
  std::size_t length = std::strlen(path);
  if (length >= sizeof work || size == 0) return false;
  setup::CopyText(work, sizeof work, path);
  // Without its trailing backslash; a root is "X:".
  if (setup::EndsWithBackslash(work)) setup::CutAtLastBackslash(work, false);
  if (std::strlen(work) == 2 && work[1] == ':') {
    if (size < 3) return false;
    buffer[0] = FoldAscii(work[0]);
    buffer[1] = ':';
    buffer[2] = '\0';
    return true;
  }
  char short_form[platform::kPathLimit];
  if (platform::ShortPathName(work, short_form, sizeof short_form) > 0) {
    if (setup::EndsWithBackslash(short_form)) setup::CutAtLastBackslash(short_form, false);
    if (std::strlen(short_form) == 2 && short_form[1] == ':')
      short_form[0] = FoldAscii(short_form[0]);
    return setup::CopyText(buffer, size, short_form) == std::strlen(short_form);
  }
  // Not there (or no short form): the parent's normal form and this name.
  const char* cut = setup::FindLastBackslash(work);
  if (cut == nullptr) return setup::CopyText(buffer, size, work) == std::strlen(work);
  char parent[platform::kPathLimit];
  std::size_t parent_length = static_cast<std::size_t>(cut - work);
  std::memcpy(parent, work, parent_length);
  parent[parent_length] = '\0';
  if (parent_length == 2) setup::AppendText(parent, sizeof parent, "\\");
  if (!NormalForm(parent, buffer, size)) return false;
  std::size_t wanted = std::strlen(buffer) + std::strlen(cut);
  return setup::AppendText(buffer, size, cut) == wanted;
}

bool PathInside(const char* path, const char* folder) {
  std::size_t length = std::strlen(folder);
  if (length == 0 || length >= kPathBuffer || std::strlen(path) <= length + 1) return false;
  // The folder must end on a character boundary of the path, at a backslash.
  const char* p = path;
  while (static_cast<std::size_t>(p - path) < length) p = Next(p);
  if (static_cast<std::size_t>(p - path) != length || *p != '\\') return false;
  char prefix[kPathBuffer];
  std::memcpy(prefix, path, length);
  prefix[length] = '\0';
  return setup::SamePath(prefix, folder);
}

bool ParentOf(const char* path, char* buffer, std::size_t size) {
  // `buffer` may be `path` itself: the cut is found before anything moves.
  const char* cut = setup::FindLastBackslash(path);
  if (cut == nullptr) return false;
  std::size_t length = static_cast<std::size_t>(cut - path);
  if (length + 1 > size) return false;
  std::memmove(buffer, path, length);
  buffer[length] = '\0';
  return true;
}

const char* LastComponent(const char* path) {
  const char* cut = setup::FindLastBackslash(path);
  return cut == nullptr ? path : cut + 1;
}

}  // namespace uninstall
