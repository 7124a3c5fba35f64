// Bounded text helpers (see text.h).
#include "common/text.h"

#include <cstring>

#include "common/paths.h"

namespace setup {

std::size_t CopyText(char* target, std::size_t size, const char* source) {
  if (size == 0) return 0;
  target[0] = '\0';
  return AppendText(target, size, source);
}

std::size_t AppendText(char* target, std::size_t size, const char* source) {
  if (size == 0) return 0;
  std::size_t length = 0;
  while (length + 1 < size && target[length] != '\0') ++length;
  while (*source != '\0' && length + 1 < size) target[length++] = *source++;
  target[length] = '\0';
  return length;
}

void FormatWithText(char* target, std::size_t size, const char* format, const char* text) {
  if (size == 0) return;
  target[0] = '\0';
  const char* rest = format;
  while (*rest != '\0') {
    const char* mark = std::strstr(rest, "%s");
    std::size_t run = mark == nullptr ? std::strlen(rest) : static_cast<std::size_t>(mark - rest);
    std::size_t length = std::strlen(target);
    std::size_t take = run < size - 1 - length ? run : size - 1 - length;
    std::memcpy(target + length, rest, take);
    target[length + take] = '\0';
    if (mark == nullptr) break;
    AppendText(target, size, text);
    rest = mark + 2;
  }
}

bool SameTextIgnoringCase(const char* a, const char* b) { return SamePath(a, b); }

}  // namespace setup
