// Bounded text helpers: every fixed buffer of setup is filled through these,
// so an overlong text is cut, never written past the buffer's end.
#ifndef LUMAVIEW_SETUP_TEXT_H
#define LUMAVIEW_SETUP_TEXT_H

#include <cstddef>

namespace setup {

// Copies `source` into `target` (of `size` bytes), cut to `size` - 1 bytes.
// Returns the length stored.
std::size_t CopyText(char* target, std::size_t size, const char* source);
// Appends, cut to what fits. Returns the new length.
std::size_t AppendText(char* target, std::size_t size, const char* source);
// Appends a backslash unless the text is empty or already ends with one.
void EnsureTrailingBackslash(char* target, std::size_t size);
bool EndsWithBackslash(const char* text);
// Replaces every "%s" of `format` by `text`, cut to the buffer.
void FormatWithText(char* target, std::size_t size, const char* format, const char* text);
// Case-blind comparison of ANSI texts (ASCII letters fold).
bool SameTextIgnoringCase(const char* a, const char* b);

}  // namespace setup

#endif
