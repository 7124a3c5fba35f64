// File-name surgery: giving a name a format's extension and taking the base
// name of a path.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "pixbase/allocator.h"
#include "pixbase/text.h"
#include "services/character_classes.h"
#include "services/raise.h"

namespace {

using pixbase::text::IsSeparator;

constexpr size_t kExtent = PIXBASE_TEXT_EXTENT;

// Copies `text` to `destination`, which has room for `room` bytes, terminator
// included; whatever does not fit is cut.
void CopyCut(char* destination, const char* text, size_t room) {
  if (room == 0) return;
  size_t length = std::strlen(text);
  if (length > room - 1) length = room - 1;
  std::memmove(destination, text, length);
  destination[length] = '\0';
}

}  // namespace

extern "C" {

// The walk goes back from the last byte: a separator ends it (from the last
// byte down to the third), and a dot before the current byte (from the
// second-to-last down to the second) marks the extension to replace. So a dot
// at the very start or end of the name is no extension dot. Every write stays
// inside the buffer of kExtent bytes; an overlong result is cut.
void SetFileExtension(const char* format, char* file_name) {
  if (format == nullptr || file_name == nullptr || *format == '\0' || *file_name == '\0') return;
  // A buffer that holds no terminator is taken as holding its first bytes.
  const void* end = std::memchr(file_name, '\0', kExtent);
  size_t length =
      end != nullptr ? static_cast<size_t>(static_cast<const char*>(end) - file_name) : kExtent - 1;
  file_name[length] = '\0';
  if (CompareNoCase(file_name, "-") == 0) {
    std::snprintf(file_name, kExtent, "%.1024s:%.1024s", format, "-");
    return;
  }
  for (char* p = file_name + length - 1; p > file_name + 1; --p) {
    if (IsSeparator(*p)) break;
    if (p[-1] == '.') {
      CopyCut(p, format, kExtent - static_cast<size_t>(p - file_name));
      return;
    }
  }
  if (length + 1 < kExtent) {
    file_name[length] = '.';
    CopyCut(file_name + length + 1, format, kExtent - length - 1);
  }
}

char* ExtractBaseName(const char* path) {
  if (path == nullptr) return nullptr;
  size_t length = std::strlen(path);
  char* base = nullptr;
  if (length < UINT32_MAX)
    base = static_cast<char*>(AllocateMemory(static_cast<uint32_t>(length + 1)));
  if (base == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate string");
    return nullptr;
  }
  std::memcpy(base, path, length);
  // A separator or a dot in the first position stays.
  for (size_t i = length; i-- > 1;) {
    if (IsSeparator(base[i])) {
      length -= i + 1;
      std::memmove(base, base + i + 1, length + 1);
      break;
    }
  }
  for (size_t i = length; i-- > 1;) {
    if (base[i] == '.') {
      base[i] = '\0';
      break;
    }
  }
  return base;
}

}  // extern "C"
