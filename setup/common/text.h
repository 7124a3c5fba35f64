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
// Replaces every "%s" of `format` by `text`, cut to the buffer.
void FormatWithText(char* target, std::size_t size, const char* format, const char* text);

// Case-blind comparison of words that are not paths (command-line options,
// file names): the comparison of SamePath (common/paths.h), which folds
// ASCII letters and steps over double-byte characters.
bool SameTextIgnoringCase(const char* a, const char* b);

}  // namespace setup

#endif
