// Process services on POSIX. There is no Windows 95 family; message boxes
// fall back to the standard error stream, captioned; the last system error is
// the thread's errno.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/platform.h"

namespace pixbase::platform {

bool IsWindows9x() { return false; }

void TerminateProcessNow(int code) { _exit(code); }

void ShowMessageBox(const char* text, const char* caption, BoxIcon /*icon*/) {
  std::fprintf(stderr, "%s\n%s", caption, text);
  std::fflush(stderr);
}

size_t LastSystemErrorText(char* text, size_t size) {
  int error = errno;
  if (error == 0 || size == 0) return 0;
  const char* system_text = std::strerror(error);
  size_t length = strnlen(system_text, size - 1);
  std::memcpy(text, system_text, length);
  text[length] = '\0';
  return length;
}

}  // namespace pixbase::platform
