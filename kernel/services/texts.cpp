// Texts in holders, formatted printing, comparison without regard to case,
// case conversion, counting and trimming.
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "pixbase/allocator.h"
#include "pixbase/text.h"
#include "services/character_classes.h"
#include "services/raise.h"

namespace {

using pixbase::text::ToLower;
using pixbase::text::ToUpper;

// Room left after the copy, so that short additions fit in place.
constexpr size_t kDuplicateSlack = 256;

// A byte as the comparison sees it: a signed 8-bit value, in upper case.
int UpperSigned(char c) { return ToUpper(static_cast<signed char>(c)); }

int CompareUpTo(const char* a, const char* b, int count) {
  if (a == b) return 0;
  if (b == nullptr) return 1;
  if (a == nullptr) return -1;
  for (int i = 0; count < 1 || i < count; ++i) {
    int difference = UpperSigned(a[i]) - UpperSigned(b[i]);
    if (difference != 0 || a[i] == '\0' || b[i] == '\0') return difference;
  }
  return 0;
}

}  // namespace

extern "C" {

char* DuplicateString(const char* text) {
  if (text == nullptr) return nullptr;
  size_t length = std::strlen(text);
  char* copy = nullptr;
  if (length <= UINT32_MAX - kDuplicateSlack)
    copy = static_cast<char*>(AllocateMemory(static_cast<uint32_t>(length + kDuplicateSlack)));
  if (copy == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate string");
    return nullptr;
  }
  std::memcpy(copy, text, length);
  return copy;
}

// The copy is made before the old text goes, so that a holder may be assigned
// (a part of) its own text.
int AssignString(char** holder, const char* text) {
  if (holder == nullptr) return 0;
  char* copy = DuplicateString(text);
  ReleaseMemory(holder);
  *holder = copy;
  return text == nullptr || copy != nullptr ? 1 : 0;
}

int AppendString(char** holder, const char* text) {
  if (holder == nullptr) return 0;
  if (text == nullptr) return 1;
  size_t held = *holder == nullptr ? 0 : std::strlen(*holder);
  size_t added = std::strlen(text);
  // The text to append may lie inside the held block, which can move.
  bool inside = *holder != nullptr && text >= *holder && text <= *holder + held;
  size_t offset = inside ? static_cast<size_t>(text - *holder) : 0;
  void* grown = nullptr;
  if (held + added < UINT32_MAX)
    grown = ResizeMemory(holder, static_cast<uint32_t>(held + added + 1));
  if (grown == nullptr) {
    ReleaseMemory(holder);
    pixbase::RaiseOutOfMemory("Unable to concatenate string");
    return 0;
  }
  if (inside) text = *holder + offset;
  std::memmove(*holder + held, text, added);
  (*holder)[held + added] = '\0';
  return 1;
}

int PrintToBuffer(char* buffer, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  int written = std::vsprintf(buffer, format, arguments);
  va_end(arguments);
  return written;
}

int CompareNoCase(const char* a, const char* b) { return CompareUpTo(a, b, 0); }

int CompareNoCaseCount(const char* a, const char* b, int count) { return CompareUpTo(a, b, count); }

void LowerCaseText(char* text) {
  if (text == nullptr) return;
  for (; *text != '\0'; ++text)
    *text = static_cast<char>(ToLower(static_cast<unsigned char>(*text)));
}

void UpperCaseText(char* text) {
  if (text == nullptr) return;
  for (; *text != '\0'; ++text)
    *text = static_cast<char>(ToUpper(static_cast<unsigned char>(*text)));
}

int CountTextLines(const char* text) {
  if (text == nullptr) return 0;
  int lines = 1;
  for (; *text != '\0'; ++text) lines += *text == '\n';
  return lines;
}

void TrimText(char* text) {
  if (text == nullptr || *text == '\0') return;
  const char* start = text;
  while (pixbase::text::IsSpace(static_cast<unsigned char>(*start))) ++start;
  size_t length = std::strlen(start);
  while (length > 0 && pixbase::text::IsSpace(static_cast<unsigned char>(start[length - 1])))
    --length;
  std::memmove(text, start, length);
  text[length] = '\0';
}

}  // extern "C"
