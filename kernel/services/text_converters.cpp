// Converters that give a text another shape: a wide text with escapes, an
// argument vector, and a list of lines (a hexadecimal dump for binary texts).
//
// When an allocation fails the error is raised; should a client's handler
// return, the operation releases what it has built and returns null, so that
// nothing is ever written into a block that does not exist.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "pixbase/allocator.h"
#include "pixbase/text.h"
#include "services/character_classes.h"
#include "services/raise.h"

namespace {

using pixbase::text::IsSpace;

bool Space(char c) { return IsSpace(static_cast<unsigned char>(c)); }

// A new zero-filled block of `count` items of `size` bytes, or null when it
// cannot be had (too large for the allocator included).
void* AllocateItems(size_t count, size_t size) {
  if (count == 0 || count > UINT32_MAX / size) return nullptr;
  return AllocateMemory(static_cast<uint32_t>(count * size));
}

// A new text holding `length` bytes from `start`, or null.
char* CopyText(const char* start, size_t length) {
  auto* copy = static_cast<char*>(AllocateItems(length + 1, 1));
  if (copy != nullptr) std::memcpy(copy, start, length);
  return copy;
}

// Releases the first `filled` texts of a list and then the list.
void ReleaseTextList(char** list, size_t filled) {
  for (size_t i = 0; i < filled; ++i) ReleaseMemory(&list[i]);
  ReleaseMemory(&list);
}

// --- Argument vectors ------------------------------------------------------

struct Token {
  const char* start;
  size_t length;
  const char* next;  // where the search for the following argument resumes
};

// The token that starts at `p` (neither white space nor the terminator).
// After a quoted token, bytes glued to the closing quote belong to nothing.
Token TakeToken(const char* p) {
  Token token;
  if (*p == '"' || *p == '\'') {
    const char* close = std::strchr(p + 1, *p);
    bool keep_quotes = *p == '\'';
    token.start = keep_quotes ? p : p + 1;
    if (close == nullptr) {
      token.length = std::strlen(token.start);
      token.next = token.start + token.length;
      return token;
    }
    token.length = static_cast<size_t>(close - token.start) + (keep_quotes ? 1 : 0);
    const char* q = close + 1;
    while (*q != '\0' && !Space(*q)) ++q;
    token.next = q;
    return token;
  }
  const char* q = p;
  while (*q != '\0' && !Space(*q)) ++q;
  token.start = p;
  token.length = static_cast<size_t>(q - p);
  token.next = q;
  return token;
}

const char* SkipSpace(const char* p) {
  while (Space(*p)) ++p;
  return p;
}

// --- Lines -----------------------------------------------------------------

constexpr size_t kDumpWidth = 20;  // bytes per line of a hexadecimal dump

// Binary when a byte below 0x20 is not white space.
bool IsBinary(const char* text) {
  for (const char* p = text; *p != '\0'; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (c < 0x20 && !IsSpace(c)) return true;
  }
  return false;
}

// One line of the dump: offset, hexadecimal column of fixed width, blank,
// character column.
void FormatDumpLine(char* line, size_t room, const unsigned char* bytes, size_t count,
                    size_t offset) {
  size_t at = static_cast<size_t>(
      std::snprintf(line, room, "0x%08lx: ", static_cast<unsigned long>(offset)));
  static const char kHex[] = "0123456789abcdef";
  for (size_t k = 1; k <= kDumpWidth; ++k) {
    if (k <= count) {
      line[at++] = kHex[bytes[k - 1] >> 4];
      line[at++] = kHex[bytes[k - 1] & 15];
    } else {
      line[at++] = ' ';
      line[at++] = ' ';
    }
    if (k % 4 == 0) line[at++] = ' ';
  }
  line[at++] = ' ';
  for (size_t k = 0; k < count; ++k)
    line[at++] = pixbase::text::IsPrintable(bytes[k]) ? static_cast<char>(bytes[k]) : '-';
  line[at] = '\0';
}

char** DumpLines(const char* text) {
  size_t length = std::strlen(text);
  size_t lines = length / kDumpWidth + 1;
  auto** list = static_cast<char**>(AllocateItems(lines + 1, sizeof(char*)));
  if (list == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to convert text");
    return nullptr;
  }
  // "0x" + 8 digits + ": " + 45 + 1 + 20 + terminator, with room to spare.
  char line[96];
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < lines; ++i) {
    size_t offset = i * kDumpWidth;
    size_t count = length - offset < kDumpWidth ? length - offset : kDumpWidth;
    FormatDumpLine(line, sizeof(line), bytes + offset, count, offset);
    list[i] = CopyText(line, std::strlen(line));
    if (list[i] == nullptr) {
      pixbase::RaiseOutOfMemory("Unable to convert text");
      ReleaseTextList(list, i);
      return nullptr;
    }
  }
  return list;
}

