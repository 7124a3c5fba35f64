// Ending the process and the text of the last system error.
#include <cstdlib>
#include <cstring>

#include "pixbase/allocator.h"
#include "pixbase/exceptions.h"
#include "platform/platform.h"
#include "services/raise.h"

namespace {
constexpr char kUnknownError[] = "An unknown error occurred";
}  // namespace

extern "C" {

// On the Windows 95 family the process ends at once; elsewhere through exit,
// so that exit handlers run and streams are flushed.
void EndProcess(int code) {
  if (pixbase::platform::IsWindows9x()) pixbase::platform::TerminateProcessNow(code);
  std::exit(code);
}

// The system's text goes through a fixed buffer: nothing here can throw, so
// exhausted memory ends in the usual report like every other allocation.
char* GetSystemErrorText(void) {
  char system_text[PIXBASE_TEXT_EXTENT];
  const char* text = system_text;
  size_t length = pixbase::platform::LastSystemErrorText(system_text, sizeof system_text);
  if (length == 0) {
    text = kUnknownError;
    length = sizeof kUnknownError - 1;
  }
  auto* copy = static_cast<char*>(AllocateMemory(static_cast<uint32_t>(length + 1)));
  if (copy == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate string");
    return nullptr;
  }
  std::memcpy(copy, text, length);
  return copy;
}

}  // extern "C"
