// The process-wide progress monitor. Like the other hook slots it is a plain
// pointer: one thread at a time installs a monitor and works on images.
#include "pixbase/pixel.h"

namespace {

ProgressMonitor installed_monitor = nullptr;

}  // namespace

extern "C" {

int32_t ReportProgress(int32_t code, const char* text, int32_t position, int32_t span) {
  ProgressMonitor monitor = installed_monitor;
  if (monitor == nullptr) return 1;
  return monitor(code, text, position, span);
}

ProgressMonitor SetProgressMonitor(ProgressMonitor monitor) {
  ProgressMonitor previous = installed_monitor;
  installed_monitor = monitor;
  return previous;
}

}  // extern "C"
