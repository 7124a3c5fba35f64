// Exception reporting: the two handler slots, raising, and the handlers the
// library supplies (console handlers installed at load, message-box handlers
// for windowed clients).
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "pixbase/exceptions.h"
#include "pixbase/streams.h"
#include "platform/platform.h"
#ifdef PIXBASE_TEST_HOOKS
#include "services/test_hooks.h"
#endif

namespace {

void ConsoleErrorHandler(ExceptionSeverity severity, const char* reason, const char* description);
void ConsoleWarningHandler(ExceptionSeverity severity, const char* reason, const char* description);

ExceptionHandler g_error_handler = ConsoleErrorHandler;
ExceptionHandler g_warning_handler = ConsoleWarningHandler;

// Writes "<client>: <reason>[ (<description>)][ [<system text>]].\n" to the
// standard error stream; the system text is left out for `quiet_severity`.
void WriteConsoleMessage(ExceptionSeverity severity, const char* reason, const char* description,
                         ExceptionSeverity quiet_severity) {
  PrintFileStream(stderr, "%.1024s: %.1024s", UpdateClientName(nullptr), reason);
  if (description != nullptr) PrintFileStream(stderr, " (%.1024s)", description);
  if (severity != quiet_severity && errno != 0)
    PrintFileStream(stderr, " [%.1024s]", std::strerror(errno));
  PrintFileStream(stderr, ".\n");
}

void ConsoleErrorHandler(ExceptionSeverity severity, const char* reason, const char* description) {
  if (reason != nullptr) WriteConsoleMessage(severity, reason, description, QuietError);
  EndProcess(severity);
}

void ConsoleWarningHandler(ExceptionSeverity severity, const char* reason,
                           const char* description) {
  if (reason == nullptr) return;
  WriteConsoleMessage(severity, reason, description, QuietWarning);
}

// Four inserted texts of at most 1024 characters and their punctuation.
constexpr size_t kBoxTextSize = 4 * 1024 + 32;

void ShowBox(const char* text, const char* caption, pixbase::platform::BoxIcon icon) {
#ifdef PIXBASE_TEST_HOOKS
  if (auto observer = pixbase::testing::MessageBoxObserverInstalled()) {
    observer(text, caption);
    return;
  }
#endif
  pixbase::platform::ShowMessageBox(text, caption, icon);
}

}  // namespace

extern "C" {

void RaiseError(ExceptionSeverity severity, const char* reason, const char* description) {
  if (g_error_handler != nullptr) g_error_handler(severity, reason, description);
  errno = 0;  // the next report must not carry a stale system error text
}

void RaiseWarning(ExceptionSeverity severity, const char* reason, const char* description) {
  if (g_warning_handler != nullptr) g_warning_handler(severity, reason, description);
}

ExceptionHandler InstallErrorHandler(ExceptionHandler handler) {
  ExceptionHandler previous = g_error_handler;
  g_error_handler = handler;
  return previous;
}

ExceptionHandler InstallWarningHandler(ExceptionHandler handler) {
  ExceptionHandler previous = g_warning_handler;
  g_warning_handler = handler;
  return previous;
}

// Ends the process with the severity as exit code, as the console handler
// does: an error must not reach the system as a successful exit.
void ShowErrorBox(ExceptionSeverity severity, const char* reason, const char* description) {
  if (reason == nullptr) EndProcess(severity);
  char text[kBoxTextSize];
  const char* client = UpdateClientName(nullptr);
  bool system_text = errno != 0;
  if (description != nullptr && system_text)
    std::snprintf(text, sizeof text, "%.1024s: %.1024s (%.1024s) [%.1024s].\n", client, reason,
                  description, std::strerror(errno));
  else if (description != nullptr)
    std::snprintf(text, sizeof text, "%.1024s: %.1024s (%.1024s).\n", client, reason, description);
  else if (system_text)
    std::snprintf(text, sizeof text, "%.1024s: %.1024s [%.1024s].\n", client, reason,
                  std::strerror(errno));
  else
    std::snprintf(text, sizeof text, "%.1024s: %.1024s.\n", client, reason);
  ShowBox(text, "Tesselworks Exception", pixbase::platform::BoxIcon::Exclamation);
  EndProcess(severity);
}

void ShowWarningBox(ExceptionSeverity /*severity*/, const char* reason, const char* description) {
  if (reason == nullptr) return;
  char text[kBoxTextSize];
  const char* client = UpdateClientName(nullptr);
  if (description != nullptr)
    std::snprintf(text, sizeof text, "%.1024s: %.1024s (%.1024s).\n", client, reason, description);
  else
    std::snprintf(text, sizeof text, "%.1024s: %.1024s.\n", client, reason);
  ShowBox(text, "Tesselworks Warning", pixbase::platform::BoxIcon::Information);
}

}  // extern "C"
