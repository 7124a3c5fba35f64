// Ending the process and the text of the last system error.
#include <cstdlib>
#include <cstring>
#include <string>

#include "pixbase/allocator.h"
#include "pixbase/exceptions.h"
#include "platform/platform.h"
#include "services/raise.h"

extern "C" {

// On the Windows 95 family the process ends at once; elsewhere through exit,
// so that exit handlers run and streams are flushed.
void EndProcess(int code) {
  if (pixbase::platform::IsWindows9x()) pixbase::platform::TerminateProcessNow(code);
  std::exit(code);
}

char* GetSystemErrorText(void) {
  std::string text = pixbase::platform::LastSystemErrorText();
  if (text.empty()) text = "An unknown error occurred";
  auto* copy = static_cast<char*>(AllocateMemory(static_cast<uint32_t>(text.size() + 1)));
  if (copy == nullptr) {
    pixbase::RaiseOutOfMemory("Unable to allocate string");
    return nullptr;
  }
  std::memcpy(copy, text.data(), text.size());
  return copy;
}

}  // extern "C"