// A line ends at a line feed, at a carriage return and line feed, or at a
// carriage return alone; the last line is what follows the last end.
char** PlainLines(const char* text) {
  size_t lines = 1;
  for (const char* p = text; *p != '\0'; ++p) lines += *p == '\n' || (*p == '\r' && p[1] != '\n');
  auto** list = static_cast<char**>(AllocateItems(lines + 1, sizeof(char*)));
  if (list == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to convert text to list");
    return nullptr;
  }
  const char* start = text;
  for (size_t i = 0; i < lines; ++i) {
    const char* end = start + std::strcspn(start, "\r\n");
    list[i] = CopyText(start, static_cast<size_t>(end - start));
    if (list[i] == nullptr) {
      pixbase::RaiseOutOfMemory("Unable to convert text to list");
      ReleaseTextList(list, i);
      return nullptr;
    }
    if (*end == '\r' && end[1] == '\n') ++end;
    start = *end == '\0' ? end : end + 1;
  }
  return list;
}

}  // namespace

extern "C" {

uint16_t* WidenText(const char* text, size_t* count) {
  if (count != nullptr) *count = 0;
  if (text == nullptr || *text == '\0') return nullptr;
  size_t length = std::strlen(text);
  auto* wide = static_cast<uint16_t*>(AllocateItems(length + 1, sizeof(uint16_t)));
  if (wide == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to convert text to Unicode");
    return nullptr;
  }
  size_t units = 0;
  for (const char* p = text; *p != '\0';) {
    if (CompareNoCaseCount(p, "\\0x", 3) == 0) {
      uint16_t value = 0;
      for (int i = 3; i < 7; ++i) {
        auto c = static_cast<unsigned char>(p[i]);
        if (!pixbase::text::IsHexDigit(c)) {  // the terminator included
          ReleaseMemory(&wide);
          return nullptr;
        }
        value = static_cast<uint16_t>(value * 16 + pixbase::text::HexValue(c));
      }
      wide[units++] = value;
      p += 7;
    } else {
      wide[units++] = static_cast<unsigned char>(*p++);
    }
  }
  if (count != nullptr) *count = units;
  return wide;
}

char** SplitCommandLine(const char* text, int* count) {
  if (count != nullptr) *count = 0;
  if (text == nullptr) return nullptr;
  size_t arguments = 0;
  for (const char* p = SkipSpace(text); *p != '\0'; p = SkipSpace(TakeToken(p).next)) ++arguments;
  size_t entries = arguments + 1;
  auto** vector = static_cast<char**>(AllocateItems(entries + 1, sizeof(char*)));
  if (vector == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to convert string to argv");
    return nullptr;
  }
  vector[0] = DuplicateString("tessel");
  if (vector[0] == nullptr) {
    ReleaseTextList(vector, 0);
    return nullptr;
  }
  const char* p = text;
  for (size_t i = 1; i < entries; ++i) {
    Token token = TakeToken(SkipSpace(p));
    vector[i] = CopyText(token.start, token.length);
    if (vector[i] == nullptr) {
      pixbase::RaiseOutOfMemory("Unable to convert string to argv");
      ReleaseTextList(vector, i);
      return nullptr;
    }
    p = token.next;
  }
  if (count != nullptr) *count = static_cast<int>(entries);
  return vector;
}

char** SplitTextLines(const char* text) {
  if (text == nullptr) return nullptr;
  return IsBinary(text) ? DumpLines(text) : PlainLines(text);
}

}  // extern "C"
