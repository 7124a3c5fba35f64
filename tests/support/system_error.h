// What the system keeps of errors and exit codes, as tests need to set and read them.
#ifndef LUMAVIEW_TESTS_SYSTEM_ERROR_H
#define LUMAVIEW_TESTS_SYSTEM_ERROR_H

namespace lumaview::testing {

// A code for which the system has no text.
void SetLastSystemErrorWithoutText();
// A code for which the system has a text (file not found).
void SetLastSystemErrorFileNotFound();

// The status a parent sees when a process exits with `code` (POSIX keeps
// only the low eight bits, Windows the whole value).
int ExitStatusFor(int code);

}  // namespace lumaview::testing

#endif
