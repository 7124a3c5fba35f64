// Path text rules and normal forms (see path_rules.h).
#include "core/path_rules.h"

#include <cstring>

#include "driver/text.h"
#include "platform/platform.h"

namespace uninstall {

namespace platform = setup::platform;

namespace {

// The lead byte of a double-byte character in the ANSI code page.
bool LeadByte(unsigned char c) {
  switch (platform::AnsiCodePage()) {
    case 932:
      return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 949:
    case 950:
      return c >= 0x81 && c <= 0xFE;
    default:
      return false;
  }
}

// The character after the one at `p` (a lead byte takes its trail byte
// with it, unless the text ends there).
const char* Next(const char* p) {
  if (LeadByte(static_cast<unsigned char>(*p)) && p[1] != '\0') return p + 2;
  return p + 1;
}

// The last backslash of a text, or null; trail bytes are not backslashes.
const char* LastBackslash(const char* text) {
  const char* last = nullptr;
  for (const char* p = text; *p != '\0'; p = Next(p))
    if (*p == '\\') last = p;
  return last;
}

char FoldAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Compares `length` bytes character by character: single bytes fold their
// ASCII case, double-byte characters compare exactly.
bool SameCharacters(const char* a, const char* b, std::size_t length) {
  std::size_t i = 0;
  while (i < length) {
    if (LeadByte(static_cast<unsigned char>(a[i])) && i + 1 < length) {
      if (a[i] != b[i] || a[i + 1] != b[i + 1]) return false;
      i += 2;
      continue;
    }
    if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    ++i;
  }
  return true;
}

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

PathFault CheckPathText(const char* path, bool allow_pattern) {
  std::size_t length = std::strlen(path);
  if (length >= platform::kPathLimit) return PathFault::TooLong;
  if (length < 3 || !IsDriveLetter(path[0]) || path[1] != ':' || path[2] != '\\')
    return PathFault::NotFull;
  if (length == 3) return PathFault::DriveRoot;
  const char* last = LastBackslash(path);
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
    if (LeadByte(c) && p[1] != '\0') continue;  // a double-byte character
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
  const char* last = LastBackslash(work);
  if (last != nullptr && last[1] == '\0') work[last - work] = '\0';
  if (std::strlen(work) == 2 && work[1] == ':') {
    if (size < 3) return false;
    buffer[0] = FoldAscii(work[0]);
    buffer[1] = ':';
    buffer[2] = '\0';
    return true;
  }
  char short_form[platform::kPathLimit];
  if (platform::ShortPathName(work, short_form, sizeof short_form) > 0) {
    const char* end = LastBackslash(short_form);
    if (end != nullptr && end[1] == '\0') short_form[end - short_form] = '\0';
    if (std::strlen(short_form) == 2 && short_form[1] == ':')
      short_form[0] = FoldAscii(short_form[0]);
    return setup::CopyText(buffer, size, short_form) == std::strlen(short_form);
  }
  // Not there (or no short form): the parent's normal form and this name.
  const char* cut = LastBackslash(work);
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

bool SamePath(const char* a, const char* b) {
  std::size_t length = std::strlen(a);
  return length == std::strlen(b) && SameCharacters(a, b, length);
}

bool PathInside(const char* path, const char* folder) {
  std::size_t length = std::strlen(folder);
  if (length == 0 || std::strlen(path) <= length + 1 || path[length] != '\\') return false;
  // The folder must end on a character boundary of the path, too.
  const char* p = path;
  while (static_cast<std::size_t>(p - path) < length) p = Next(p);
  return static_cast<std::size_t>(p - path) == length && SameCharacters(path, folder, length);
}

bool ParentOf(const char* path, char* buffer, std::size_t size) {
  const char* cut = LastBackslash(path);
  if (cut == nullptr || size == 0) return false;
  std::size_t length = static_cast<std::size_t>(cut - path);
  if (length + 1 > size) return false;
  std::memcpy(buffer, path, length);
  buffer[length] = '\0';
  return true;
}

const char* LastComponent(const char* path) {
  const char* cut = LastBackslash(path);
  return cut == nullptr ? path : cut + 1;
}

}  // namespace uninstall
