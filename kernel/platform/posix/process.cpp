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

std::string LastSystemErrorText() {
  int error = errno;
  if (error == 0) return std::string();
  return std::string(std::strerror(error));
}

}  // namespace pixbase::platform
